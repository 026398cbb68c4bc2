// The monitor the bar docks on: the one the "Monitor" setting names while it
// is there, else the primary one.
#ifndef ZENTOR_MONITOR_H
#define ZENTOR_MONITOR_H

#include <windows.h>

// The bar's monitor in screen coordinates, chosen each time the bar is made;
// the primary one reaches down to screenHeight.
extern RECT barMonitorRect;
// 1 when the bar's monitor is not the primary one (set with barMonitorRect).
extern int barOnOtherMonitor;

// Chooses the bar's monitor from barSettings.monitor. A monitor that is gone
// leaves the setting as it is: the bar comes back to it at the next display
// change that finds it there again.
void chooseBarMonitor();

#ifndef ZENTOR_NT3
// The device name of a monitor ("\\.\DISPLAY2"); 0 when it cannot be read.
int monitorName(HMONITOR monitor, char* name, int size);
#endif

#endif
