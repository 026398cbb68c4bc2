// Out of the way of full-screen programs: while the shell says one covers
// the bar's monitor, an always-on-top bar gives up the top of the z-order,
// and takes it back when the program leaves full screen.
#ifndef ZENTOR_FULL_SCREEN_H
#define ZENTOR_FULL_SCREEN_H

#include <windows.h>

// 1 while the shell says a full-screen program covers the bar's monitor.
extern int fullScreenOpen;

// SHELL_NOTICE (bar_window.h), the bar's callback message: acts on
// ABN_FULLSCREENAPP; the other notices change nothing.
void onShellNotice(WPARAM notice, LPARAM lParam);
// Whether the bar belongs at the top now: always on top, and no full-screen
// program over its monitor.
int barBelongsOnTop();
// A bar made while a full-screen program is open goes beneath it.
void keepBelowFullScreen();

#endif
