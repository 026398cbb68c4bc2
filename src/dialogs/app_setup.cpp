#include "setup_dialogs.h"

#include <stdlib.h>

#include "file_browse.h"
#include "menu_editor.h"
#include "../app/message_box.h"
#include "../app/text.h"
#include "../../res/resource.h"

// What the open Application Setup works on: the editor's request (null once
// released), the entry being filled in, and the editor's application-list
// line it was opened for.
static SetupRequest* appRequest = nullptr;
static AppNode* appRecord = nullptr;
static int appLine = -1;

static int showButton(int32_t showCommand)
{
    if (showCommand == SW_MAXIMIZE)
        return IDC_SHOW_MAXIMIZE;
    if (showCommand == SW_MINIMIZE)
        return IDC_SHOW_MINIMIZE;
    return IDC_SHOW_NORMAL;
}

static int32_t checkedShowCommand(HWND dialog)
{
    if (IsDlgButtonChecked(dialog, IDC_SHOW_MAXIMIZE) == BST_CHECKED)
        return SW_MAXIMIZE;
    if (IsDlgButtonChecked(dialog, IDC_SHOW_MINIMIZE) == BST_CHECKED)
        return SW_MINIMIZE;
    return SW_RESTORE;
}

// The edit shows text and takes no more than its field holds, so nothing
// the user types is cut without their seeing it.
static void setEdit(HWND dialog, int id, const char* text, int fieldSize)
{
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, (WPARAM)(fieldSize - 1), 0);
    SetDlgItemTextA(dialog, id, text);
}

// A new entry joins its menu only at OK.
static BOOL openAppSetup(HWND dialog, SetupRequest* request)
{
    appRequest = request;
    appRecord = request->isNew ? newAppNode() : request->app;
    CheckRadioButton(dialog, IDC_SHOW_NORMAL, IDC_SHOW_MINIMIZE, showButton(appRecord->showCommand));
    appLine = (int)SendDlgItemMessageA(editorWindow, IDC_APP_LIST, LB_GETCURSEL, 0, 0);
    setEdit(dialog, IDC_APP_PATH, appRecord->path, APP_PATH_SIZE);
    setEdit(dialog, IDC_APP_NAME, appRecord->name, APP_NAME_SIZE);
    setEdit(dialog, IDC_APP_DIR, appRecord->workingDir, APP_DIR_SIZE);
    setEdit(dialog, IDC_APP_PARAMS, appRecord->parameters, APP_PARAMS_SIZE);
    SetFocus(GetDlgItem(dialog, IDC_APP_NAME));
    return FALSE;
}

// Gives back the request and a new entry that was not linked; harmless when
// called again.
static void releaseAppSetup()
{
    if (appRequest && appRequest->isNew && appRecord)
        releaseAppNode(appRecord);
    free(appRequest);
    appRequest = nullptr;
    appRecord = nullptr;
}

static void closeAppSetup(HWND dialog)
{
    releaseAppSetup();
    EndDialog(dialog, 1);
}

// Each text is read whole before anything is stored, so a refused OK leaves
// the entry as it was.
static void acceptAppSetup(HWND dialog)
{
    char path[APP_PATH_SIZE], name[APP_NAME_SIZE];
    char parameters[APP_PARAMS_SIZE], workingDir[APP_DIR_SIZE];
    GetDlgItemTextA(dialog, IDC_APP_PATH, path, sizeof path);
    GetDlgItemTextA(dialog, IDC_APP_NAME, name, sizeof name);
    if (!path[0] || !name[0]) {
        showWarning("The application must have a name\nand associated filename.");
        return;
    }
    GetDlgItemTextA(dialog, IDC_APP_PARAMS, parameters, sizeof parameters);
    GetDlgItemTextA(dialog, IDC_APP_DIR, workingDir, sizeof workingDir);
    copyField(appRecord->path, path);
    copyField(appRecord->name, name);
    copyField(appRecord->parameters, parameters);
    copyField(appRecord->workingDir, workingDir);
    appRecord->showCommand = checkedShowCommand(dialog);

    HWND list = GetDlgItem(editorWindow, IDC_APP_LIST);
    if (appRequest->isNew) {
        appendApp(appRequest->menu, appRecord);
        appRecord = nullptr; // the menu's now
        // A line only where the list shows this menu: it stands for the
        // entry at its position.
        if (appRequest->menu == editorShownMenu)
            putLine(list, -1, name, ENTRY_LINE);
    } else if (appLine >= 0) {
        SendMessageA(list, LB_DELETESTRING, (WPARAM)appLine, 0);
        putLine(list, appLine, name, ENTRY_LINE);
    }
    closeAppSetup(dialog);
}

INT_PTR CALLBACK appSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return openAppSetup(dialog, (SetupRequest*)lParam);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            acceptAppSetup(dialog);
            return TRUE;
        case IDCANCEL:
            closeAppSetup(dialog);
            return TRUE;
        case IDC_APP_FIND:
            browseForFile(BROWSE_PROGRAM, dialog);
            return FALSE;
        }
        return FALSE;
    case WM_DESTROY:
        releaseAppSetup();
        return FALSE;
    }
    return FALSE;
}
