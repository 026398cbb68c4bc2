#include "options_dialog.h"

#include "../app/app.h"
#include "../bar/bar_window.h"
#include "../../res/resource.h"

INT_PTR CALLBACK optionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}

void openOptionsDialog()
{
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_OPTIONS), barWindow, optionsDlgProc, 0);
}
