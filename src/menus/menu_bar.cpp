#include "menu_bar.h"

#include <stdlib.h>
#include <string.h>

#include "folder_menus.h"
#include "menu_icons.h"
#include "../app/app.h"
#include "../app/text.h"
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

static void markBarCommands(IdPool* pool)
{
    memset(pool->used, 0, sizeof pool->used);
    pool->nextFree = 1;
    markUsed(pool, 0);
    markUsed(pool, CMD_OPTIONS);
    markUsed(pool, CMD_EDIT_MENUS);
    markUsed(pool, CMD_INFO);
    markUsed(pool, CMD_EXIT);
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

// 1 once the map stands for the popups of the last rebuild.
static int mapMade = 0;

// Raised when the popups' items are to look otherwise (icons began): a popup
// filled before is filled anew at its next opening.
static int popupLook = 0;

// The ids the map took, kept with it: the folder menus take the others.
static IdPool* idPool = nullptr;
// Folder menus take ids from the top down, where the entries' are fewest.
static int32_t spareCursor = MAX_COMMAND_ID - 1;

static void releaseCommandMap()
{
    // The folder menus hold ids of the pool.
    forgetFolderMenus(nullptr);
    free(idPool);
    idPool = nullptr;
    free(mapBlock);
    mapBlock = nullptr;
    commandMap = nullptr;
    mapMade = 0;
}

// 65535 is left out: a 16-bit -1.
int32_t takeSpareId()
{
    makeCommandMap();
    for (int32_t tried = 1; tried < MAX_COMMAND_ID; tried++) {
        int32_t id = spareCursor;
        spareCursor = spareCursor > 1 ? spareCursor - 1 : MAX_COMMAND_ID - 1;
        if (!isUsed(idPool, id)) {
            markUsed(idPool, id);
            return id;
        }
    }
    return 0;
}

void giveBackSpareId(int32_t id)
{
    if (idPool && id > 0 && id <= MAX_COMMAND_ID)
        idPool->used[id / 8] &= (uint8_t)~(1u << (id % 8));
}

void clearMenuMaps()
{
    releaseCommandMap();
    forgetWaitingMenuIcons();

    PopupEntry* p = popupList;
    while (p) {
        PopupEntry* next = p->next;
        DeleteMenu(menuBar, 0, MF_BYPOSITION);
        free(p);
        p = next;
    }
    popupList = nullptr;
}

// True when the bar shows these menus' titles, in this order, and nothing
// else. Laying out the titles is the dearest part of a rebuild with hundreds
// of menus, and an edit of the items alone leaves them as they are.
static int barShowsTitles()
{
    if (!menuBar || GetMenu(barWindow) != menuBar)
        return 0;
    int count = 0;
    const PopupEntry* p = popupList;
    for (const MenuNode* m = menuList; m; m = m->next, p = p->next, count++)
        if (!p || strncmp(p->title, m->name, MENU_NAME_SIZE) != 0)
            return 0;
    return !p && GetMenuItemCount(menuBar) == count;
}

// Deleting the items destroys the folder menus among them.
static void emptyPopup(PopupEntry* p)
{
    if (!p->filled)
        return;
    forgetFolderMenus(p->popup);
    forgetMenuIconsOf(p->popup);
    for (int n = GetMenuItemCount(p->popup); n > 0; n--)
        DeleteMenu(p->popup, (UINT)(n - 1), MF_BYPOSITION);
    p->filled = 0;
}

// Keeps the bar and its popups for the menus now in the list; a popup that
// was opened is emptied, to be filled anew when it next opens.
static void emptyPopups()
{
    MenuNode* m = menuList;
    for (PopupEntry* p = popupList; p; p = p->next, m = m->next) {
        emptyPopup(p);
        p->menu = m;
        p->filled = 0;
        p->firstCommand = nullptr;
        p->itemCount = 0;
    }
}

// A new menu bar with one empty popup per menu, attached to the bar once it
// is whole, so the bar lays out its titles once.
static void makeBar()
{
    if (menuBar)
        DestroyMenu(menuBar);
    clearMenuMaps();
    menuBar = CreateMenu();

    PopupEntry* lastPopup = nullptr;
    int k = 1;
    for (MenuNode* m = menuList; m; m = m->next, k++) {
        HMENU popup = CreateMenu();
        if (!popup)
            fatalError("Could not create menus!");
        PopupEntry* p = (PopupEntry*)allocEntry(sizeof(PopupEntry));
        p->popup = popup;
        p->menu = m;
        copyField(p->title, m->name);
        if (lastPopup)
            lastPopup->next = p;
        else
            popupList = p;
        lastPopup = p;
        // Position k - 1 is the end of the k - 1 popups already in the bar.
        InsertMenuA(menuBar, (UINT)(k - 1), MF_BYPOSITION | MF_POPUP, (UINT_PTR)popup, m->name);
    }
    SetMenu(barWindow, menuBar);
}

// Room in the map's block for more entries than it holds.
static void growMapBlock(size_t* capacity)
{
    size_t more = *capacity ? *capacity * 2 : 64;
    void* grown = realloc(mapBlock, more * sizeof(CommandMapEntry));
    if (!grown)
        fatalError("Could not create menus!");
    mapBlock = (CommandMapEntry*)grown;
    *capacity = more;
}

// The map in menu-bar order, for the menus the popups stand for: a menu the
// editor added since the last rebuild has no popup yet. The items are walked
// once, which with tens of thousands of them is most of the map's cost: that
// walk gives each item the id of its place where it is usable, and a walk
// through the block then gives the others the lowest ids that no item's place
// and no bar command takes.
void makeCommandMap()
{
    if (mapMade)
        return;
    mapMade = 1;
    IdPool* pool = (IdPool*)allocEntry(sizeof(IdPool));
    idPool = pool;
    spareCursor = MAX_COMMAND_ID - 1;
    markBarCommands(pool);
    size_t capacity = 0;
    for (MenuNode* m = menuList; m; m = m->next)
        capacity += m->appCount > 0 ? (size_t)m->appCount : 0;
    if (capacity) {
        mapBlock = (CommandMapEntry*)malloc(capacity * sizeof(CommandMapEntry));
        if (!mapBlock)
            fatalError("Could not create menus!");
    }

    size_t count = 0;
    PopupEntry* p = popupList;
    int k = 1;
    for (MenuNode* m = menuList; m && p; m = m->next, p = p->next, k++) {
        int i = 1;
        for (AppNode* a = m->firstApp; a; a = a->next, i++, count++) {
            if (count == capacity)
                growMapBlock(&capacity);
            int32_t id = preferredCommandId(k, i);
            if (id)
                markUsed(pool, id);
            mapBlock[count].id = id;
            mapBlock[count].app = a;
        }
        p->itemCount = i - 1;
    }

    CommandMapEntry* last = nullptr;
    size_t at = 0;
    for (p = popupList; p; p = p->next) {
        for (int n = 0; n < p->itemCount && at < count; n++, at++) {
            CommandMapEntry* c = &mapBlock[at];
            if (!c->id)
                c->id = takeFreeId(pool);
            if (!c->id)
                continue; // every id WM_COMMAND can carry is taken
            c->next = nullptr;
            if (last)
                last->next = c;
            else
                commandMap = c;
            last = c;
            if (!p->firstCommand)
                p->firstCommand = c;
        }
    }
}

// The popups are filled only when they first open: a user sees one at a
// time, and with hundreds of menus making every item would cost the start-up
// and each OK of the editor most of their time. The command map, with tens
// of thousands of entries, waits in the same way for the first command or
// popup that needs it, and is then made whole, so every id is found whether
// its popup was opened or not.
int rebuildMenuBar()
{
    int kept = barShowsTitles();
    if (kept) {
        releaseCommandMap();
        emptyPopups();
    } else {
        makeBar();
    }
    menuIconsMenusChanged();
    return !kept;
}

// The menu's items in order, each with the id the map gave it; an item the
// map holds no id for stays out, its separator with it.
static void fillPopup(PopupEntry* p)
{
    checkFolderEntries(p->menu, 1);
    p->folderVersion = folderEntriesVersion();
    p->look = popupLook;
    CommandMapEntry* c = p->firstCommand;
    for (AppNode* a = p->menu->firstApp; a && c; a = a->next) {
        if (c->app != a)
            continue;
        if (a->separatorBefore)
            AppendMenuA(p->popup, MF_SEPARATOR, 0, nullptr);
        if (!appendFolderEntry(p->popup, (UINT)c->id, a))
            appendMenuItem(p->popup, (UINT)c->id, a->name, a->path);
        c = c->next;
    }
    p->filled = 1;
    putPopupLookupsFirst();
}

void refillBarPopupsAtNextOpening()
{
    popupLook++;
}

void emptyBarPopups()
{
    for (PopupEntry* p = popupList; p; p = p->next)
        emptyPopup(p);
}

// When one of the bar's popups opens, no folder menu is open, and any command
// chosen in one has been handled: their items are let go. A popup filled
// before an entry turned out to be a folder, or no longer to be one, is
// filled anew; one filled already has its entries asked about again, for
// its next opening.
void fillBarPopup(HMENU popup)
{
    for (PopupEntry* p = popupList; p; p = p->next) {
        if (p->popup == popup) {
            emptyFolderMenus();
            if (p->filled &&
                (p->folderVersion != folderEntriesVersion() || p->look != popupLook))
                emptyPopup(p);
            if (!p->filled) {
                makeCommandMap();
                fillPopup(p);
            } else {
                checkFolderEntries(p->menu, 0);
            }
            return;
        }
    }
    fillFolderMenu(popup);
}

AppNode* findCommandApp(int32_t id)
{
    makeCommandMap();
    for (CommandMapEntry* c = commandMap; c; c = c->next)
        if (c->id == id)
            return c->app;
    return nullptr;
}
