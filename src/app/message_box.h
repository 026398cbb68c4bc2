// The program's message boxes. showMessageBox is the one place that shows a
// box; tests link their own version of it to read and answer the boxes.
#ifndef ZENTOR_MESSAGE_BOX_H
#define ZENTOR_MESSAGE_BOX_H

#include <windows.h>

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Warning box owned by the bar (no owner before the bar exists).
void showWarning(const char* text);

// printf-style warning, formatted in full however long the arguments.
void showWarningf(const char* format, ...) __attribute__((format(printf, 1, 2)));

#endif
