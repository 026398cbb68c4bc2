#include "menu_file.h"

#include <stdio.h>
#include <windows.h>

#include "save_calls.h"
#include "../app/app.h"
#include "../app/message_box.h"
#include "../app/start_paths.h"
#include "../app/text.h"

// How long the loader waits for a data file that exists but cannot be
// opened: OPEN_RETRIES more tries, OPEN_RETRY_MS apart.
constexpr int OPEN_RETRIES = 10;
constexpr DWORD OPEN_RETRY_MS = 100;

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

[[noreturn]] static void failAppRecord(int menuNumber, int appNumber)
{
    char text[256];
    formatText(text, sizeof text,
               "Error reading menu: %d app: %d\nfrom data file: %s. Please\n"
               "delete it and restart Zentor.",
               menuNumber, appNumber, dataFilePath);
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
        FILE* file = fopen(dataFileToUse(), "rb");
        if (file || fileIsMissing(dataFileToUse()))
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
    int badMenu = 0;
    int badApp = 0;
    MenuFileRead read = readMenus(file, &badMenu, &badApp);
    fclose(file);
    switch (read) {
    case MENU_FILE_EMPTY:
        buildDefaultMenus();
        break;
    case MENU_FILE_OLD:
        fatalError("Old or invalid data file found.  Please\ndelete it and restart Zentor.");
    case MENU_FILE_CUT_SHORT:
        failAppRecord(badMenu, badApp);
    case MENU_FILE_READ:
        break;
    }
    return 1;
}

// Writes the new file beside the target and puts it in the target's place
// only once every byte is on disk, so a failed save never costs the user the
// menus stored before.
int saveMenuFile()
{
    const char* target = dataFileToUse();
    const char* named = dataFilePath[0] ? dataFilePath : "default.zt";
    char temporary[MAX_PATH + 16];
    formatText(temporary, sizeof temporary, "%s.new", target);

    // A read-only file or a directory in the target's place is not ours to
    // replace; a rename would do so behind the user's back on some systems.
    DWORD attributes = GetFileAttributesA(target);
    int replaceable = attributes == INVALID_FILE_ATTRIBUTES ||
                      !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));

    // A temporary file left by an earlier save that was cut off is ours to
    // clear away. Something may have marked it read-only or hidden since,
    // which would refuse the new file or pass on to the data file itself.
    if (replaceable) {
        SetFileAttributesA(temporary, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(temporary);
    }
    int ok = 0;
    FILE* file = replaceable ? openSaveFile(temporary) : nullptr;
    if (file) {
        ok = writeMenus(file);
        ok = ok && flushSaveFile(file);
        ok = closeSaveFile(file) && ok;
        ok = ok && replaceWithSaveFile(temporary, target);
        if (!ok)
            DeleteFileA(temporary);
    }
    if (!ok)
        showWarningf("Could not open %s for write.\nPlease check the file.", named);
    return ok;
}
