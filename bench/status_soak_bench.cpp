// Status refresh soak: a real bar, set up as the program does it, refreshed
// 100,000 times. GDI objects and process memory after the first 10 refreshes
// and after all of them must not grow beyond a small allowance.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "app/app.h"
#include "bar/bar_window.h"
#include "bar/status.h"
#include "bench_util.h"
#include "menus/menu_file.h"
#include "menus/menu_list.h"
#include "object_counts.h"
#include "options/options.h"
#include "resource.h"
#include "test_support.h"

constexpr long GDI_ALLOWANCE = 2;                 // objects
constexpr SIZE_T MEMORY_ALLOWANCE = 256 * 1024;   // bytes

static void refresh(long times)
{
    for (long i = 0; i < times; i++) {
        updateStatus();
        if (i % 100 == 99)
            pumpMessages(0);
    }
    pumpMessages(0);
}

int main(int argc, char** argv)
{
    long total = argc > 1 ? atol(argv[1]) : 100000;
    if (total < 20)
        total = 100000;

    appInstance = GetModuleHandleA(nullptr);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HMENU resource = LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP));
    popupMenu = resource ? GetSubMenu(resource, 0) : nullptr;
    // The default options with date and memory shown; auto-hide off so the
    // bar stays shown and every refresh paints.
    userOptions.alwaysOnTop = 1;
    userOptions.displayDate = 1;
    userOptions.displayMemory = 1;
    userOptions.autoHide = 0;
    buildDefaultMenus();
    if (!popupMenu || !registerBarClass() || !createBar()) {
        printf("status soak: the bar could not be set up\n");
        return 2;
    }
    if (!until([] { return IsWindowVisible(barWindow) && barShown; }, 10000)) {
        printf("status soak: the bar did not show\n");
        return 2;
    }

    if (!probesWork("status soak"))
        return 2;

    refresh(10);
    long gdiStart = countGdiObjects().total();
    SIZE_T memoryStart = privateBytes();
    double t0 = nowMs();
    refresh(total - 10);
    double elapsed = nowMs() - t0;
    long gdiEnd = countGdiObjects().total();
    SIZE_T memoryEnd = privateBytes();

    printf("status soak: %ld refreshes, %.1f us each\n", total,
           elapsed * 1000.0 / (double)(total - 10));
    long gdiGrowth = gdiEnd - gdiStart;
    long memoryGrowth = (long)memoryEnd - (long)memoryStart;
    int gdiMet = gdiGrowth <= GDI_ALLOWANCE;
    int memoryMet = memoryStart > 0 && memoryGrowth <= (long)MEMORY_ALLOWANCE;
    printf("gdi objects: after 10 %ld, after %ld %ld, growth %ld (allowance %ld)%s\n",
           gdiStart, total, gdiEnd, gdiGrowth, GDI_ALLOWANCE, gdiMet ? "" : "  MISSED");
    printf("private bytes: after 10 %lu KiB, after %ld %lu KiB, growth %ld KiB "
           "(allowance %lu KiB)%s\n",
           (unsigned long)(memoryStart / 1024), total, (unsigned long)(memoryEnd / 1024),
           memoryGrowth / 1024, (unsigned long)(MEMORY_ALLOWANCE / 1024),
           memoryMet ? "" : "  MISSED");

    removeBar();
    freeAllMenus();
    return gdiMet && memoryMet ? 0 : 1;
}
