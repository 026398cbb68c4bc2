#include "menu_file.h"

#include <io.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "../app/app.h"
#include "../app/byte_order.h"
#include "../app/message_box.h"
#include "../app/text.h"

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

// How long the loader waits for a data file that exists but cannot be
// opened: OPEN_RETRIES more tries, OPEN_RETRY_MS apart.
constexpr int OPEN_RETRIES = 10;
constexpr DWORD OPEN_RETRY_MS = 100;

struct FileBlock {
    FILE* file;
    uint8_t* data; // IO_BLOCK_SIZE bytes
    size_t start;  // reading: next unread byte
    size_t end;    // reading: end of the bytes read; writing: bytes waiting
};

static void openBlock(FileBlock* block, FILE* file, uint8_t* data)
{
    block->file = file;
    block->data = data;
    block->start = 0;
    block->end = 0;
    setvbuf(file, nullptr, _IONBF, 0);
}

// The next count bytes: where they stand in the block when they are there
// whole, else gathered into scratch; null when the file ends first.
static const uint8_t* nextBytes(FileBlock* block, size_t count, uint8_t* scratch);

static int readBytes(FileBlock* block, uint8_t* out, size_t count)
{
    while (count > 0) {
        if (block->start == block->end) {
            block->start = 0;
            block->end = fread(block->data, 1, IO_BLOCK_SIZE, block->file);
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
    return fwrite(block->data, 1, waiting, block->file) == waiting;
}

// Room for count bytes at the end of the block, writing out what waits first
// when needed; null when that write failed.
static uint8_t* reserveBytes(FileBlock* block, size_t count)
{
    if (IO_BLOCK_SIZE - block->end < count && !flushBlock(block))
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

// The unpackers set every field; with no padding in the records that is
// every byte, so the loader may unpack into records that were not zeroed.
static_assert(sizeof(MenuNode) == MENU_NAME_SIZE + 2 + 4 + 3 * sizeof(void*), "no padding");
static_assert(sizeof(AppNode) ==
                  APP_PATH_SIZE + APP_DIR_SIZE + APP_PARAMS_SIZE + APP_NAME_SIZE + 8 +
                      2 * sizeof(void*),
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
static void terminateField(char* field, size_t size)
{
    for (size_t i = 0; i < size; i++)
        if (field[i] == '\0')
            return;
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

static AppNode* defaultApp(const char* name, const char* path)
{
    AppNode* a = newAppNode();
    copyField(a->name, name);
    copyField(a->path, path);
    return a;
}

// The Windows directory with a file name behind it, cut at the field's width
// when the directory is very long.
static AppNode* windowsApp(const char* name, const char* file)
{
    char directory[MAX_PATH + 1] = "";
    UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory)
        directory[0] = '\0';
    AppNode* a = newAppNode();
    copyField(a->name, name);
    formatText(a->path, sizeof a->path, "%s%s", directory, file);
    return a;
}

void buildDefaultMenus()
{
    MenuNode* apps = newMenuNode();
    copyField(apps->name, "&Apps");
    appendMenu(apps);
    appendApp(apps, defaultApp("Visual &C++ v4.0", "c:\\vc40\\bin\\msdev.exe"));
    appendApp(apps, defaultApp("&Word v7.0", "c:\\winword\\winword.exe"));

    MenuNode* games = newMenuNode();
    copyField(games->name, "&Games");
    appendMenu(games);
    appendApp(games, windowsApp("&Minesweeper", "\\winmine.exe"));
    appendApp(games, windowsApp("&Solitaire", "\\sol.exe"));
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

static void failAppRecord(FILE* file, int menuNumber, int appNumber)
{
    char text[256];
    formatText(text, sizeof text,
               "Error reading menu: %d app: %d\nfrom data file: %s. Please\n"
               "delete it and restart Zentor.",
               menuNumber, appNumber, dataFilePath);
    fclose(file);
    fatalError(text);
}

// True when nothing at all stands at the path, so the defaults may take
// its place; any other reason a file cannot be opened is not "no file".
static int fileIsMissing(const char* path)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Opens the data file for reading. A file that exists but cannot be opened
// is tried again for about a second (a virus scanner's or backup's lock is
// short); after that the program ends without touching it, since running on
// the default menus would save them over the user's own at exit.
static FILE* openDataFile()
{
    for (int attempt = 0;; attempt++) {
        FILE* file = fopen(dataFilePath, "rb");
        if (file || fileIsMissing(dataFilePath))
            return file;
        if (attempt == OPEN_RETRIES)
            break;
        Sleep(OPEN_RETRY_MS);
    }
    char text[256];
    formatText(text, sizeof text,
               "Could not read data file: %s.\nIt may be in use by another program,\n"
               "or you may not have permission to read it.\nPlease check it and restart Zentor.",
               dataFilePath);
    fatalError(text);
}

int loadMenuFile()
{
    FILE* file = openDataFile();
    if (!file) {
        buildDefaultMenus();
        return 1;
    }
    if (fileLength(file) == 0) {
        fclose(file);
        buildDefaultMenus();
        return 1;
    }
    uint8_t data[IO_BLOCK_SIZE];
    FileBlock block;
    openBlock(&block, file, data);

    uint8_t record[APP_RECORD_SIZE];
    if (!readBytes(&block, record, 4) || getInt32(record) != MENU_FILE_VERSION) {
        fclose(file);
        fatalError("Old or invalid data file found.  Please\ndelete it and restart Zentor.");
    }

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
            if (!bytes)
                failAppRecord(file, menuNumber, (int)i);
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
    fclose(file);
    return 1;
}

// Writes every record to an open stream; returns 1 when all bytes went out.
static int writeMenus(FILE* file)
{
    uint8_t data[IO_BLOCK_SIZE];
    FileBlock block;
    openBlock(&block, file, data);
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

// Writes the new file beside the target and puts it in the target's place
// only once every byte is on disk, so a failed save never costs the user the
// menus stored before.
int saveMenuFile()
{
    const char* target = dataFilePath[0] ? dataFilePath : "default.zt";
    char temporary[MAX_PATH + 16];
    formatText(temporary, sizeof temporary, "%s.new", target);

    // A read-only file or a directory in the target's place is not ours to
    // replace; a rename would do so behind the user's back on some systems.
    DWORD attributes = GetFileAttributesA(target);
    int replaceable = attributes == INVALID_FILE_ATTRIBUTES ||
                      !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));

    int ok = 0;
    FILE* file = replaceable ? fopen(temporary, "wb") : nullptr;
    if (file) {
        ok = writeMenus(file);
        ok = fflush(file) == 0 && ok;
        ok = FlushFileBuffers((HANDLE)_get_osfhandle(_fileno(file))) && ok;
        ok = fclose(file) == 0 && ok;
        if (ok)
            ok = MoveFileExA(temporary, target,
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        if (!ok)
            DeleteFileA(temporary);
    }
    if (!ok)
        showWarningf("Could not open %s for write.\nPlease check the file.", target);
    return ok;
}
