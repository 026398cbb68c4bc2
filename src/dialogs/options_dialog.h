// The Options dialog (dialog 101): the user options, applied to the running
// bar at OK.
#ifndef ZENTOR_OPTIONS_DIALOG_H
#define ZENTOR_OPTIONS_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK optionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "&Options...": runs the dialog, modal over the bar, and applies what it
// changed.
void openOptionsDialog();

#endif
