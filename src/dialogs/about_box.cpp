#include "about_box.h"

#include "../app/app.h"
#include "../bar/bar_window.h"
#include "../../res/resource.h"

// Only OK (the button or Enter) closes the box: IDCANCEL, which Escape
// sends, is left unhandled.
INT_PTR CALLBACK aboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void openAboutBox()
{
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), barWindow, aboutDlgProc, 0);
}
