#include "file_browse.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "../app/code_page.h"
#include "../app/message_box.h"
#include "../menus/menu_list.h"
#include "../../res/resource.h"

// Filters as the dialog wants them: description, pattern, ..., then an empty
// string (the literal's own terminator ends the list).
static const WCHAR PROGRAM_FILTER[] =
    L"Executables\0*.EXE;*.COM;*.BAT;*.PIF;*.LNK\0All Files\0*.*\0";
static const WCHAR WAV_FILTER[] = L"WAV Files\0*.WAV\0";

static const char TOO_LONG_TEXT[] =
    "The chosen file was not taken: its path is\nlonger than 79 characters.";

// Puts the chosen file into the kind's edit when its path can be stored
// there; otherwise tells the user why not. Returns 1 when it was put there.
static int takeChosenFile(int kind, HWND dialog, const WCHAR* chosen)
{
    int exact = 0;
    char* path = toCodePage(chosen, &exact);
    int taken = 0;
    if (!exact) {
        const WCHAR* format =
            kind == BROWSE_WAV
                ? L"The chosen file was not taken: Zentor's options can hold\n"
                  L"only names of the system's code page, and its name is not.\n\n%ls"
                : L"The chosen file was not taken: Zentor menus can hold\n"
                  L"only names of the system's code page, and its name is not.\n\n%ls";
        WCHAR text[MAX_PATH + 160];
        _snwprintf(text, sizeof text / sizeof *text, format, chosen);
        text[sizeof text / sizeof *text - 1] = L'\0';
        showWideWarning(text);
    } else if (strlen(path) >= APP_PATH_SIZE) {
        showWarning(TOO_LONG_TEXT);
    } else {
        SetDlgItemTextA(dialog, kind == BROWSE_WAV ? IDC_WAV_FILE : IDC_APP_PATH, path);
        taken = 1;
    }
    free(path);
    return taken;
}

void browseForFile(int kind, HWND dialog)
{
    // The dialog opens in C:\ because that is made current for it; the
    // program's own current directory is put back afterwards. (The data
    // file and the chime do not depend on it: their paths were made full
    // at start-up.)
    char previous[MAX_PATH + 1];
    DWORD length = GetCurrentDirectoryA(sizeof previous, previous);
    int remembered = length > 0 && length < sizeof previous;
    SetCurrentDirectoryA("C:\\");

    // The dialog is asked for the wide name, so a name outside the code
    // page is seen for what it is rather than stored with "?" in it. The
    // path fields hold 79 bytes; a longer choice is refused with a warning.
    WCHAR file[MAX_PATH] = L"";
    OPENFILENAMEW request;
    memset(&request, 0, sizeof request);
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    request.hwndOwner = dialog;
    request.lpstrFilter = kind == BROWSE_WAV ? WAV_FILTER : PROGRAM_FILTER;
    request.nFilterIndex = 1;
    request.lpstrFile = file;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = kind == BROWSE_WAV ? L"Find WAV File..." : L"Find Executable...";
    request.Flags = OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

    DWORD error = 0;
    if (getOpenFileName(&request, &error)) {
        if (takeChosenFile(kind, dialog, file))
            SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, IDOK), TRUE);
    } else if (error == FNERR_BUFFERTOOSMALL) {
        showWarning(TOO_LONG_TEXT);
    }
    if (remembered)
        SetCurrentDirectoryA(previous);
}
