#include "setup_dialogs.h"

#include <stdlib.h>

#include "menu_editor.h"
#include "../app/message_box.h"
#include "../app/text.h"
#include "../../res/resource.h"

// What the open Menu Setup works on: the editor's request (null once
// released), the menu being named, and the editor's menu-list line it was
// opened for.
static SetupRequest* menuRequest = nullptr;
static MenuNode* menuRecord = nullptr;
static int menuLine = -1;

// A new menu joins the list only at OK, so however the dialog ends before
// that (Cancel, Escape, the editor or the bar going away, the session
// ending) the lists and the saved file never hold a nameless menu.
static BOOL openMenuSetup(HWND dialog, SetupRequest* request)
{
    menuRequest = request;
    menuRecord = request->isNew ? newMenuNode() : request->menu;
    HWND edit = GetDlgItem(dialog, IDC_MENU_NAME);
    SendMessageA(edit, EM_LIMITTEXT, MENU_NAME_SIZE - 1, 0);
    SetFocus(edit);
    SetWindowTextA(edit, menuRecord->name);
    menuLine = (int)SendDlgItemMessageA(editorWindow, IDC_MENU_LIST, LB_GETCURSEL, 0, 0);
    return FALSE;
}

// Gives back the request and a new menu that was not linked; harmless when
// called again.
static void releaseMenuSetup()
{
    if (menuRequest && menuRequest->isNew && menuRecord)
        releaseMenuNode(menuRecord);
    free(menuRequest);
    menuRequest = nullptr;
    menuRecord = nullptr;
}

static void closeMenuSetup(HWND dialog)
{
    releaseMenuSetup();
    EndDialog(dialog, 1);
}

static void acceptMenuSetup(HWND dialog)
{
    char name[MENU_NAME_SIZE];
    GetDlgItemTextA(dialog, IDC_MENU_NAME, name, sizeof name);
    if (!name[0]) {
        showWarning("The menu must have a name!");
        return;
    }
    copyField(menuRecord->name, name);
    HWND list = GetDlgItem(editorWindow, IDC_MENU_LIST);
    if (menuRequest->isNew) {
        appendMenu(menuRecord);
        menuRecord = nullptr; // the list's now
        putLine(list, -1, name, ENTRY_LINE);
    } else if (menuLine >= 0) {
        SendMessageA(list, LB_DELETESTRING, (WPARAM)menuLine, 0);
        putLine(list, menuLine, name, ENTRY_LINE);
    }
    closeMenuSetup(dialog);
}

INT_PTR CALLBACK menuSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return openMenuSetup(dialog, (SetupRequest*)lParam);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            acceptMenuSetup(dialog);
            return TRUE;
        case IDCANCEL:
            closeMenuSetup(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        releaseMenuSetup();
        return FALSE;
    }
    return FALSE;
}
