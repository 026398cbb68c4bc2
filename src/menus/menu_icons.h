// Icons beside the items of the bar's menus: each item shows the small icon
// of its file, as Explorer shows it. Lookups run on the icon worker; a
// popup never waits for one, and shows the icons that are ready when it
// opens (the rest arrive while it is open, where the system redraws an open
// menu, or at its next opening). The menus stay native: each icon is the
// item's bitmap, a 32-bit DIB section with premultiplied alpha, so the
// themed look, the keys and the ids stay as they are.
//
// Everything here runs on the bar's thread. zentornt3 shows no icons: its
// menus cannot.
#ifndef ZENTOR_MENU_ICONS_H
#define ZENTOR_MENU_ICONS_H

#include <windows.h>

#ifndef ZENTOR_NT3

// Set on the bar once it is shown: the lookups begin when it fires. A
// moment's wait leaves the shown bar to the user, and a program ended at
// once to end at once, without waiting for the shell's first, slow lookup.
constexpr UINT_PTR ICON_START_TIMER = 65247;
constexpr UINT ICON_START_DELAY_MS = 250;

// Begins the lookups when icons are switched on: after the bar is shown,
// menu by menu in the bar's order. Harmless when they run.
void startMenuIcons();
// ICON_START_TIMER fired.
void onIconStartTimer();
// Stops the lookups and frees every icon, the bitmaps of the bar's popups
// included (the popups are filled anew when they next open).
void stopMenuIcons();
// The bar window was made (anew): it is the one the worker tells.
void menuIconsBarMade();
// The pixel size of the icons changed (another DPI): they are made anew.
void remakeMenuIcons();
// WM_ICONS_READY: takes the finished lookups and puts their icons in.
void onMenuIconsReady();
// A popup of the bar opens (WM_INITMENUPOPUP): lookups wait until the menu
// is drawn and idle (WM_ENTERIDLE), or leaves (WM_EXITMENULOOP), so that
// they never slow the opening down.
void menuIconsPopupOpening();
void menuIconsMenuIdle();
// Lookups asked for and not yet answered (0 once every icon asked for is in).
int menuIconLookupsOut();
// 1 while lookups may run.
int menuIconsRunning();

// Fills a popup, item by item: appends an item of the given id and text,
// for the file at path, with its icon when that is ready; otherwise the
// item gets its icon when it comes. The lookups of a popup's items go to
// the front of the queue, in the popup's order, once putPopupLookupsFirst
// is called after its last item.
void appendMenuItem(HMENU popup, UINT id, const char* text, const char* path);
// The same for an item that opens a submenu (null: none) and has a wide text:
// the items of folder menus, named as the disk names them. 1 when it was
// appended.
int appendMenuItemWide(HMENU popup, UINT id, HMENU submenu, const wchar_t* text,
                        const char* path);
void putPopupLookupsFirst();
// The bar's popups were emptied or made anew: no item waits any longer.
void forgetWaitingMenuIcons();
// One popup was emptied or destroyed: none of its items waits any longer
// (its ids and its handle may soon stand for other items).
void forgetMenuIconsOf(HMENU popup);
// The menus were rebuilt: their files are walked again for new ones.
void menuIconsMenusChanged();

#else

inline void startMenuIcons() {}
inline void onIconStartTimer() {}
inline void stopMenuIcons() {}
inline void menuIconsBarMade() {}
inline void remakeMenuIcons() {}
inline void onMenuIconsReady() {}
inline int menuIconLookupsOut() { return 0; }
inline int menuIconsRunning() { return 0; }
inline void menuIconsPopupOpening() {}
inline void menuIconsMenuIdle() {}
inline void appendMenuItem(HMENU popup, UINT id, const char* text, const char*)
{
    AppendMenuA(popup, MF_STRING, id, text);
}
inline int appendMenuItemWide(HMENU popup, UINT id, HMENU submenu, const wchar_t* text,
                              const char*)
{
    return AppendMenuW(popup, submenu ? MF_POPUP : MF_STRING, submenu ? (UINT_PTR)submenu : id, text) != 0;
}
inline void putPopupLookupsFirst() {}
inline void forgetWaitingMenuIcons() {}
inline void forgetMenuIconsOf(HMENU) {}
inline void menuIconsMenusChanged() {}

#endif

#endif
