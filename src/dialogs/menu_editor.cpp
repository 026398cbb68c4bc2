#include "menu_editor.h"

#include <stdlib.h>

#include "dropped_files.h"
#include "setup_dialogs.h"
#include "../app/app.h"
#include "../app/message_box.h"
#include "../bar/bar_window.h"
#include "../bar/status.h"
#include "../menus/menu_bar.h"
#include "../menus/menu_file.h"
#include "../../res/resource.h"

HWND editorWindow = nullptr;
MenuNode* editorShownMenu = nullptr;

// The arrow pictures by icon id from IDI_ARROW_UP on; loaded at the first
// paint that needs them and kept for the rest of the run.
static HICON arrowIcons[4];

static HWND menuListBox(HWND dialog)
{
    return GetDlgItem(dialog, IDC_MENU_LIST);
}

static HWND appListBox(HWND dialog)
{
    return GetDlgItem(dialog, IDC_APP_LIST);
}

static int selectedLine(HWND list)
{
    return (int)SendMessageA(list, LB_GETCURSEL, 0, 0);
}

// Gives the focus to a list and selects its line (none when there is no
// such line), without a notification.
static void focusLine(HWND dialog, HWND list, int line)
{
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)list, TRUE);
    if (line >= (int)SendMessageA(list, LB_GETCOUNT, 0, 0))
        line = -1;
    SendMessageA(list, LB_SETCURSEL, (WPARAM)line, 0);
}

void putLine(HWND list, int index, const char* text, LPARAM kind)
{
    LRESULT at = SendMessageA(list, LB_INSERTSTRING, (WPARAM)index, (LPARAM)text);
    // A new line's item data is 0 already: only separators need a mark.
    if (at >= 0 && kind != ENTRY_LINE)
        SendMessageA(list, LB_SETITEMDATA, (WPARAM)at, kind);
}

// A list being filled is drawn once at the end, not after every line.
static void startFilling(HWND list)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

static void endFilling(HWND list)
{
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

static void fillMenuList(HWND dialog)
{
    HWND list = menuListBox(dialog);
    startFilling(list);
    for (MenuNode* m = menuList; m; m = m->next)
        putLine(list, -1, m->name, ENTRY_LINE);
    endFilling(list);
}

void showMenuEntries(HWND dialog, MenuNode* menu)
{
    HWND list = appListBox(dialog);
    startFilling(list);
    for (AppNode* a = menu ? menu->firstApp : nullptr; a; a = a->next) {
        if (a->separatorBefore)
            putLine(list, -1, SEPARATOR_TEXT, SEPARATOR_LINE);
        putLine(list, -1, a->name, ENTRY_LINE);
    }
    endFilling(list);
    editorShownMenu = menu;
}

// Menu line i stands for the i-th menu, whatever its name: two menus of the
// same name are still two lines.
static MenuNode* menuAtLine(int line)
{
    MenuNode* m = line >= 0 ? menuList : nullptr;
    for (int i = 0; m && i < line; i++)
        m = m->next;
    if (!m)
        showWarning("Menu not found in linked list!");
    return m;
}

// The menu of the menu list's selected line; null after a warning, the
// missing text when no line is selected.
static MenuNode* selectedMenu(HWND dialog, const char* missing, int* line = nullptr)
{
    int i = selectedLine(menuListBox(dialog));
    if (i < 0) {
        showWarning(missing);
        return nullptr;
    }
    if (line)
        *line = i;
    return menuAtLine(i);
}

static LPARAM lineKind(HWND list, int line)
{
    return SendMessageA(list, LB_GETITEMDATA, (WPARAM)line, 0);
}

// The entry that a line of the application list stands for: the entries of
// the shown menu counted from its firstApp, separator lines skipped. Null,
// without a word, for a separator line; null after a warning for a line
// that stands for no entry of menu (the list shows another menu).
static AppNode* entryAtLine(HWND dialog, MenuNode* menu, int line)
{
    HWND list = appListBox(dialog);
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    int exists = line >= 0 && line < count;
    if (exists && lineKind(list, line) == SEPARATOR_LINE)
        return nullptr;
    AppNode* a = exists && menu == editorShownMenu ? menu->firstApp : nullptr;
    for (int i = 0; a && i < line; i++)
        if (lineKind(list, i) == ENTRY_LINE)
            a = a->next;
    if (!a)
        showWarning("Application not found in linked list!");
    return a;
}

static AppNode* lastEntry(MenuNode* menu)
{
    AppNode* a = menu->firstApp;
    while (a && a->next)
        a = a->next;
    return a;
}

static MenuNode* lastMenu()
{
    MenuNode* m = menuList;
    while (m && m->next)
        m = m->next;
    return m;
}

// Runs a setup dialog over the editor; the dialog releases the request.
static void runSetup(HWND dialog, int templateId, DLGPROC procedure, AppNode* app,
                     MenuNode* menu, int isNew)
{
    SetupRequest* request = (SetupRequest*)malloc(sizeof *request);
    if (!request)
        fatalError("Out of memory.");
    request->app = app;
    request->menu = menu;
    request->isNew = isNew;
    // A dialog that could not be made never took the request.
    if (DialogBoxParamA(appInstance, MAKEINTRESOURCEA(templateId), dialog, procedure,
                        (LPARAM)request) == -1)
        free(request);
}

static BOOL openEditor(HWND dialog)
{
    editorWindow = dialog;
    editorShownMenu = nullptr;
    fillMenuList(dialog);
    DragAcceptFiles(menuListBox(dialog), TRUE);
    catchDropsOnMenuList(dialog);
    EnableWindow(GetDlgItem(dialog, IDC_DELETE_MENU), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_DELETE_ITEM), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_SEPARATOR), FALSE);
    return TRUE;
}

static void onMenuChosen(HWND dialog)
{
    EnableWindow(GetDlgItem(dialog, IDC_DELETE_MENU), TRUE);
    int line = selectedLine(menuListBox(dialog));
    if (line < 0)
        return;
    MenuNode* menu = menuAtLine(line);
    if (menu)
        showMenuEntries(dialog, menu);
}

static void onEntryChosen(HWND dialog)
{
    EnableWindow(GetDlgItem(dialog, IDC_DELETE_ITEM), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_SEPARATOR), TRUE);
}

static void editMenu(HWND dialog)
{
    MenuNode* menu = selectedMenu(dialog, "Please select a menu first.");
    if (menu)
        runSetup(dialog, IDD_MENU_SETUP, menuSetupDlgProc, nullptr, menu, 0);
}

static void editEntry(HWND dialog)
{
    MenuNode* menu = selectedMenu(dialog, "Please select a menu first.");
    if (!menu)
        return;
    int line = selectedLine(appListBox(dialog));
    if (line < 0)
        return;
    AppNode* entry = entryAtLine(dialog, menu, line);
    if (entry)
        runSetup(dialog, IDD_APP_SETUP, appSetupDlgProc, entry, menu, 0);
}

static void newMenu(HWND dialog)
{
    runSetup(dialog, IDD_MENU_SETUP, menuSetupDlgProc, nullptr, lastMenu(), 1);
}

static void newEntry(HWND dialog)
{
    MenuNode* menu = selectedMenu(dialog, "Please select a menu first.");
    if (menu)
        runSetup(dialog, IDD_APP_SETUP, appSetupDlgProc, lastEntry(menu), menu, 1);
}

static int confirmDeletion(HWND dialog, const char* question)
{
    return showMessageBox(dialog, question, "Confirm Deletion", MB_YESNO) == IDYES;
}

static void deleteMenu(HWND dialog)
{
    int line = 0;
    MenuNode* menu = selectedMenu(dialog, "Please select a menu first.", &line);
    if (!menu)
        return;
    if (confirmDeletion(dialog, "Are you sure you want to delete\nthis menu and all related apps?")) {
        freeMenu(menu);
        SendMessageA(menuListBox(dialog), LB_DELETESTRING, (WPARAM)line, 0);
        showMenuEntries(dialog, nullptr);
    }
    focusLine(dialog, menuListBox(dialog), line);
}

// The selected menu and the application list's selected line; 0 after the
// warning for whichever is missing.
static int selectedMenuAndLine(HWND dialog, const char* noMenu, const char* noLine,
                               MenuNode** menu, int* line)
{
    *menu = selectedMenu(dialog, noMenu);
    if (!*menu)
        return 0;
    *line = selectedLine(appListBox(dialog));
    if (*line < 0) {
        showWarning(noLine);
        return 0;
    }
    return 1;
}

// The same for Delete Item and Separator, which warn in words of their own.
static int selectedItemLine(HWND dialog, MenuNode** menu, int* line)
{
    return selectedMenuAndLine(dialog, "Please select a menu first", "Please select an item first",
                               menu, line);
}

// Deletes the entry of line j, or the separator when line j is one (the
// separator belongs to the entry below it).
static void deleteItem(HWND dialog)
{
    MenuNode* menu = nullptr;
    int line = 0;
    if (!selectedItemLine(dialog, &menu, &line))
        return;
    HWND list = appListBox(dialog);
    if (confirmDeletion(dialog, "Are you sure you want to delete this item?")) {
        int separator = lineKind(list, line) == SEPARATOR_LINE;
        AppNode* entry = entryAtLine(dialog, menu, separator ? line + 1 : line);
        if (!entry)
            return;
        if (separator) {
            entry->separatorBefore = 0;
        } else {
            if (entry == menu->firstApp)
                menu->firstApp = entry->next;
            freeApp(entry);
            menu->appCount--;
        }
        SendMessageA(list, LB_DELETESTRING, (WPARAM)line, 0);
    }
    focusLine(dialog, list, line);
}

static void addSeparator(HWND dialog)
{
    MenuNode* menu = nullptr;
    int line = 0;
    if (!selectedItemLine(dialog, &menu, &line))
        return;
    HWND list = appListBox(dialog);
    AppNode* entry = entryAtLine(dialog, menu, line);
    if (!entry || entry->separatorBefore)
        return;
    entry->separatorBefore = 1;
    putLine(list, line, SEPARATOR_TEXT, SEPARATOR_LINE);
}

static int lineAfterMove(int line, int direction)
{
    if (direction == VK_UP)
        return line > 0 ? line - 1 : 0;
    return line + 1;
}

static void moveSelectedMenu(HWND dialog, int direction)
{
    int line = 0;
    MenuNode* menu = selectedMenu(dialog, "Please select a menu first", &line);
    if (!menu)
        return;
    moveMenu(menu, direction);
    fillMenuList(dialog);
    focusLine(dialog, menuListBox(dialog), lineAfterMove(line, direction));
}

static void moveSelectedEntry(HWND dialog, int direction)
{
    MenuNode* menu = nullptr;
    int line = 0;
    if (!selectedMenuAndLine(dialog, "Please select a menu first.", "Please select an app first.",
                             &menu, &line))
        return;
    AppNode* entry = entryAtLine(dialog, menu, line);
    if (!entry)
        return;
    // The list keeps its head: a move onto or off the first place changes it.
    if (direction == VK_UP && menu->firstApp && entry == menu->firstApp->next)
        menu->firstApp = entry;
    else if (direction == VK_DOWN && entry == menu->firstApp && entry->next)
        menu->firstApp = entry->next;
    moveApp(entry, direction);
    showMenuEntries(dialog, menu);
    focusLine(dialog, appListBox(dialog), lineAfterMove(line, direction));
}

// OK: the file first, so the bar never shows menus that are not saved.
static void closeEditor(HWND dialog)
{
    saveMenuFile();
    // A bar that kept its menu bar was not repainted, and its status text
    // still stands; a new one is drawn again, text and all.
    if (rebuildMenuBar())
        updateStatus();
    EndDialog(dialog, 1);
}

static void onMenuListNotice(HWND dialog, int code)
{
    if (code == LBN_SELCHANGE)
        onMenuChosen(dialog);
    else if (code == LBN_DBLCLK)
        editMenu(dialog);
}

static void onAppListNotice(HWND dialog, int code)
{
    if (code == LBN_SELCHANGE)
        onEntryChosen(dialog);
    else if (code == LBN_DBLCLK)
        editEntry(dialog);
}

// Escape's IDCANCEL, like every command not listed, does nothing: the
// editor closes only through OK, which saves.
static void onCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDC_MENU_LIST:
        onMenuListNotice(dialog, code);
        break;
    case IDC_APP_LIST:
        onAppListNotice(dialog, code);
        break;
    case IDC_NEW_MENU:
        newMenu(dialog);
        break;
    case IDC_NEW_APP:
        newEntry(dialog);
        break;
    case IDC_DELETE_MENU:
        deleteMenu(dialog);
        break;
    case IDC_DELETE_ITEM:
        deleteItem(dialog);
        break;
    case IDC_SEPARATOR:
        addSeparator(dialog);
        break;
    case IDC_MENU_UP:
        moveSelectedMenu(dialog, VK_UP);
        break;
    case IDC_MENU_DOWN:
        moveSelectedMenu(dialog, VK_DOWN);
        break;
    case IDC_APP_UP:
        moveSelectedEntry(dialog, VK_UP);
        break;
    case IDC_APP_DOWN:
        moveSelectedEntry(dialog, VK_DOWN);
        break;
    case IDOK:
        closeEditor(dialog);
        break;
    }
}

void drawArrowButton(const DRAWITEMSTRUCT* item, UINT controlId)
{
    for (int i = 0; i < 4; i++)
        if (!arrowIcons[i])
            arrowIcons[i] = (HICON)LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_ARROW_UP + i),
                                              IMAGE_ICON, 16, 16, 0);
    int pressed = (item->itemState & ODS_SELECTED) != 0;
    int icon;
    switch (controlId) {
    case IDC_MENU_UP:
    case IDC_APP_UP:
        icon = pressed ? IDI_ARROW_UP_PRESSED : IDI_ARROW_UP;
        break;
    case IDC_MENU_DOWN:
    case IDC_APP_DOWN:
        icon = pressed ? IDI_ARROW_DOWN_PRESSED : IDI_ARROW_DOWN;
        break;
    default:
        return;
    }
    // The icon's face is transparent and smaller than the button: the
    // button face shows around and through it. A system colour index + 1
    // stands for its brush on every Windows, NT 3.x included.
    FillRect(item->hDC, &item->rcItem, (HBRUSH)(COLOR_BTNFACE + 1));
    DrawIconEx(item->hDC, 0, 0, arrowIcons[icon - IDI_ARROW_UP], 16, 16, 0, nullptr, DI_NORMAL);
}

INT_PTR CALLBACK menuEditorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return openEditor(dialog);
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DRAWITEM:
        drawArrowButton((const DRAWITEMSTRUCT*)lParam, (UINT)wParam);
        return TRUE;
    case WM_DROPFILES:
        acceptDroppedFiles(dialog, (HDROP)wParam);
        return TRUE;
    }
    return FALSE;
}

void openMenuEditor()
{
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MENU_EDITOR), barWindow, menuEditorDlgProc, 0);
}
