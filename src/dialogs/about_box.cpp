#include "about_box.h"

#include "../app/app.h"
#include "../bar/bar_window.h"
#include "../../res/resource.h"

INT_PTR CALLBACK aboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}

void openAboutBox()
{
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), barWindow, aboutDlgProc, 0);
}
