// The file-open dialog behind Application Setup's "&Find..." and the Options
// dialog's "Find...".
#ifndef ZENTOR_FILE_BROWSE_H
#define ZENTOR_FILE_BROWSE_H

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

// What browseForFile looks for, and where it puts the chosen path.
constexpr int BROWSE_PROGRAM = 0; // "Find Executable...", into edit 1014
constexpr int BROWSE_WAV = 1;     // "Find WAV File...", into edit 1003

// Opens the file dialog in C:\ over dialog; a chosen file's full path becomes
// the text of the kind's edit and the focus moves to OK. A path too long for
// the edit's field, or with characters the ANSI code page cannot hold, is
// refused with a warning. The process's current
// directory is the same afterwards.
void browseForFile(int kind, HWND dialog);

// The system's file-open dialog. In a file of its own so tests can answer it.
// Returns TRUE when a file was chosen; otherwise *error is the dialog's
// extended error, 0 when the user cancelled.
BOOL getOpenFileName(OPENFILENAMEW* request, DWORD* error);

#endif
