// The real message box. Test executables replace this file with their own.
#include "message_box.h"

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    return MessageBoxA(owner, text, caption, type);
}
