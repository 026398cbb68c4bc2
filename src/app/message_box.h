// The program's message boxes. showMessageBox is the one place that shows a
// box; tests link their own version of it to read and answer the boxes.
#ifndef ZENTOR_MESSAGE_BOX_H
#define ZENTOR_MESSAGE_BOX_H

#include <windows.h>

#include "warning.h"

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// The same with a wide text, for names the ANSI code page cannot show.
int showWideMessageBox(HWND owner, const wchar_t* text, const char* caption, UINT type);

#endif
