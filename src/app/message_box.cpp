// The real message box. Test executables replace this file with their own.
#include "message_box.h"

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    return MessageBoxA(owner, text, caption, type);
}

int showWideMessageBox(HWND owner, const wchar_t* text, const char* caption, UINT type)
{
    // Captions are short ASCII texts.
    wchar_t wideCaption[64];
    if (!MultiByteToWideChar(CP_ACP, 0, caption, -1, wideCaption, 64))
        wideCaption[0] = L'\0';
    return MessageBoxW(owner, text, wideCaption, type);
}
