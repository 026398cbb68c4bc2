// The Options dialog's "Hot Key" box, the system's hot key control. Its
// library is loaded when the dialog first opens, not at start-up.
#include "options_dialog.h"

#ifndef ZENTOR_NT3
#include <commctrl.h>

#include "../bar/hot_key.h"
#include "../options/settings.h"
#include "../../res/resource.h"

// 1 once comctl32 has registered the hot key control's class.
static int hotKeyControlLoaded = 0;

int loadHotKeyControl()
{
    if (hotKeyControlLoaded)
        return 1;
    typedef BOOL(WINAPI * InitControlsCall)(const INITCOMMONCONTROLSEX*);
    HMODULE library = LoadLibraryA("comctl32.dll");
    InitControlsCall initControls =
        library ? (InitControlsCall)GetProcAddress(library, "InitCommonControlsEx") : nullptr;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_HOTKEY_CLASS};
    // The library stays: its class serves every later opening.
    hotKeyControlLoaded = initControls && initControls(&classes);
    return hotKeyControlLoaded;
}

void fillHotKeyBox(HWND dialog)
{
    // A key alone, or with Shift alone, would be taken from every program:
    // the control adds Ctrl + Alt to it.
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                        MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, (WPARAM)(barSettings.hotKey & 0xFFFF), 0);
}

void takeHotKeyBox(HWND dialog)
{
    int32_t hotKey = (int32_t)(SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    if (hotKey == barSettings.hotKey)
        return;
    releaseHotKey();
    barSettings.hotKey = hotKey;
    if (!holdHotKey() && hotKeyState == HOT_KEY_TAKEN)
        warnHotKeyTaken();
}
#endif
