#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include "message_box.h"
#include "../bar/bar_window.h"

void showWarning(const char* text)
{
    showMessageBox(barWindow, text, "Zentor", MB_ICONWARNING);
}

void showWideWarning(const wchar_t* text)
{
    showWideMessageBox(barWindow, text, "Zentor", MB_ICONWARNING);
}

// Formats into a buffer sized for the whole text, so that a long argument or
// path is shown complete and nothing overruns.
void showWarningf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int length = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length < 0)
        return;
    char* text = (char*)malloc((size_t)length + 1);
    if (!text)
        return;
    va_start(args, format);
    vsnprintf(text, (size_t)length + 1, format, args);
    va_end(args);
    showWarning(text);
    free(text);
}
