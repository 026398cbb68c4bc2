// The bar at the DPI of its monitor. The program is aware of each monitor's
// DPI where Windows knows it (the manifest); the functions that later
// Windows has for it are looked up at run time, with a fallback for the
// Windows before them, where every monitor has the system's DPI.
#ifndef ZENTOR_BAR_DPI_H
#define ZENTOR_BAR_DPI_H

#include <windows.h>

// The DPI the bar is drawn at, its monitor's; read when the bar is made and
// set on WM_DPICHANGED.
extern int barDpi;

// The DPI that GetSystemMetrics and SystemParametersInfo answer for.
int systemDpi();
// The DPI of a window (GetDpiForWindow), or the system's.
int windowDpi(HWND window);
// A system metric at a DPI (GetSystemMetricsForDpi), or the system's value
// scaled to it.
int metricAtDpi(int index, int dpi);
// Pixels at the system's DPI, scaled to the bar's.
int scaleToBar(int pixels);
// The size of a small icon at the bar's DPI.
int barSmallIconSize();

// WM_DPICHANGED: the bar takes its place and size, its strip, its status
// text and its icons at the new DPI.
void onDpiChanged(WPARAM wParam);

#endif
