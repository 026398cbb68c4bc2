// Resource identifiers shared by zentor.rc and the sources.
// Kept free of C++ so the resource compiler can read it too.
#ifndef ZENTOR_RESOURCE_H
#define ZENTOR_RESOURCE_H

// Dialogs
#define IDD_OPTIONS        101
#define IDD_ABOUT          104
#define IDD_MENU_EDITOR    106
#define IDD_MENU_SETUP     107
#define IDD_APP_SETUP      108

// Menus
#define IDM_BAR_POPUP      105

// Icons
#define IDI_ZENTOR         102

// Commands of the bar's right-click menu
#define CMD_OPTIONS        40001
#define CMD_EDIT_MENUS     40004
#define CMD_INFO           40005
#define CMD_EXIT           40006

#endif
