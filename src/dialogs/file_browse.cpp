#include "file_browse.h"

#include <string.h>

#include "../app/message_box.h"
#include "../menus/menu_list.h"
#include "../../res/resource.h"

// Filters as the dialog wants them: description, pattern, ..., then an empty
// string (the literal's own terminator ends the list).
static const char PROGRAM_FILTER[] = "Executables\0*.EXE;*.COM;*.BAT;*.PIF;*.LNK\0All Files\0*.*\0";
static const char WAV_FILTER[] = "WAV Files\0*.WAV\0";

void browseForFile(int kind, HWND dialog)
{
    // The dialog opens in C:\ because that is made current for it; the
    // program's own current directory (where a relative data file lives)
    // is put back afterwards.
    char previous[MAX_PATH + 1];
    DWORD length = GetCurrentDirectoryA(sizeof previous, previous);
    int remembered = length > 0 && length < sizeof previous;
    SetCurrentDirectoryA("C:\\");

    // The path fields hold 79 characters; a longer choice fails in the
    // dialog rather than being stored cut, and the user is told why.
    char file[APP_PATH_SIZE] = "";
    OPENFILENAMEA request;
    memset(&request, 0, sizeof request);
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = dialog;
    request.lpstrFilter = kind == BROWSE_WAV ? WAV_FILTER : PROGRAM_FILTER;
    request.nFilterIndex = 1;
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.lpstrTitle = kind == BROWSE_WAV ? "Find WAV File..." : "Find Executable...";
    request.Flags = OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

    DWORD error = 0;
    if (getOpenFileName(&request, &error)) {
        SetDlgItemTextA(dialog, kind == BROWSE_WAV ? IDC_WAV_FILE : IDC_APP_PATH, file);
        SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, IDOK), TRUE);
    } else if (error == FNERR_BUFFERTOOSMALL) {
        showWarning("The chosen file was not taken: its path is\nlonger than 79 characters.");
    }
    if (remembered)
        SetCurrentDirectoryA(previous);
}
