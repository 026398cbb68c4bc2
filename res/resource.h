// Resource identifiers shared by zentor.rc and the sources.
// Kept free of C++ so the resource compiler can read it too.
#ifndef ZENTOR_RESOURCE_H
#define ZENTOR_RESOURCE_H

// Dialogs
#define IDD_OPTIONS        101
#define IDD_ABOUT          104
#define IDD_MENU_EDITOR    106
#define IDD_APP_SETUP      107
#define IDD_MENU_SETUP     108

// Menus
#define IDM_BAR_POPUP      105

// Icons
#define IDI_ZENTOR              102
#define IDI_EMBLEM              110
#define IDI_ARROW_UP            114
#define IDI_ARROW_DOWN          115
#define IDI_ARROW_DOWN_PRESSED  116
#define IDI_ARROW_UP_PRESSED    117

// Commands of the bar's right-click menu
#define CMD_OPTIONS        40001
#define CMD_EDIT_MENUS     40004
#define CMD_INFO           40005
#define CMD_EXIT           40006

// User Menus (106)
#define IDC_APP_LIST       1002
#define IDC_MENU_LIST      1004
#define IDC_NEW_MENU       1007
#define IDC_NEW_APP        1008
#define IDC_DELETE_MENU    1011
#define IDC_DELETE_ITEM    1012
#define IDC_MENU_UP        1028
#define IDC_MENU_DOWN      1029
#define IDC_APP_UP         1030
#define IDC_APP_DOWN       1031
#define IDC_SEPARATOR      1033

// Menu Setup (108)
#define IDC_MENU_NAME      1015

// Application Setup (107)
#define IDC_APP_DIR        1009
#define IDC_APP_NAME       1010
#define IDC_APP_PARAMS     1013
#define IDC_APP_PATH       1014
#define IDC_APP_FIND       1030
#define IDC_SHOW_NORMAL    1041
#define IDC_SHOW_MAXIMIZE  1042
#define IDC_SHOW_MINIMIZE  1043

// Zentor Options (101)
#define IDC_ALWAYS_ON_TOP  1000
#define IDC_CHIME          1001
#define IDC_WAV_FILE       1003
#define IDC_WAV_FIND       1031
#define IDC_AUTO_HIDE      1032
#define IDC_WAV_TEST       1034
#define IDC_DISPLAY_DATE   1036
#define IDC_DISPLAY_MEMORY 1037
#define IDC_BOTTOM         1038
// Beyond the first options: each stored as a registry value of its own.
#define IDC_SHOW_ICONS     1050
#define IDC_FOLDER_MENUS   1051
#define IDC_MONITOR        1052
#define IDC_HOT_KEY        1053

#endif
