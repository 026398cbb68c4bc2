#include "menu_bar.h"

#include <stdlib.h>
#include <string.h>

#include "../app/app.h"
#include "../bar/bar_window.h"
#include "../../res/resource.h"

HMENU menuBar = nullptr;
CommandMapEntry* commandMap = nullptr;
PopupEntry* popupList = nullptr;

static int isBarCommand(int32_t id)
{
    return id == CMD_OPTIONS || id == CMD_EDIT_MENUS || id == CMD_INFO || id == CMD_EXIT;
}

int32_t preferredCommandId(int k, int i)
{
    // Up to the 100th item, 100 * k + i meets no other item's id: the 100th
    // gets 100 * (k + 1), and the next menu's items begin one above that.
    if (k < 1 || i < 1 || i > 100)
        return 0;
    int32_t id = 100 * k + i;
    if (id > MAX_COMMAND_ID || isBarCommand(id))
        return 0;
    return id;
}

// Ids for the items whose 100 * k + i is not usable: the lowest ids that no
// preferred id and no bar command takes.
struct IdPool {
    uint8_t used[(MAX_COMMAND_ID + 1) / 8];
    int32_t nextFree;
};

static void markUsed(IdPool* pool, int32_t id)
{
    pool->used[id / 8] |= (uint8_t)(1u << (id % 8));
}

static int isUsed(const IdPool* pool, int32_t id)
{
    return pool->used[id / 8] & (1u << (id % 8));
}

static int32_t takeFreeId(IdPool* pool)
{
    while (pool->nextFree <= MAX_COMMAND_ID) {
        int32_t id = pool->nextFree++;
        if (!isUsed(pool, id)) {
            markUsed(pool, id);
            return id;
        }
    }
    return 0;
}

// Marks the ids the items take by their places; returns the number of items.
static size_t fillPool(IdPool* pool)
{
    memset(pool->used, 0, sizeof pool->used);
    pool->nextFree = 1;
    markUsed(pool, 0);
    markUsed(pool, CMD_OPTIONS);
    markUsed(pool, CMD_EDIT_MENUS);
    markUsed(pool, CMD_INFO);
    markUsed(pool, CMD_EXIT);
    size_t items = 0;
    int k = 1;
    for (MenuNode* m = menuList; m; m = m->next, k++) {
        int i = 1;
        for (AppNode* a = m->firstApp; a; a = a->next, i++, items++) {
            int32_t id = preferredCommandId(k, i);
            if (id)
                markUsed(pool, id);
        }
    }
    return items;
}

static void* allocEntry(size_t size)
{
    void* entry = calloc(1, size);
    if (!entry)
        fatalError("Could not create menus!");
    return entry;
}

// The map's entries, all in one block: a large menu file has tens of
// thousands, and taking each from the heap on its own would cost a rebuild
// more than everything else it does apart from the menu bar's layout.
static CommandMapEntry* mapBlock = nullptr;

void clearMenuMaps()
{
    free(mapBlock);
    mapBlock = nullptr;
    commandMap = nullptr;

    PopupEntry* p = popupList;
    while (p) {
        PopupEntry* next = p->next;
        DeleteMenu(menuBar, 0, MF_BYPOSITION);
        free(p);
        p = next;
    }
    popupList = nullptr;
}

// The popups are filled only when they first open: a user sees one at a
// time, and with hundreds of menus making every item would cost the start-up
// and each OK of the editor most of their time. The command map is made
// whole here, so every id is found whether its popup was opened or not.
void rebuildMenuBar()
{
    if (menuBar)
        DestroyMenu(menuBar);
    clearMenuMaps();
    menuBar = CreateMenu();
    SetMenu(barWindow, menuBar);

    IdPool* pool = (IdPool*)allocEntry(sizeof(IdPool));
    size_t items = fillPool(pool);
    if (items)
        mapBlock = (CommandMapEntry*)allocEntry(items * sizeof(CommandMapEntry));
    size_t used = 0;

    PopupEntry* lastPopup = nullptr;
    CommandMapEntry* lastEntry = nullptr;
    int k = 1;
    for (MenuNode* m = menuList; m; m = m->next, k++) {
        HMENU popup = CreateMenu();
        if (!popup)
            fatalError("Could not create menus!");
        PopupEntry* p = (PopupEntry*)allocEntry(sizeof(PopupEntry));
        p->popup = popup;
        p->menu = m;
        if (lastPopup)
            lastPopup->next = p;
        else
            popupList = p;
        lastPopup = p;

        int i = 1;
        for (AppNode* a = m->firstApp; a; a = a->next, i++) {
            int32_t id = preferredCommandId(k, i);
            if (!id)
                id = takeFreeId(pool);
            if (!id)
                continue; // every id WM_COMMAND can carry is taken
            CommandMapEntry* c = &mapBlock[used++];
            c->id = id;
            c->app = a;
            if (lastEntry)
                lastEntry->next = c;
            else
                commandMap = c;
            lastEntry = c;
            if (!p->firstCommand)
                p->firstCommand = c;
        }
        // Position k - 1 is the end of the k - 1 popups already in the bar.
        InsertMenuA(menuBar, (UINT)(k - 1), MF_BYPOSITION | MF_POPUP, (UINT_PTR)popup, m->name);
    }
    free(pool);
    DrawMenuBar(barWindow);
}

// The menu's items in order, each with the id the map gave it; an item the
// map holds no id for stays out, its separator with it.
static void fillPopup(PopupEntry* p)
{
    CommandMapEntry* c = p->firstCommand;
    for (AppNode* a = p->menu->firstApp; a && c; a = a->next) {
        if (c->app != a)
            continue;
        if (a->separatorBefore)
            AppendMenuA(p->popup, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(p->popup, MF_STRING, (UINT_PTR)c->id, a->name);
        c = c->next;
    }
    p->filled = 1;
}

void fillBarPopup(HMENU popup)
{
    for (PopupEntry* p = popupList; p; p = p->next) {
        if (p->popup == popup) {
            if (!p->filled)
                fillPopup(p);
            return;
        }
    }
}

AppNode* findCommandApp(int32_t id)
{
    for (CommandMapEntry* c = commandMap; c; c = c->next)
        if (c->id == id)
            return c->app;
    return nullptr;
}
