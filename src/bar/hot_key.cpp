#include "hot_key.h"

#ifndef ZENTOR_NT3
#include <commctrl.h>
#include <string.h>

#include "auto_hide.h"
#include "bar_window.h"
#include "../app/text.h"
#include "../app/warning.h"
#include "../menus/menu_bar.h"
#include "../options/settings.h"

HotKeyState hotKeyState = HOT_KEY_NONE;
HWND hotKeyReturn = nullptr;

constexpr int HOT_KEY_ID = 1;

// 1 while a menu of the bar is open.
static int menuOpen = 0;
// Watches the keys of a menu the hot key opened (WH_MSGFILTER).
static HHOOK menuKeyFilter = nullptr;
// 1 from the hot key until the menu it opens opens.
static int hotKeyOpening = 0;

static UINT modifiersOf(int32_t hotKey)
{
    UINT flags = (hotKey >> 8) & 0xFF;
    return (flags & HOTKEYF_SHIFT ? MOD_SHIFT : 0) | (flags & HOTKEYF_CONTROL ? MOD_CONTROL : 0) |
           (flags & HOTKEYF_ALT ? MOD_ALT : 0);
}

int holdHotKey()
{
    hotKeyState = HOT_KEY_NONE;
    int32_t hotKey = barSettings.hotKey;
    UINT key = hotKey & 0xFF;
    if (!key || !barWindow)
        return 0;
    UINT modifiers = modifiersOf(hotKey);
    // Held down, the keys do not repeat: each press opens or closes once.
    BOOL held = RegisterHotKey(barWindow, HOT_KEY_ID, modifiers | MOD_NOREPEAT, key);
    if (!held && GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED)
        held = RegisterHotKey(barWindow, HOT_KEY_ID, modifiers, key); // before Windows 7
    if (held) {
        hotKeyState = HOT_KEY_HELD;
        return 1;
    }
    hotKeyState = HOT_KEY_TAKEN;
    return 0;
}

void warnHotKeyTaken()
{
    char name[96];
    hotKeyName(barSettings.hotKey, name, sizeof name);
    showWarningf("The hot key %s is taken by another program.\n"
                 "Zentor runs without it; choose another one in Options.",
                 name);
}

void releaseHotKey()
{
    if (hotKeyState != HOT_KEY_HELD)
        return;
    UnregisterHotKey(barWindow, HOT_KEY_ID);
    hotKeyState = HOT_KEY_NONE;
}

// Appends the system's name of a key, as the keyboard driver gives it.
static void appendKeyName(char* name, size_t size, UINT key, int extended)
{
    char keyName[32] = "";
    LONG scanCode = (LONG)MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16;
    if (extended)
        scanCode |= 1L << 24;
    if (!GetKeyNameTextA(scanCode, keyName, sizeof keyName))
        formatText(keyName, sizeof keyName, "key %u", key);
    appendText(name, size, keyName);
}

void hotKeyName(int32_t hotKey, char* name, size_t size)
{
    UINT flags = (hotKey >> 8) & 0xFF;
    const struct {
        UINT flag, key;
    } modifiers[] = {{HOTKEYF_CONTROL, VK_CONTROL}, {HOTKEYF_SHIFT, VK_SHIFT}, {HOTKEYF_ALT, VK_MENU}};
    name[0] = '\0';
    for (const auto& m : modifiers) {
        if (!(flags & m.flag))
            continue;
        appendKeyName(name, size, m.key, 0);
        appendText(name, size, " + ");
    }
    appendKeyName(name, size, hotKey & 0xFF, (flags & HOTKEYF_EXT) != 0);
}

static BOOL CALLBACK countMenuWindow(HWND window, LPARAM count)
{
    char cls[16] = "";
    if (IsWindowVisible(window) && GetClassNameA(window, cls, sizeof cls) &&
        strcmp(cls, "#32768") == 0)
        ++*(int*)count;
    return TRUE;
}

// The menu windows open on this thread: 1 while only the first menu is.
static int openMenuWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countMenuWindow, (LPARAM)&count);
    return count;
}

// Whether a key is one of the modifiers of the hot key.
static int isHotKeyModifier(WPARAM key)
{
    UINT flags = (barSettings.hotKey >> 8) & 0xFF;
    return (key == VK_CONTROL && (flags & HOTKEYF_CONTROL)) ||
           (key == VK_SHIFT && (flags & HOTKEYF_SHIFT)) || (key == VK_MENU && (flags & HOTKEYF_ALT));
}

// In the menu the hot key opened: Esc closes it all, and the focus goes back
// rather than to the bar's menu bar (in a menu inside it, Esc closes that
// one only). The hot key's own modifiers are taken as the start of the hot
// key, which closes the menu, not as Alt, which would close it at once and
// leave the hot key to open it again.
static LRESULT CALLBACK filterMenuKeys(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = (const MSG*)lParam;
    if (code == MSGF_MENU && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)) {
        if (isHotKeyModifier(msg->wParam))
            return TRUE;
        if (msg->wParam == VK_ESCAPE && openMenuWindows() <= 1) {
            EndMenu();
            return TRUE;
        }
    }
    return CallNextHookEx(menuKeyFilter, code, wParam, lParam);
}

static void stopFilteringMenuKeys()
{
    if (menuKeyFilter)
        UnhookWindowsHookEx(menuKeyFilter);
    menuKeyFilter = nullptr;
}

void onHotKey()
{
    if (menuOpen) {
        EndMenu();
        return;
    }
    // A dialog of the bar is open: it comes to the front instead.
    if (!IsWindowEnabled(barWindow)) {
        SetForegroundWindow(GetLastActivePopup(barWindow));
        return;
    }
    // Out as when the mouse touches it, and hidden again the same way.
    HWND focus = GetForegroundWindow();
    onBarTouched();
    SetForegroundWindow(barWindow);
    if (GetMenuItemCount(menuBar) <= 0)
        return; // no menu to open
    hotKeyReturn = focus != barWindow ? focus : nullptr;
    stopFilteringMenuKeys();
    menuKeyFilter = SetWindowsHookExA(WH_MSGFILTER, filterMenuKeys, nullptr, GetCurrentThreadId());
    // As Alt and Down: the menu bar takes the keyboard, and the first menu
    // opens with its first item chosen.
    PostMessageA(barWindow, WM_SYSCOMMAND, SC_KEYMENU, 0);
    PostMessageA(barWindow, WM_KEYDOWN, VK_DOWN, 0);
    hotKeyOpening = 1;
}

void onMenuLoop(int open)
{
    menuOpen = open;
    if (open) {
        // A menu the hot key did not open (when its own did not open, as
        // with no menus at all) gives the focus back nowhere.
        if (!hotKeyOpening) {
            hotKeyReturn = nullptr;
            stopFilteringMenuKeys();
        }
        hotKeyOpening = 0;
        return;
    }
    stopFilteringMenuKeys();
    // After any command the menu posted, which takes the focus its own way.
    if (hotKeyReturn)
        PostMessageA(barWindow, HOT_KEY_MENU_CLOSED, 0, 0);
}

void onMenuCommand()
{
    hotKeyReturn = nullptr;
}

void onHotKeyMenuClosed()
{
    HWND window = hotKeyReturn;
    hotKeyReturn = nullptr;
    if (window && IsWindow(window) && GetForegroundWindow() == barWindow)
        SetForegroundWindow(window);
}
#endif
