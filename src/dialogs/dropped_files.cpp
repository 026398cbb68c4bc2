#include "dropped_files.h"

#include <stdlib.h>
#include <string.h>

#include "menu_editor.h"
#include "../app/app.h"
#include "../app/code_page.h"
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

static const WCHAR LONG_PATHS_TEXT[] =
    L"These files were not added: their paths are\nlonger than 79 characters.\n";
static const WCHAR OTHER_CODE_PAGE_TEXT[] =
    L"These files were not added: Zentor menus can hold only\n"
    L"names of the system's code page, and theirs are not.\n";

// One dropped file: its path as the shell gives it, and in the ANSI code
// page, where a path takes as many bytes as it takes there (a Chinese or
// Japanese character two).
struct DroppedFile {
    WCHAR* wide;
    char* path;
    int exact; // 1 when path names the same file as wide
};

static DroppedFile droppedFile(HDROP drop, UINT i)
{
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    DroppedFile file;
    file.wide = (WCHAR*)calloc((size_t)length + 1, sizeof(WCHAR));
    if (!file.wide)
        fatalError("Out of memory.");
    DragQueryFileW(drop, i, file.wide, length + 1);
    file.path = toCodePage(file.wide, &file.exact);
    return file;
}

static int tooLongForAnEntry(const DroppedFile& file)
{
    return file.exact && strlen(file.path) >= APP_PATH_SIZE;
}

static int canBeAnEntry(const DroppedFile& file)
{
    return file.exact && file.path[0] && !tooLongForAnEntry(file);
}

// Every file of the drop, in the drop's order.
static DroppedFile* droppedFiles(HDROP drop, UINT count)
{
    DroppedFile* files = (DroppedFile*)calloc(count ? count : 1, sizeof *files);
    if (!files)
        fatalError("Out of memory.");
    for (UINT i = 0; i < count; i++)
        files[i] = droppedFile(drop, i);
    return files;
}

static void freeFiles(DroppedFile* files, UINT count)
{
    for (UINT i = 0; i < count; i++) {
        free(files[i].wide);
        free(files[i].path);
    }
    free(files);
}

// What keeps a dropped file out of the menus.
constexpr int PATH_TOO_LONG = 0;
constexpr int OTHER_CODE_PAGE = 1;

static int refusedFor(const DroppedFile& file, int reason)
{
    return reason == PATH_TOO_LONG ? tooLongForAnEntry(file) : !file.exact;
}

// One warning names, as the shell shows them, every dropped file refused for
// the reason.
static void warnRefused(const DroppedFile* files, UINT count, int reason)
{
    const WCHAR* lead = reason == PATH_TOO_LONG ? LONG_PATHS_TEXT : OTHER_CODE_PAGE_TEXT;
    size_t used = wcslen(lead);
    size_t size = used + 1;
    for (UINT i = 0; i < count; i++)
        if (refusedFor(files[i], reason))
            size += wcslen(files[i].wide) + 1;
    if (size == used + 1)
        return;
    WCHAR* text = (WCHAR*)malloc(size * sizeof(WCHAR));
    if (!text)
        fatalError("Out of memory.");
    memcpy(text, lead, (used + 1) * sizeof(WCHAR));
    for (UINT i = 0; i < count; i++) {
        if (!refusedFor(files[i], reason))
            continue;
        text[used++] = L'\n';
        size_t length = wcslen(files[i].wide);
        memcpy(text + used, files[i].wide, (length + 1) * sizeof(WCHAR));
        used += length;
    }
    showWideWarning(text);
    free(text);
}

// Appends the dropped files to menu, the last file of the drop first;
// returns how many were added.
static int addDroppedFiles(const DroppedFile* files, UINT count, MenuNode* menu)
{
    int added = 0;
    for (UINT i = count; i-- > 0;) {
        if (!canBeAnEntry(files[i]))
            continue;
        AppNode* entry = newAppNode();
        copyField(entry->path, files[i].path);
        nameFromDroppedPath(entry->path, entry->name);
        appendApp(menu, entry);
        added++;
    }
    return added;
}

void acceptDroppedFiles(HWND dialog, HDROP drop)
{
    HWND list = GetDlgItem(dialog, IDC_MENU_LIST);
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    POINT pt = {0, 0};
    DragQueryPoint(drop, &pt);
    int line = lineUnderPoint(list, pt);
    MenuNode* menu = menuList;
    for (int i = 0; menu && i < line; i++)
        menu = menu->next;
    if (line >= 0 && menu) {
        DroppedFile* files = droppedFiles(drop, count);
        if (addDroppedFiles(files, count, menu)) {
            // The entry list follows the selection to the menu the files
            // went to, so its lines stand for that menu's entries.
            showMenuEntries(dialog, menu);
            SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)list, TRUE);
            SendMessageA(list, LB_SETCURSEL, (WPARAM)line, 0);
        }
        warnRefused(files, count, OTHER_CODE_PAGE);
        warnRefused(files, count, PATH_TOO_LONG);
        freeFiles(files, count);
    }
    DragFinish(drop);
}
