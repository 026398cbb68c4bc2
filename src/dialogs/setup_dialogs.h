// Menu Setup (dialog 108) and Application Setup (dialog 107): name a menu,
// or fill in an application entry, for the editor.
#ifndef ZENTOR_SETUP_DIALOGS_H
#define ZENTOR_SETUP_DIALOGS_H

#include <stdint.h>
#include <windows.h>

#include "../menus/menu_list.h"

// What the editor asks of a setup dialog; the dialog releases it.
struct SetupRequest {
    AppNode* app;   // the entry to edit, or the entry a new one follows
    MenuNode* menu; // the menu to rename or that a new menu follows; the entry's menu
    int32_t isNew;  // 1: make a new record; 0: edit the given one
};

INT_PTR CALLBACK menuSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK appSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
