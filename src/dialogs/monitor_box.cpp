// The Options dialog's "Monitor" list: every monitor there is, by its device
// name and size, with the one the bar stands on chosen.
#include "options_dialog.h"

#ifndef ZENTOR_NT3
#include <string.h>

#include "../app/text.h"
#include "../bar/monitor.h"
#include "../options/settings.h"
#include "../../res/resource.h"

// The device name of the monitor the bar stands on now.
static void barMonitorName(char (&name)[MONITOR_NAME_SIZE])
{
    if (barOnOtherMonitor) {
        copyField(name, barSettings.monitor);
        return;
    }
    POINT origin = {0, 0};
    if (!monitorName(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), name, MONITOR_NAME_SIZE))
        name[0] = '\0';
}

// The setting names a monitor the bar does not stand on: one gone for now.
static int chosenMonitorGone(const char* current)
{
    return barSettings.monitor[0] && lstrcmpiA(barSettings.monitor, current) != 0;
}

struct MonitorList {
    HWND box;
    char chosen[MONITOR_NAME_SIZE];
};

static BOOL CALLBACK listMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param)
{
    MonitorList* list = (MonitorList*)param;
    MONITORINFOEXA info;
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info))
        return TRUE;
    char text[96];
    formatText(text, sizeof text, "%s, %ld x %ld%s", info.szDevice,
               info.rcMonitor.right - info.rcMonitor.left, info.rcMonitor.bottom - info.rcMonitor.top,
               info.dwFlags & MONITORINFOF_PRIMARY ? ", primary" : "");
    LRESULT item = SendMessageA(list->box, CB_ADDSTRING, 0, (LPARAM)text);
    if (item < 0)
        return TRUE;
    SendMessageA(list->box, CB_SETITEMDATA, (WPARAM)item, (LPARAM)monitor);
    if (lstrcmpiA(info.szDevice, list->chosen) == 0)
        SendMessageA(list->box, CB_SETCURSEL, (WPARAM)item, 0);
    return TRUE;
}

void fillMonitorBox(HWND dialog)
{
    MonitorList list;
    list.box = GetDlgItem(dialog, IDC_MONITOR);
    barMonitorName(list.chosen);
    EnumDisplayMonitors(nullptr, nullptr, listMonitor, (LPARAM)&list);
    // The monitor chosen before and gone for now is shown as chosen still,
    // so that choosing the one the bar stands on instead is a change.
    if (chosenMonitorGone(list.chosen)) {
        char text[MONITOR_NAME_SIZE + 32];
        formatText(text, sizeof text, "%s, not connected", barSettings.monitor);
        LRESULT item = SendMessageA(list.box, CB_ADDSTRING, 0, (LPARAM)text);
        if (item >= 0) {
            SendMessageA(list.box, CB_SETITEMDATA, (WPARAM)item, 0);
            SendMessageA(list.box, CB_SETCURSEL, (WPARAM)item, 0);
        }
    }
}

void takeMonitorBox(HWND dialog)
{
    LRESULT item = SendDlgItemMessageA(dialog, IDC_MONITOR, CB_GETCURSEL, 0, 0);
    if (item < 0)
        return;
    HMONITOR monitor = (HMONITOR)SendDlgItemMessageA(dialog, IDC_MONITOR, CB_GETITEMDATA, item, 0);
    // The monitor that is gone for now: kept.
    if (!monitor)
        return;
    char name[MONITOR_NAME_SIZE], current[MONITOR_NAME_SIZE];
    barMonitorName(current);
    // Left as it was, the choice keeps the setting (none names the primary
    // monitor, whichever that is).
    if (monitorName(monitor, name, sizeof name) &&
        (chosenMonitorGone(current) || lstrcmpiA(name, current) != 0))
        copyField(barSettings.monitor, name);
}
#endif
