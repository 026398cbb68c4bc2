// The bar's menu bar, built from menuList, and the map from command ids to
// the application items they launch.
#ifndef ZENTOR_MENU_BAR_H
#define ZENTOR_MENU_BAR_H

#include <stdint.h>
#include <windows.h>

#include "menu_list.h"

struct CommandMapEntry {
    int32_t id;
    AppNode* app;
    CommandMapEntry* next;
};

struct PopupEntry {
    HMENU popup;
    MenuNode* menu;
    PopupEntry* next;
};

extern HMENU menuBar;               // the bar window's menu bar
extern CommandMapEntry* commandMap; // one entry per item, in menu-bar order
extern PopupEntry* popupList;       // one entry per popup, left to right

// Highest id WM_COMMAND can carry.
constexpr int32_t MAX_COMMAND_ID = 65535;

void rebuildMenuBar();
void clearMenuMaps();
AppNode* findCommandApp(int32_t id);

// The command id of the i-th item (from 1) of the k-th menu (from 1) when
// 100 * k + i is unique and usable; 0 when the item needs another id.
int32_t preferredCommandId(int k, int i);

#endif
