#include "bar_dpi.h"

#include "bar_window.h"
#include "status.h"
#include "../menus/menu_icons.h"

int barDpi = USER_DEFAULT_SCREEN_DPI;

// Windows 10's per-DPI functions, looked up once; null where the system
// has none.
typedef UINT(WINAPI* DpiForSystemCall)();
typedef UINT(WINAPI* DpiForWindowCall)(HWND);
typedef int(WINAPI* MetricsForDpiCall)(int, UINT);
static int dpiCallsLookedUp = 0;
static DpiForSystemCall dpiForSystem = nullptr;
static DpiForWindowCall dpiForWindow = nullptr;
static MetricsForDpiCall metricsForDpi = nullptr;

static void lookUpDpiCalls()
{
    if (dpiCallsLookedUp)
        return;
    dpiCallsLookedUp = 1;
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32)
        return;
    dpiForSystem = (DpiForSystemCall)GetProcAddress(user32, "GetDpiForSystem");
    dpiForWindow = (DpiForWindowCall)GetProcAddress(user32, "GetDpiForWindow");
    metricsForDpi = (MetricsForDpiCall)GetProcAddress(user32, "GetSystemMetricsForDpi");
}

// Read once: the system's DPI holds until the user logs off, and the status
// asks for it at every refresh.
int systemDpi()
{
    static int dpi = 0;
    if (dpi)
        return dpi;
    lookUpDpiCalls();
    if (dpiForSystem) {
        dpi = (int)dpiForSystem();
    } else {
        HDC screen = GetDC(nullptr);
        dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ReleaseDC(nullptr, screen);
    }
    if (dpi <= 0)
        dpi = USER_DEFAULT_SCREEN_DPI;
    return dpi;
}

int windowDpi(HWND window)
{
    lookUpDpiCalls();
    int dpi = dpiForWindow ? (int)dpiForWindow(window) : 0;
    return dpi > 0 ? dpi : systemDpi();
}

int metricAtDpi(int index, int dpi)
{
    int system = systemDpi();
    if (dpi == system)
        return GetSystemMetrics(index);
    if (metricsForDpi)
        return metricsForDpi(index, (UINT)dpi);
    return MulDiv(GetSystemMetrics(index), dpi, system);
}

int scaleToBar(int pixels)
{
    return MulDiv(pixels, barDpi, systemDpi());
}

int barSmallIconSize()
{
    return metricAtDpi(SM_CXSMICON, barDpi);
}

void onDpiChanged(WPARAM wParam)
{
    int dpi = HIWORD(wParam);
    if (dpi <= 0)
        return;
    barDpi = dpi;
    placeBar();
    remakeMenuIcons(); // at the new size, the old ones freed
    // The menu bar is measured again at its window's new DPI.
    DrawMenuBar(barWindow);
    updateStatus();
}
