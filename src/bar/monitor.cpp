#include "monitor.h"

#include <string.h>

#include "../app/app.h"
#include "../app/text.h"
#include "../options/settings.h"

RECT barMonitorRect = {0, 0, 0, 0};
int barOnOtherMonitor = 0;

#ifndef ZENTOR_NT3
int monitorName(HMONITOR monitor, char* name, int size)
{
    MONITORINFOEXA info;
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info))
        return 0;
    return copyText(name, (size_t)size, info.szDevice);
}

// What looking for the named monitor found.
struct MonitorSearch {
    const char* name;
    RECT rect;
    int found;
    int primary;
};

static BOOL CALLBACK matchMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param)
{
    MonitorSearch* search = (MonitorSearch*)param;
    MONITORINFOEXA info;
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info) || lstrcmpiA(info.szDevice, search->name) != 0)
        return TRUE;
    search->found = 1;
    search->rect = info.rcMonitor;
    search->primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    return FALSE;
}
#endif

void chooseBarMonitor()
{
    // The primary monitor stands at 0,0; its height is the one the program
    // last read, at start-up or at a display change.
    SetRect(&barMonitorRect, 0, 0, GetSystemMetrics(SM_CXSCREEN), screenHeight);
    barOnOtherMonitor = 0;
#ifndef ZENTOR_NT3
    if (!barSettings.monitor[0])
        return;
    MonitorSearch search = {barSettings.monitor, {0, 0, 0, 0}, 0, 0};
    EnumDisplayMonitors(nullptr, nullptr, matchMonitor, (LPARAM)&search);
    if (!search.found || search.primary)
        return;
    barMonitorRect = search.rect;
    barOnOtherMonitor = 1;
#endif
}
