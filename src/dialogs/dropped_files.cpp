#include "dropped_files.h"

#include <stdlib.h>
#include <string.h>

#include "menu_editor.h"
#include "../app/app.h"
#include "../app/message_box.h"
#include "../app/text.h"
#include "../../res/resource.h"

static WNDPROC listBoxProc = nullptr; // the menu list box's own procedure

// A drop is taken here and not passed on, so a list box that would also
// hand it to the dialog does not add the files twice.
static LRESULT CALLBACK menuListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DROPFILES) {
        acceptDroppedFiles(GetParent(list), (HDROP)wParam);
        return 0;
    }
    return CallWindowProcA(listBoxProc, list, message, wParam, lParam);
}

void catchDropsOnMenuList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_MENU_LIST);
    WNDPROC previous = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)menuListProc);
    if (previous && previous != menuListProc)
        listBoxProc = previous;
}

void nameFromDroppedPath(char* path, char name[APP_NAME_SIZE])
{
    // Walked character by character, so the second byte of a double-byte
    // character is never taken for a "\", a "." or a capital.
    char* fileName = path;
    char* dot = nullptr;
    for (char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\') {
            fileName = p + 1;
            dot = nullptr;
        } else if (*p == '.') {
            dot = p;
        }
    }
    char* end = dot ? dot : fileName + strlen(fileName);
    if (dot)
        for (char* p = fileName; p < end; p = CharNextA(p))
            if (*p >= 'A' && *p <= 'Z')
                *p = (char)(*p - 'A' + 'a');
    // A name too long for its field keeps the characters that fit whole.
    size_t length = 0;
    for (char* p = fileName; p < end; p = CharNextA(p)) {
        size_t through = (size_t)(CharNextA(p) - fileName);
        if (through > APP_NAME_SIZE - 1)
            break;
        length = through;
    }
    memcpy(name, fileName, length);
    name[length] = '\0';
    if (name[0] >= 'a' && name[0] <= 'z')
        name[0] = (char)(name[0] - 'a' + 'A');
    if (!name[0])
        copyText(name, APP_NAME_SIZE, "Default Name");
}

// The menu line under a drop point in the list's client area; -1 when the
// point is above the first line or below the last, or the list is empty.
static int lineUnderPoint(HWND list, POINT pt)
{
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    RECT first;
    if (count <= 0 || pt.y < 0 ||
        SendMessageA(list, LB_GETITEMRECT, 0, (LPARAM)&first) == LB_ERR)
        return -1;
    int height = first.bottom - first.top;
    if (height <= 0)
        return -1;
    int line = (int)SendMessageA(list, LB_GETTOPINDEX, 0, 0) + pt.y / height;
    return line < count ? line : -1;
}

static const char LONG_PATHS_TEXT[] =
    "These files were not added: their paths are\nlonger than 79 characters.\n";

// The most bytes one UTF-16 unit of a name takes in any ANSI code page (a
// double-byte page takes 2, UTF-8 up to 3, GB 18030 up to 4).
constexpr size_t MAX_BYTES_PER_UNIT = 4;

// A dropped file's whole path in the ANSI code page, on the heap. The
// shell's drops are wide on NT, and Windows then gives a name's length in
// UTF-16 units, not in the bytes it takes here: the buffer is made large
// enough for the longest the name can be, and the path measured in it.
static char* droppedPath(HDROP drop, UINT i)
{
    size_t size = queryDroppedFile(drop, i, nullptr, 0) * MAX_BYTES_PER_UNIT + 1;
    char* path = (char*)calloc(size, 1);
    if (!path)
        fatalError("Out of memory.");
    queryDroppedFile(drop, i, path, (UINT)size);
    path[size - 1] = '\0';
    return path;
}

static int tooLongForAnEntry(const char* path)
{
    return strlen(path) >= APP_PATH_SIZE;
}

// Every path of the drop, in the drop's order.
static char** droppedPaths(HDROP drop, UINT count)
{
    char** paths = (char**)calloc(count ? count : 1, sizeof *paths);
    if (!paths)
        fatalError("Out of memory.");
    for (UINT i = 0; i < count; i++)
        paths[i] = droppedPath(drop, i);
    return paths;
}

static void freePaths(char** paths, UINT count)
{
    for (UINT i = 0; i < count; i++)
        free(paths[i]);
    free(paths);
}

// One warning names every dropped file whose path does not fit an entry.
static void warnPathsTooLong(char** paths, UINT count)
{
    size_t size = sizeof LONG_PATHS_TEXT;
    for (UINT i = 0; i < count; i++)
        if (tooLongForAnEntry(paths[i]))
            size += strlen(paths[i]) + 1;
    if (size == sizeof LONG_PATHS_TEXT)
        return;
    char* text = (char*)malloc(size);
    if (!text)
        fatalError("Out of memory.");
    size_t used = sizeof LONG_PATHS_TEXT - 1;
    memcpy(text, LONG_PATHS_TEXT, used + 1);
    for (UINT i = 0; i < count; i++) {
        if (!tooLongForAnEntry(paths[i]))
            continue;
        text[used++] = '\n';
        size_t length = strlen(paths[i]);
        memcpy(text + used, paths[i], length + 1);
        used += length;
    }
    showWarning(text);
    free(text);
}

// Appends the dropped files to menu, the last file of the drop first;
// returns how many were added.
static int addDroppedFiles(char** paths, UINT count, MenuNode* menu)
{
    int added = 0;
    for (UINT i = count; i-- > 0;) {
        if (!paths[i][0] || tooLongForAnEntry(paths[i]))
            continue;
        AppNode* entry = newAppNode();
        copyField(entry->path, paths[i]);
        nameFromDroppedPath(entry->path, entry->name);
        appendApp(menu, entry);
        added++;
    }
    return added;
}

void acceptDroppedFiles(HWND dialog, HDROP drop)
{
    HWND list = GetDlgItem(dialog, IDC_MENU_LIST);
    UINT count = queryDroppedFile(drop, 0xFFFFFFFF, nullptr, 0);
    POINT pt = {0, 0};
    DragQueryPoint(drop, &pt);
    int line = lineUnderPoint(list, pt);
    MenuNode* menu = menuList;
    for (int i = 0; menu && i < line; i++)
        menu = menu->next;
    if (line >= 0 && menu) {
        char** paths = droppedPaths(drop, count);
        if (addDroppedFiles(paths, count, menu)) {
            // The entry list follows the selection to the menu the files
            // went to, so its lines stand for that menu's entries.
            showMenuEntries(dialog, menu);
            SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)list, TRUE);
            SendMessageA(list, LB_SETCURSEL, (WPARAM)line, 0);
        }
        warnPathsTooLong(paths, count);
        freePaths(paths, count);
    }
    DragFinish(drop);
}
