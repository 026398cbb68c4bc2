// The data-file loader on any bytes: it never reads or writes out of bounds,
// takes records only for bytes that are there, links what it read soundly,
// and what it read saves and reads back to the same bytes.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "menus/menu_format.h"
#include "menus/save_calls.h"

// The record pool's part: one heap block per record, so the sanitizer sees
// every record's bounds.
MenuNode* menuList = nullptr;
static size_t recordsTaken = 0;

MenuNode* newMenuNodeToFill()
{
    recordsTaken++;
    return (MenuNode*)malloc(sizeof(MenuNode));
}

AppNode* newAppNodeToFill()
{
    recordsTaken++;
    return (AppNode*)malloc(sizeof(AppNode));
}

// What the writer wrote, whatever stream it was given.
static std::vector<uint8_t> savedBytes;

int writeSaveFile(FILE*, const void* bytes, size_t count)
{
    savedBytes.insert(savedBytes.end(), (const uint8_t*)bytes, (const uint8_t*)bytes + count);
    return 1;
}

static void freeMenus()
{
    MenuNode* m = menuList;
    while (m) {
        for (AppNode* a = m->firstApp; a;) {
            AppNode* next = a->next;
            free(a);
            a = next;
        }
        MenuNode* next = m->next;
        free(m);
        m = next;
    }
    menuList = nullptr;
}

static void check(bool holds, const char* what)
{
    if (!holds) {
        fprintf(stderr, "broken: %s\n", what);
        abort();
    }
}

static bool terminated(const char* field, size_t size)
{
    return memchr(field, '\0', size) != nullptr;
}

static void checkLists()
{
    MenuNode* prev = nullptr;
    for (MenuNode* m = menuList; m; prev = m, m = m->next) {
        check(m->prev == prev, "menu links");
        check(terminated(m->name, MENU_NAME_SIZE), "menu name terminated");
        int32_t count = 0;
        AppNode* prevApp = nullptr;
        for (AppNode* a = m->firstApp; a; prevApp = a, a = a->next, count++) {
            check(a->prev == prevApp, "item links");
            check(terminated(a->path, APP_PATH_SIZE) && terminated(a->workingDir, APP_DIR_SIZE) &&
                      terminated(a->parameters, APP_PARAMS_SIZE) &&
                      terminated(a->name, APP_NAME_SIZE),
                  "item fields terminated");
        }
        check(count == m->appCount, "count matches the items read");
    }
}

// Reads bytes as a data file; the lists stay in menuList.
static MenuFileRead readFrom(const uint8_t* data, size_t size)
{
    static uint8_t nothing;
    FILE* file = fmemopen(size ? (void*)data : &nothing, size, "rb");
    check(file != nullptr, "fmemopen");
    int badMenu = 0;
    int badApp = 0;
    recordsTaken = 0;
    MenuFileRead read = readMenus(file, &badMenu, &badApp);
    fclose(file);
    // A count never makes the loader take records for bytes that are not there.
    check(recordsTaken <= size / MENU_RECORD_SIZE, "records taken beyond the bytes read");
    if (read == MENU_FILE_CUT_SHORT)
        check(badMenu >= 1 && badApp >= 1, "numbers of the record cut short");
    return read;
}

static std::vector<uint8_t> written()
{
    static FILE* nowhere = fopen("/dev/null", "wb");
    savedBytes.clear();
    check(writeMenus(nowhere) == 1, "writing the menus read");
    return savedBytes;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MenuFileRead read = readFrom(data, size);
    if (read == MENU_FILE_READ) {
        checkLists();
        std::vector<uint8_t> first = written();
        freeMenus();
        check(readFrom(first.data(), first.size()) == MENU_FILE_READ, "saved file reads back");
        check(written() == first, "save, load and save again gives the same bytes");
    }
    freeMenus();
    return 0;
}
