// The user's menus and their application items, as doubly linked lists of
// fixed-size records. Their order is the order of the menu bar, the editor's
// list boxes and the data file.
#ifndef ZENTOR_MENU_LIST_H
#define ZENTOR_MENU_LIST_H

#include <stdint.h>

constexpr int MENU_NAME_SIZE = 30;
constexpr int APP_PATH_SIZE = 80;
constexpr int APP_DIR_SIZE = 80;
constexpr int APP_PARAMS_SIZE = 90;
constexpr int APP_NAME_SIZE = 30;

// Text of a separator line in the editor; findApp never finds it.
constexpr const char* SEPARATOR_TEXT = "-------";

struct AppNode;

struct MenuNode {
    char name[MENU_NAME_SIZE];
    uint8_t reserved[2]; // bytes 30 and 31 of the file record, carried through unchanged
    int32_t appCount;   // number of records reachable from firstApp
    MenuNode* next;
    MenuNode* prev;
    AppNode* firstApp;
};

struct AppNode {
    char path[APP_PATH_SIZE];
    char workingDir[APP_DIR_SIZE];
    char parameters[APP_PARAMS_SIZE];
    char name[APP_NAME_SIZE];
    int32_t showCommand;     // 9, 3, 6, or 0 (launched as 9)
    int32_t separatorBefore; // nonzero: a separator line stands above this item
    AppNode* next;
    AppNode* prev;
};

extern MenuNode* menuList; // head of the menu list; null when there are no menus

MenuNode* newMenuNode();
AppNode* newAppNode();
// Records whose every byte the caller sets at once (the loader unpacks whole
// file records into them), so they are not zeroed first.
MenuNode* newMenuNodeToFill();
AppNode* newAppNodeToFill();
// Give back a record that is linked nowhere (the loader's unread record).
void releaseMenuNode(MenuNode* m);
void releaseAppNode(AppNode* a);
void unlinkMenu(MenuNode* m);
void unlinkApp(AppNode* a);
void freeApp(AppNode* a);
void freeMenu(MenuNode* m);
void freeAllMenus();
MenuNode* findMenu(const char* text);
AppNode* findApp(AppNode* start, const char* text);
int moveMenu(MenuNode* m, int direction);
int moveApp(AppNode* a, int direction);

// Links m after the last menu (or makes it menuList).
void appendMenu(MenuNode* m);
// Links a after the last application of m (or makes it firstApp) and counts it.
void appendApp(MenuNode* m, AppNode* a);

#endif
