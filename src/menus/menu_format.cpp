#include "menu_format.h"

#include <stdlib.h>
#include <string.h>

#include "save_calls.h"
#include "../app/byte_order.h"

// Menu record (48 bytes)             Application record (296 bytes)
//   0  name[30]                        0  path[80]
//  30  reserved[2]                    80  workingDir[80]
//  32  appCount                      160  parameters[90]
//  36  next      (written as 0)      250  name[30]
//  40  prev      (written as 0)      280  showCommand
//  44  firstApp  (written as 0)      284  separatorBefore
//                                    288  next (written as 0)
//                                    292  prev (written as 0)

// The file is read and written through one block on the stack, large enough
// that a file of many menus costs few calls and small enough to stay in the
// cache while its records are unpacked.
constexpr size_t IO_BLOCK_SIZE = 64 * 1024;

struct FileBlock {
    FILE* file;
    uint8_t* data;   // size bytes
    size_t size;
    size_t start;  // reading: next unread byte
    size_t end;    // reading: end of the bytes read; writing: bytes waiting
};

static void openBlock(FileBlock* block, FILE* file, uint8_t* data, size_t size)
{
    block->file = file;
    block->data = data;
    block->size = size;
    block->start = 0;
    block->end = 0;
    setvbuf(file, nullptr, _IONBF, 0);
}

static int readBytes(FileBlock* block, uint8_t* out, size_t count)
{
    while (count > 0) {
        if (block->start == block->end) {
            block->start = 0;
            block->end = fread(block->data, 1, block->size, block->file);
            if (block->end == 0)
                return 0;
        }
        size_t n = block->end - block->start;
        if (n > count)
            n = count;
        memcpy(out, block->data + block->start, n);
        block->start += n;
        out += n;
        count -= n;
    }
    return 1;
}

// The next count bytes: where they stand in the block when they are there
// whole, else gathered into scratch; null when the file ends first.
static const uint8_t* nextBytes(FileBlock* block, size_t count, uint8_t* scratch)
{
    if (block->end - block->start >= count) {
        const uint8_t* at = block->data + block->start;
        block->start += count;
        return at;
    }
    return readBytes(block, scratch, count) ? scratch : nullptr;
}

static int flushBlock(FileBlock* block)
{
    size_t waiting = block->end;
    block->end = 0;
    return writeSaveFile(block->file, block->data, waiting);
}

// Room for count bytes at the end of the block, writing out what waits first
// when needed; null when that write failed.
static uint8_t* reserveBytes(FileBlock* block, size_t count)
{
    if (block->size - block->end < count && !flushBlock(block))
        return nullptr;
    uint8_t* at = block->data + block->end;
    block->end += count;
    return at;
}

void packMenuRecord(const MenuNode* m, uint8_t out[MENU_RECORD_SIZE])
{
    memcpy(out + 0, m->name, MENU_NAME_SIZE);
    memcpy(out + 30, m->reserved, 2);
    putInt32(out + 32, m->appCount);
    memset(out + 36, 0, 12);
}

// The unpackers set every field; with no padding in the program's 32-bit
// records that is every byte, so the loader may unpack into records that
// were not zeroed. (A 64-bit build, as the fuzz targets', pads before the
// links; nothing reads those bytes.)
static_assert(sizeof(void*) != 4 ||
                  sizeof(MenuNode) == MENU_NAME_SIZE + 2 + 4 + 3 * sizeof(void*),
              "no padding");
static_assert(sizeof(void*) != 4 ||
                  sizeof(AppNode) == APP_PATH_SIZE + APP_DIR_SIZE + APP_PARAMS_SIZE +
                                         APP_NAME_SIZE + 8 + 2 * sizeof(void*),
              "no padding");

void unpackMenuRecord(const uint8_t in[MENU_RECORD_SIZE], MenuNode* m)
{
    memcpy(m->name, in + 0, MENU_NAME_SIZE);
    memcpy(m->reserved, in + 30, 2);
    m->appCount = getInt32(in + 32);
    m->next = nullptr;
    m->prev = nullptr;
    m->firstApp = nullptr;
}

void packAppRecord(const AppNode* a, uint8_t out[APP_RECORD_SIZE])
{
    memcpy(out + 0, a->path, APP_PATH_SIZE);
    memcpy(out + 80, a->workingDir, APP_DIR_SIZE);
    memcpy(out + 160, a->parameters, APP_PARAMS_SIZE);
    memcpy(out + 250, a->name, APP_NAME_SIZE);
    putInt32(out + 280, a->showCommand);
    putInt32(out + 284, a->separatorBefore);
    memset(out + 288, 0, 8);
}

void unpackAppRecord(const uint8_t in[APP_RECORD_SIZE], AppNode* a)
{
    memcpy(a->path, in + 0, APP_PATH_SIZE);
    memcpy(a->workingDir, in + 80, APP_DIR_SIZE);
    memcpy(a->parameters, in + 160, APP_PARAMS_SIZE);
    memcpy(a->name, in + 250, APP_NAME_SIZE);
    a->showCommand = getInt32(in + 280);
    a->separatorBefore = getInt32(in + 284);
    a->next = nullptr;
    a->prev = nullptr;
}

// A stored text may lack its terminator; then the field's last byte ends it
// in memory so no reader runs past the field. A field that is terminated is
// left alone, tail included, so that the next save writes it back unchanged.
// Almost every field ends in a zero byte, which settles it without a search
// through the text (a byte-wise search of every field was most of the load).
static void terminateField(char* field, size_t size)
{
    if (field[size - 1] != '\0' && !memchr(field, '\0', size - 1))
        field[size - 1] = '\0';
}

static void terminateFields(MenuNode* m)
{
    terminateField(m->name, MENU_NAME_SIZE);
}

static void terminateFields(AppNode* a)
{
    terminateField(a->path, APP_PATH_SIZE);
    terminateField(a->workingDir, APP_DIR_SIZE);
    terminateField(a->parameters, APP_PARAMS_SIZE);
    terminateField(a->name, APP_NAME_SIZE);
}

static long fileLength(FILE* file)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return -1;
    long length = ftell(file);
    if (fseek(file, 0, SEEK_SET) != 0)
        return -1;
    return length;
}

MenuFileRead readMenus(FILE* file, int* badMenu, int* badApp)
{
    if (fileLength(file) == 0)
        return MENU_FILE_EMPTY;
    uint8_t data[IO_BLOCK_SIZE];
    FileBlock block;
    openBlock(&block, file, data, sizeof data);

    uint8_t record[APP_RECORD_SIZE];
    if (!readBytes(&block, record, 4) || getInt32(record) != MENU_FILE_VERSION)
        return MENU_FILE_OLD;

    MenuNode* last = nullptr;
    int menuNumber = 0;
    const uint8_t* bytes;
    while ((bytes = nextBytes(&block, MENU_RECORD_SIZE, record)) != nullptr) {
        MenuNode* m = newMenuNodeToFill();
        unpackMenuRecord(bytes, m);
        terminateFields(m);
        // A count of 0 or less is an empty menu; holding it as 0 keeps the
        // count true once entries are added to it.
        if (m->appCount < 0)
            m->appCount = 0;
        menuNumber++;
        if (last) {
            last->next = m;
            m->prev = last;
        } else {
            menuList = m;
        }
        last = m;

        AppNode* lastApp = nullptr;
        for (int32_t i = 1; i <= m->appCount; i++) {
            bytes = nextBytes(&block, APP_RECORD_SIZE, record);
            if (!bytes) {
                *badMenu = menuNumber;
                *badApp = (int)i;
                return MENU_FILE_CUT_SHORT;
            }
            AppNode* a = newAppNodeToFill();
            unpackAppRecord(bytes, a);
            terminateFields(a);
            if (lastApp) {
                lastApp->next = a;
                a->prev = lastApp;
            } else {
                m->firstApp = a;
            }
            lastApp = a;
        }
    }
    return MENU_FILE_READ;
}

// A save writes in blocks of a megabyte, from one block kept for every
// save: fewer writes than the reading block's, and no fresh memory each time
// (fresh pages cost more to touch than the packing itself). Null until the
// first save that needs it, or when it cannot be had.
constexpr size_t SAVE_BLOCK_SIZE = 1024 * 1024;
static uint8_t* saveBlock = nullptr;

int writeMenus(FILE* file)
{
    uint8_t data[IO_BLOCK_SIZE];
    if (!saveBlock)
        saveBlock = (uint8_t*)malloc(SAVE_BLOCK_SIZE);
    FileBlock block;
    if (saveBlock)
        openBlock(&block, file, saveBlock, SAVE_BLOCK_SIZE);
    else
        openBlock(&block, file, data, sizeof data);
    int ok = 0;
    uint8_t* at = reserveBytes(&block, 4);
    if (at) {
        putInt32(at, MENU_FILE_VERSION);
        ok = 1;
    }
    for (MenuNode* m = menuList; m && ok; m = m->next) {
        at = reserveBytes(&block, MENU_RECORD_SIZE);
        if (!at) {
            ok = 0;
            break;
        }
        // The count stored is the number of records that follow, whatever
        // the record's own count says, so the file always reads back.
        int32_t written = 0;
        for (AppNode* a = m->firstApp; a; a = a->next)
            written++;
        packMenuRecord(m, at);
        putInt32(at + 32, written);
        for (AppNode* a = m->firstApp; a; a = a->next) {
            at = reserveBytes(&block, APP_RECORD_SIZE);
            if (!at) {
                ok = 0;
                break;
            }
            packAppRecord(a, at);
        }
    }
    return ok && flushBlock(&block);
}
