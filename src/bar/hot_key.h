// The hot key: one key combination that, from anywhere, brings the bar out
// with its first menu open, as Alt and Down do on the focused bar; pressed
// again, or Esc, closes the menu and gives the focus back. zentor only.
#ifndef ZENTOR_HOT_KEY_H
#define ZENTOR_HOT_KEY_H

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

// Whether the bar window holds the combination barSettings.hotKey names.
enum HotKeyState { HOT_KEY_NONE, HOT_KEY_HELD, HOT_KEY_TAKEN };

extern HotKeyState hotKeyState; // set by holdHotKey and releaseHotKey
// The window that had the focus when the hot key opened the bar's menu; it
// gets the focus back when the menu closes. Null when none is to.
extern HWND hotKeyReturn;

// Registers barSettings.hotKey for the bar window; when another program
// holds the combination, the bar runs without it. Returns 1 when the bar
// holds it.
int holdHotKey();
// The warning that names a combination found taken.
void warnHotKeyTaken();
// Gives the combination back; one found taken stays known as taken.
void releaseHotKey();
// The combination as the system's hot key control shows it, such as
// "Ctrl + Alt + Home" (barSettings.hotKey's form: the virtual key in the
// low byte, HOTKEYF_ flags in the next).
void hotKeyName(int32_t hotKey, char* name, size_t size);

// WM_HOTKEY.
void onHotKey();
// WM_ENTERMENULOOP (open 1) and WM_EXITMENULOOP (open 0).
void onMenuLoop(int open);
// WM_COMMAND: a chosen item or command takes the focus where it leads.
void onMenuCommand();
// HOT_KEY_MENU_CLOSED.
void onHotKeyMenuClosed();

#endif
