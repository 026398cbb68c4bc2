// The Options dialog (dialog 101): the user options, applied to the running
// bar at OK.
#ifndef ZENTOR_OPTIONS_DIALOG_H
#define ZENTOR_OPTIONS_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK optionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "&Options...": runs the dialog, modal over the bar, and applies what it
// changed.
void openOptionsDialog();

#ifndef ZENTOR_NT3
// The "Monitor" list: the monitors there are, the bar's own chosen.
void fillMonitorBox(HWND dialog);
// Stores the monitor chosen when the user chose another one than the bar's.
void takeMonitorBox(HWND dialog);
// Makes the hot key control's class known (comctl32); 1 when it is.
int loadHotKeyControl();
// The "Hot Key" box: the bar's combination, none, or another one.
void fillHotKeyBox(HWND dialog);
// Stores a changed combination and holds it for the bar; one that another
// program holds is named in a warning.
void takeHotKeyBox(HWND dialog);
#endif

#endif
