// The About box (dialog 104).
#ifndef ZENTOR_ABOUT_BOX_H
#define ZENTOR_ABOUT_BOX_H

#include <windows.h>

INT_PTR CALLBACK aboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "&About Zentor...": shows the box, modal over the bar.
void openAboutBox();

#endif
