#include "menu_list.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "menu_bar.h"
#include "../app/app.h"
#include "../app/message_box.h"

MenuNode* menuList = nullptr;

// Records are carved from large zeroed blocks and a released record is kept
// on a free list of its kind for the next one: the heap is slow at tens of
// thousands of small allocations, and a large menu file needs that many.
// The blocks stay for the life of the process; memory use is bounded by the
// most records ever held at once.
constexpr size_t RECORD_BLOCK_SIZE = 256 * 1024;

static char* blockCursor = nullptr;
static size_t blockLeft = 0;
static void* freeMenuRecords = nullptr;
static void* freeAppRecords = nullptr;

// The lists assume allocation succeeds; when memory is exhausted there is
// nothing sensible left to do but stop at once.
static void* takeRecord(void** freeList, size_t size, int zeroed)
{
    if (*freeList) {
        void* record = *freeList;
        *freeList = *(void**)record;
        if (zeroed)
            memset(record, 0, size);
        return record;
    }
    if (blockLeft < size) {
        blockCursor = (char*)calloc(1, RECORD_BLOCK_SIZE);
        if (!blockCursor)
            fatalError("Out of memory.");
        blockLeft = RECORD_BLOCK_SIZE;
    }
    void* record = blockCursor;
    blockCursor += size;
    blockLeft -= size;
    return record;
}

static void giveBackRecord(void** freeList, void* record)
{
    *(void**)record = *freeList;
    *freeList = record;
}

static_assert(sizeof(MenuNode) % alignof(AppNode) == 0 && sizeof(AppNode) % alignof(MenuNode) == 0,
              "records carved from one block stay aligned");

MenuNode* newMenuNode()
{
    return (MenuNode*)takeRecord(&freeMenuRecords, sizeof(MenuNode), 1);
}

AppNode* newAppNode()
{
    return (AppNode*)takeRecord(&freeAppRecords, sizeof(AppNode), 1);
}

MenuNode* newMenuNodeToFill()
{
    return (MenuNode*)takeRecord(&freeMenuRecords, sizeof(MenuNode), 0);
}

AppNode* newAppNodeToFill()
{
    return (AppNode*)takeRecord(&freeAppRecords, sizeof(AppNode), 0);
}

void releaseMenuNode(MenuNode* m)
{
    giveBackRecord(&freeMenuRecords, m);
}

void releaseAppNode(AppNode* a)
{
    giveBackRecord(&freeAppRecords, a);
}

void unlinkMenu(MenuNode* m)
{
    MenuNode* p = m->prev;
    MenuNode* n = m->next;
    if (!n && !p) {
        menuList = nullptr;
    } else if (!n) {
        p->next = nullptr;
    } else if (!p) {
        menuList = n;
        n->prev = nullptr;
    } else {
        p->next = n;
        n->prev = p;
    }
}

void unlinkApp(AppNode* a)
{
    AppNode* p = a->prev;
    AppNode* n = a->next;
    if (p)
        p->next = n;
    if (n)
        n->prev = p;
}

void freeApp(AppNode* a)
{
    if (!a)
        return;
    unlinkApp(a);
    releaseAppNode(a);
}

void freeMenu(MenuNode* m)
{
    if (!m)
        return;
    AppNode* a = m->firstApp;
    while (a) {
        AppNode* next = a->next;
        unlinkApp(a);
        releaseAppNode(a);
        a = next;
    }
    m->firstApp = nullptr;
    unlinkMenu(m);
    releaseMenuNode(m);
}

void freeAllMenus()
{
    clearMenuMaps();
    MenuNode* m = menuList;
    while (m) {
        MenuNode* next = m->next;
        freeMenu(m);
        m = next;
    }
    menuList = nullptr;
}

MenuNode* findMenu(const char* text)
{
    for (MenuNode* m = menuList; m; m = m->next)
        if (strcmp(m->name, text) == 0)
            return m;
    showWarning("Menu not found in linked list!");
    return nullptr;
}

AppNode* findApp(AppNode* start, const char* text)
{
    if (strcmp(text, SEPARATOR_TEXT) == 0)
        return nullptr;
    for (AppNode* a = start; a; a = a->next)
        if (strcmp(a->name, text) == 0)
            return a;
    showWarning("Application not found in linked list!");
    return nullptr;
}

int moveMenu(MenuNode* m, int direction)
{
    if (!m)
        return 0;
    if (direction == VK_UP) {
        MenuNode* p = m->prev;
        if (!p)
            return 0;
        if (m->next)
            m->next->prev = p;
        if (p->prev)
            p->prev->next = m;
        else
            menuList = m;
        p->next = m->next;
        m->next = p;
        m->prev = p->prev;
        p->prev = m;
        return 1;
    }
    if (direction == VK_DOWN) {
        MenuNode* n = m->next;
        if (!n)
            return 0;
        if (m->prev)
            m->prev->next = n;
        else
            menuList = n;
        if (n->next)
            n->next->prev = m;
        n->prev = m->prev;
        m->prev = n;
        m->next = n->next;
        n->next = m;
        return 1;
    }
    return 0;
}

int moveApp(AppNode* a, int direction)
{
    if (!a)
        return 0;
    if (direction == VK_UP) {
        AppNode* p = a->prev;
        if (!p)
            return 0;
        if (a->next)
            a->next->prev = p;
        if (p->prev)
            p->prev->next = a;
        p->next = a->next;
        a->next = p;
        a->prev = p->prev;
        p->prev = a;
        return 1;
    }
    if (direction == VK_DOWN) {
        AppNode* n = a->next;
        if (!n)
            return 0;
        if (a->prev)
            a->prev->next = n;
        if (n->next)
            n->next->prev = a;
        n->prev = a->prev;
        a->prev = n;
        a->next = n->next;
        n->next = a;
        return 1;
    }
    return 0;
}

void appendMenu(MenuNode* m)
{
    m->next = nullptr;
    m->prev = nullptr;
    if (!menuList) {
        menuList = m;
        return;
    }
    MenuNode* last = menuList;
    while (last->next)
        last = last->next;
    last->next = m;
    m->prev = last;
}

void appendApp(MenuNode* m, AppNode* a)
{
    a->next = nullptr;
    a->prev = nullptr;
    if (!m->firstApp) {
        m->firstApp = a;
    } else {
        AppNode* last = m->firstApp;
        while (last->next)
            last = last->next;
        last->next = a;
        a->prev = last;
    }
    m->appCount++;
}
