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
    CommandMapEntry* firstCommand; // the map entry of the menu's first item; null: none
    int filled;                    // 1 once the popup holds its items
    int itemCount;                 // the menu's items at the last rebuild
    int folderVersion;             // folderEntriesVersion() when it was filled
    int look;                      // popupLook when it was filled
    char title[MENU_NAME_SIZE];    // the title the bar shows for it
};

extern HMENU menuBar;               // the bar window's menu bar
extern CommandMapEntry* commandMap; // one entry per item, in menu-bar order, once made
extern PopupEntry* popupList;       // one entry per popup, left to right

// Highest id WM_COMMAND can carry.
constexpr int32_t MAX_COMMAND_ID = 65535;

// Makes the menu bar with one empty popup per menu; the command map is made
// when first needed. A bar that already shows the menus' titles is kept, its
// popups emptied.
// Returns 1 when the bar got a new menu bar, which repaints the bar's frame;
// 0 when it kept the one it had, and nothing on it changed.
int rebuildMenuBar();
void clearMenuMaps();
// Makes the command map for the popups of the last rebuild, unless made.
void makeCommandMap();
AppNode* findCommandApp(int32_t id);
// Fills one of the bar's popups with its items the first time it opens after
// a rebuild (WM_INITMENUPOPUP), and a folder menu each time it opens; any
// other menu is left alone.
void fillBarPopup(HMENU popup);
// Empties the popups that were filled, to be filled anew when they next
// open (with or without icons, as they are now). No menu may be open.
void emptyBarPopups();
// The popups that were filled are filled anew when they next open: for
// when a menu may be open now, whose items must not go from under it.
void refillBarPopupsAtNextOpening();

// Ids that no item of the bar's menus and no bar command takes, for the items
// of folder menus, from those the command map left; 0 when none is left.
// Every one goes back when the menus are rebuilt.
int32_t takeSpareId();
void giveBackSpareId(int32_t id);

// The command id of the i-th item (from 1) of the k-th menu (from 1) when
// 100 * k + i is unique and usable; 0 when the item needs another id.
int32_t preferredCommandId(int k, int i);

#endif
