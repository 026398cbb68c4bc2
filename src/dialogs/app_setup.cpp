#include "setup_dialogs.h"

INT_PTR CALLBACK appSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}
