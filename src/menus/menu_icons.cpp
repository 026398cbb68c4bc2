#ifndef ZENTOR_NT3
#include "menu_icons.h"

#include <stdlib.h>
#include <string.h>

#include "icon_lookup.h"
#include "icon_worker.h"
#include "menu_bar.h"
#include "path_key.h"
#include "../app/app.h"
#include "../app/text.h"
#include "../bar/bar_dpi.h"
#include "../bar/bar_window.h"
#include "../options/settings.h"

// Lookups kept waiting for the worker; the menus' files go to it in
// portions of whole menus, so that a popup the user opens can go first.
constexpr int QUEUE_TARGET = 256;
// Items walked at most before the walk lets the bar's other messages in
// (after an edit of hundreds of menus, nearly every file is known).
constexpr int WALK_BUDGET = 1024;
constexpr int ENTRY_BUCKETS = 16384;
constexpr int IMAGE_BUCKETS = 512;
// Icons that look alike share a bitmap. Past this many different ones, the
// generic icon stands in: a process may hold no more than 10,000 GDI objects.
constexpr int MAX_ICON_IMAGES = 2000;
// How often a lookup is checked for being stuck while lookups are out.
constexpr UINT STUCK_CHECK_MS = 250;

// One picture, as a menu item shows it.
struct IconImage {
    IconImage* next; // in its bucket
    HBITMAP bitmap;
    const uint32_t* bits;
    uint32_t hash;
};

// What the icons know of one file (its expanded path, in small letters), of
// one document type ("*.txt"), or of the generic icon ("*").
struct IconEntry {
    IconEntry* next;      // in its bucket
    IconEntry* type;      // a document's type, null for files with their own icon
    IconImage* image;     // its own icon; null until known
    IconRequest* request; // its lookup under way, null when none
    int showsType;        // a document that exists: it shows its type's icon
    int failed;           // not found, no icon, or the lookup is stuck: the generic icon
    uint32_t hash;
    char key[1];          // as long as it needs
};

// One item in a popup that waits for its icon.
struct WaitingItem {
    HMENU popup;
    UINT id;
    IconEntry* entry;
};

static int iconsRunning = 0;          // 1 while lookups may run
static int iconGeneration = 0;        // the worker's, for the requests made now
static int iconSize = 0;              // pixels a side
static IconEntry** entries = nullptr; // ENTRY_BUCKETS chains
static IconImage** images = nullptr;  // IMAGE_BUCKETS chains
static int imageCount = 0;
static IconImage* genericImage = nullptr;
static int outstanding = 0;           // requests made and not yet answered
static int nextMenuToQueue = 0;       // the menu whose files go to the worker next
static UINT_PTR stuckTimer = 0;
static WaitingItem* waiting = nullptr;
static int waitingCount = 0;
static int waitingRoom = 0;
static int popupOpening = 0;          // 1 from a popup's filling until its menu is idle
static int answersWaiting = 0;        // answers came while a popup opened
static WorkItem** frontBatch = nullptr;  // a popup's lookups, to go first
static int frontCount = 0;
static int frontRoom = 0;

static void* grow(void* block, int* room, size_t itemSize)
{
    int more = *room ? *room * 2 : 64;
    void* grown = realloc(block, (size_t)more * itemSize);
    if (!grown)
        fatalError("Out of memory.");
    *room = more;
    return grown;
}

static IconImage* imageOf(const IconEntry* e)
{
    if (e->image)
        return e->image;
    if (e->showsType && !e->failed)
        e = e->type;
    if (e->image)
        return e->image;
    return e->failed ? genericImage : nullptr;
}

// ---- Pictures

static IconImage* newImage(const uint32_t* pixels, uint32_t hash)
{
    BITMAPINFO info;
    describeIconPixels(&info, iconSize, iconSize);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    memcpy(bits, pixels, (size_t)iconSize * iconSize * sizeof(uint32_t));
    IconImage* image = (IconImage*)calloc(1, sizeof(IconImage));
    if (!image)
        fatalError("Out of memory.");
    image->bitmap = bitmap;
    image->bits = (const uint32_t*)bits;
    image->hash = hash;
    IconImage** bucket = &images[hash % IMAGE_BUCKETS];
    image->next = *bucket;
    *bucket = image;
    imageCount++;
    return image;
}

// The picture of these pixels: one already made when it looks the same.
static IconImage* imageFor(const uint32_t* pixels)
{
    if (!pixels)
        return nullptr;
    size_t bytes = (size_t)iconSize * iconSize * sizeof(uint32_t);
    uint32_t hash = hashBytes(pixels, bytes);
    for (IconImage* i = images[hash % IMAGE_BUCKETS]; i; i = i->next)
        if (i->hash == hash && memcmp(i->bits, pixels, bytes) == 0)
            return i;
    if (imageCount >= MAX_ICON_IMAGES)
        return genericImage;
    return newImage(pixels, hash);
}

// ---- Entries

static IconEntry* findEntry(const char* key, int make)
{
    uint32_t hash = hashBytes(key, strlen(key));
    IconEntry** bucket = &entries[hash % ENTRY_BUCKETS];
    for (IconEntry* e = *bucket; e; e = e->next)
        if (e->hash == hash && strcmp(e->key, key) == 0)
            return e;
    if (!make)
        return nullptr;
    size_t length = strlen(key);
    IconEntry* e = (IconEntry*)calloc(1, sizeof(IconEntry) + length);
    if (!e)
        fatalError("Out of memory.");
    memcpy(e->key, key, length + 1);
    e->hash = hash;
    e->next = *bucket;
    *bucket = e;
    return e;
}

// A type's entry ("*.txt", "*" for the generic icon) asks for the type's
// icon, a file's for what the file shows.
static void requestLookup(IconEntry* e)
{
    IconRequest* r = newIconRequest(e);
    r->ofType = e->key[0] == '*';
    r->size = iconSize;
    copyField(r->path, r->ofType ? e->key + 1 : e->key);
    e->request = r;
    outstanding++;
}

// The entry of an item's file, made with its lookup (not yet queued) when
// the file is new. Its key is also the path looked up.
static IconEntry* entryForPath(const char* path)
{
    char key[MAX_PATH];
    expandItemPath(path, key);
    lowerPathLetters(key);
    IconEntry* e = findEntry(key, 0);
    if (e)
        return e;
    e = findEntry(key, 1);
    if (showsTypeIcon(key)) {
        char typeKey[MAX_PATH];
        formatText(typeKey, sizeof typeKey, "*%s", strrchr(key, '.'));
        e->type = findEntry(typeKey, 1);
        if (!e->type->request && !e->type->image && !e->type->failed)
            requestLookup(e->type);
    }
    requestLookup(e);
    return e;
}

// ---- Popups

static void addWaiting(HMENU popup, UINT id, IconEntry* e)
{
    if (waitingCount == waitingRoom)
        waiting = (WaitingItem*)grow(waiting, &waitingRoom, sizeof(WaitingItem));
    waiting[waitingCount++] = {popup, id, e};
}

static void addToFront(IconRequest* r)
{
    if (frontCount == frontRoom)
        frontBatch = (WorkItem**)grow(frontBatch, &frontRoom, sizeof(WorkItem*));
    frontBatch[frontCount++] = &r->work;
}

// The icon an item of this file shows now; null when there is none yet, and
// then the item waits for it.
static HBITMAP iconForItem(HMENU popup, UINT id, const char* path)
{
    if (!iconsRunning || !path[0])
        return nullptr;
    IconEntry* e = entryForPath(path);
    if (e->request)
        addToFront(e->request);
    if (e->type && e->type->request)
        addToFront(e->type->request);
    IconImage* image = imageOf(e);
    if (image)
        return image->bitmap;
    addWaiting(popup, id, e);
    return nullptr;
}

void appendMenuItem(HMENU popup, UINT id, const char* text, const char* path)
{
    HBITMAP icon = iconForItem(popup, id, path);
    if (!icon) {
        AppendMenuA(popup, MF_STRING, id, text);
        return;
    }
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_BITMAP;
    item.fType = MFT_STRING;
    item.wID = id;
    item.dwTypeData = (char*)text;
    item.hbmpItem = icon;
    InsertMenuItemA(popup, (UINT)GetMenuItemCount(popup), TRUE, &item);
}

// An item with a submenu carries its id as well, so that its icon can find it
// by id when it comes.
int appendMenuItemWide(HMENU popup, UINT id, HMENU submenu, const wchar_t* text,
                        const char* path)
{
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | (submenu ? MIIM_SUBMENU : 0);
    item.fType = MFT_STRING;
    item.wID = id;
    item.hSubMenu = submenu;
    item.dwTypeData = (wchar_t*)text;
    item.hbmpItem = iconForItem(popup, id, path);
    if (item.hbmpItem)
        item.fMask |= MIIM_BITMAP;
    return InsertMenuItemW(popup, (UINT)GetMenuItemCount(popup), TRUE, &item) != 0;
}

static void CALLBACK onStuckTimer(HWND, UINT, UINT_PTR, DWORD);

// The stuck-lookup check runs while lookups are out, and only then.
static void updateStuckTimer()
{
    if (outstanding > 0 && !stuckTimer)
        stuckTimer = SetTimer(nullptr, 0, STUCK_CHECK_MS, onStuckTimer);
    else if (outstanding == 0 && stuckTimer) {
        KillTimer(nullptr, stuckTimer);
        stuckTimer = 0;
    }
}

void putPopupLookupsFirst()
{
    putIconRequestsFirst(frontBatch, frontCount);
    frontCount = 0;
    updateStuckTimer();
}

void forgetWaitingMenuIcons()
{
    waitingCount = 0;
}

void forgetMenuIconsOf(HMENU popup)
{
    for (int i = 0; i < waitingCount;) {
        if (waiting[i].popup == popup)
            waiting[i] = waiting[--waitingCount];
        else
            i++;
    }
}

// An open menu is drawn anew when one of its items got its icon, where the
// system redraws an open menu from its items (Wine does not: the icon shows
// at the next opening).
static void redrawOpenMenu(HMENU popup)
{
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() &&
            (HMENU)SendMessageA(w, MN_GETHMENU, 0, 0) == popup)
            InvalidateRect(w, nullptr, FALSE);
}

static void putInWaitingIcons()
{
    HMENU redrawn = nullptr;
    for (int i = 0; i < waitingCount;) {
        IconImage* image = imageOf(waiting[i].entry);
        if (!image) {
            i++;
            continue;
        }
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP;
        item.hbmpItem = image->bitmap;
        SetMenuItemInfoA(waiting[i].popup, waiting[i].id, FALSE, &item);
        if (waiting[i].popup != redrawn) {
            redrawn = waiting[i].popup;
            redrawOpenMenu(redrawn);
        }
        waiting[i] = waiting[--waitingCount];
    }
}

// ---- The queue

// Whole menus of files go to the worker, in the bar's order, while it has
// few lookups left waiting.
static void queueNextMenus()
{
    int k = 0;
    MenuNode* m = menuList;
    for (; m && k < nextMenuToQueue; m = m->next)
        k++;
    WorkItem** batch = nullptr;
    int count = 0, room = 0, walked = 0;
    for (; m && outstanding < QUEUE_TARGET && walked < WALK_BUDGET;
         m = m->next, nextMenuToQueue++) {
        for (AppNode* a = m->firstApp; a; a = a->next) {
            walked++;
            if (!a->path[0])
                continue;
            IconEntry* e = entryForPath(a->path);
            // A type's lookup goes with its first file's.
            for (IconEntry* asked = e; asked; asked = asked == e ? e->type : nullptr) {
                if (!asked->request || asked->request->work.state != WORK_NEW)
                    continue;
                if (count == room)
                    batch = (WorkItem**)grow(batch, &room, sizeof(WorkItem*));
                batch[count++] = &asked->request->work;
            }
        }
    }
    queueIconRequests(batch, count);
    free(batch);
    updateStuckTimer();
    // The rest of the walk, after whatever else the bar has to do: files the
    // cache knows ask nothing of the worker, and the answers that would go
    // on with the walk never come.
    if (m && walked >= WALK_BUDGET && outstanding < QUEUE_TARGET)
        PostMessageA(barWindow, WM_ICONS_READY, 0, 0);
}

void menuIconsMenusChanged()
{
    forgetWaitingMenuIcons();
    if (!iconsRunning)
        return;
    nextMenuToQueue = 0;
    queueNextMenus();
}

// A lookup that does not come back within a second gives its item the
// generic icon, and the other items' lookups go on without it.
static void CALLBACK onStuckTimer(HWND, UINT, UINT_PTR, DWORD)
{
    IconEntry* e = (IconEntry*)giveUpStuckIconLookup();
    if (!e || !e->request)
        return;
    e->request = nullptr; // its answer may still come, and is taken then
    e->failed = 1;
    outstanding--;
    putInWaitingIcons();
    queueNextMenus();
}

// ---- Answers

static void takeAnswer(IconRequest* r)
{
    IconEntry* e = (IconEntry*)r->work.owner;
    if (e->request == r) {
        e->request = nullptr;
        outstanding--;
    }
    e->failed = 0;
    switch (r->found) {
    case ICON_OWN:
        e->image = imageFor(r->pixels);
        e->failed = !e->image;
        if (r->ofType && !e->key[1])
            genericImage = e->image;
        break;
    case ICON_OF_TYPE:
        e->showsType = e->type != nullptr;
        e->failed = !e->type;
        break;
    default:
        e->failed = 1;
        break;
    }
}

void menuIconsPopupOpening()
{
    if (!iconsRunning)
        return;
    popupOpening = 1;
    pauseIconLookups();
}

// The answers that came while the popup opened are taken now that it
// stands drawn: taken then, they would have kept it from being painted.
void menuIconsMenuIdle()
{
    popupOpening = 0;
    if (!iconsRunning)
        return;
    resumeIconLookups();
    if (answersWaiting)
        onMenuIconsReady();
}

int menuIconLookupsOut()
{
    return outstanding;
}

int menuIconsRunning()
{
    return iconsRunning;
}

void onMenuIconsReady()
{
    if (popupOpening && iconsRunning) {
        answersWaiting = 1;
        return;
    }
    answersWaiting = 0;
    IconRequest* r = takeFinishedIconRequests();
    while (r) {
        IconRequest* next = nextIconRequest(r);
        if (iconsRunning && r->work.generation == iconGeneration)
            takeAnswer(r);
        freeIconRequest(r);
        r = next;
    }
    if (!iconsRunning)
        return;
    putInWaitingIcons();
    putPopupLookupsFirst();
    queueNextMenus();
}

// ---- Starting and stopping

static int currentIconSize()
{
    return barSmallIconSize();
}

void startMenuIcons()
{
    if (iconsRunning || !barSettings.showIcons)
        return;
    iconSize = currentIconSize();
    entries = (IconEntry**)calloc(ENTRY_BUCKETS, sizeof(IconEntry*));
    images = (IconImage**)calloc(IMAGE_BUCKETS, sizeof(IconImage*));
    if (!entries || !images)
        fatalError("Out of memory.");
    iconGeneration = startIconWorker(barWindow);
    iconsRunning = 1;
    nextMenuToQueue = 0;
    // Popups filled before now get their icons when they next open. A menu
    // may be open now (the lookups begin on a timer): its items stay.
    refillBarPopupsAtNextOpening();
    IconEntry* generic = findEntry("*", 1);
    requestLookup(generic);
    addToFront(generic->request);
    putPopupLookupsFirst();
    queueNextMenus();
}

void stopMenuIcons()
{
    popupOpening = answersWaiting = 0;
    if (!entries)
        return;
    iconsRunning = 0;
    // A request not yet queued is still the bar's; once the worker stops,
    // it has freed every other one, and they may be read no more.
    for (int b = 0; b < ENTRY_BUCKETS; b++) {
        for (IconEntry* e = entries[b]; e; e = e->next) {
            if (e->request && e->request->work.state == WORK_NEW)
                freeIconRequest(e->request);
            e->request = nullptr;
        }
    }
    stopIconWorker();
    // The bitmaps leave the menus before they are deleted.
    emptyBarPopups();
    forgetWaitingMenuIcons();
    frontCount = 0;
    outstanding = 0;
    updateStuckTimer();
    for (int b = 0; b < ENTRY_BUCKETS; b++) {
        IconEntry* e = entries[b];
        while (e) {
            IconEntry* next = e->next;
            free(e);
            e = next;
        }
    }
    for (int b = 0; b < IMAGE_BUCKETS; b++) {
        IconImage* i = images[b];
        while (i) {
            IconImage* next = i->next;
            DeleteObject(i->bitmap);
            free(i);
            i = next;
        }
    }
    free(entries);
    free(images);
    entries = nullptr;
    images = nullptr;
    imageCount = 0;
    genericImage = nullptr;
    free(waiting);
    waiting = nullptr;
    waitingRoom = 0;
    free(frontBatch);
    frontBatch = nullptr;
    frontRoom = 0;
}

void menuIconsBarMade()
{
    if (iconsRunning)
        setIconNotifyWindow(barWindow);
    else if (barSettings.showIcons)
        SetTimer(barWindow, ICON_START_TIMER, ICON_START_DELAY_MS, nullptr);
}

void onIconStartTimer()
{
    KillTimer(barWindow, ICON_START_TIMER);
    startMenuIcons();
}

void remakeMenuIcons()
{
    if (!iconsRunning || currentIconSize() == iconSize)
        return;
    stopMenuIcons();
    startMenuIcons();
}

#endif
