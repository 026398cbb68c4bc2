// Auto-hide: the bar withdraws off its edge, leaving a 2-pixel strip, and
// slides back when the mouse touches it.
#ifndef ZENTOR_AUTO_HIDE_H
#define ZENTOR_AUTO_HIDE_H

#include <windows.h>

extern UINT_PTR hideTimerId; // what SetTimer gave for HIDE_TIMER; 0 while it is off

constexpr DWORD HIDE_SLIDE_MS = 300;
constexpr DWORD SHOW_SLIDE_MS = 200;

void setBarHidden(int hide);
void slideBar(int y);

// Top of a slide from top0 to y after elapsed of duration milliseconds.
int slideTop(int top0, int y, DWORD elapsed, DWORD duration);

// WM_NCMOUSEMOVE: show the bar and restart the poll.
void onBarTouched();
// HIDE_TIMER: hide once the bar is neither active nor under the cursor.
void onHideTimer();

#endif
