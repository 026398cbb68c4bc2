// The bar: its window class, the one window of that class, its docking with
// the shell and its window procedure.
#ifndef ZENTOR_BAR_WINDOW_H
#define ZENTOR_BAR_WINDOW_H

#include <windows.h>
#include <shellapi.h>

constexpr UINT_PTR CLOCK_TIMER = 65244; // refreshes the status text every 10 s
constexpr UINT_PTR HIDE_TIMER = 65245;  // the auto-hide poll, every 500 ms
constexpr UINT CLOCK_PERIOD = 10000;
constexpr UINT HIDE_PERIOD = 500;

constexpr const char* BAR_CLASS = "ZTClass";
constexpr const char* BAR_TITLE = "Zentor";

// Pixels the bar is taller than the menu bar.
#ifdef ZENTOR_NT3
constexpr int BAR_EXTRA_HEIGHT = 10;
#else
constexpr int BAR_EXTRA_HEIGHT = 5;
#endif

// The bar's own messages, in one list so that no two meet.
constexpr UINT SHELL_NOTICE = WM_APP + 1;        // the shell's notices (ABN_ in wParam)
constexpr UINT HOT_KEY_MENU_CLOSED = WM_APP + 2; // a menu the hot key opened has closed
constexpr UINT WM_ICONS_READY = WM_APP + 3;      // the icon worker has answers waiting
constexpr UINT WM_FOLDERS_READY = WM_APP + 4;    // the folder worker has answers waiting

extern HWND barWindow;        // the bar; null until createBar succeeds
extern WNDCLASSA barClass;    // the registered class, kept for its icon
extern int barShown;          // 1 while the bar stands in its shown position
#ifndef ZENTOR_NT3
extern APPBARDATA dockData;   // the record passed to every SHZentorMessage call
#endif

// The shell's application-desktop-toolbar service.
#ifndef ZENTOR_NT3
UINT_PTR SHZentorMessage(DWORD message, APPBARDATA* data);
// The system's power status (GetSystemPowerStatus).
BOOL getPowerStatus(SYSTEM_POWER_STATUS* status);
#endif

int registerBarClass();
int createBar();
void removeBar();
// Destroys the bar window and makes it anew with the current options (a new
// screen size or edge); the caller has told the shell what it must know of
// the old bar. When no new bar can be made the program saves and ends.
// Returns 1 when the new bar stands.
int remakeBar();
// Puts the bar at its place and size for its monitor and DPI: a bar with a
// strip of its own reserves it anew; an auto-hide bar keeps to its shown or
// hidden place.
void placeBar();
#ifndef ZENTOR_NT3
// Reserves the bar's strip where the shell grants it and moves the bar
// there; dockData already names the bar and its edge.
void reserveBarStrip();
// Registers the bar as the auto-hide bar of its edge of its monitor (on 1)
// or takes it back (on 0); dockData already names the bar and its edge.
// Returns what the shell answered: 0 when it refused.
UINT_PTR setAutoHideBar(int on);
// Tells the shell the bar is going: auto-hide registration off at the edge
// the bar stands at (bottom nonzero: the bottom edge), then removal.
void takeBarOffShell(int bottom);
#endif
LRESULT CALLBACK barWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Height of the bar: the menu bar plus its frame.
int barHeight();
// Left end and width of the bar: those of its monitor.
int barLeft();
int barWidth();
// Top of the bar in its shown and hidden positions at the current edge.
int shownTop();
int hiddenTop();

#endif
