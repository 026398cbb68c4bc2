#include "auto_hide.h"

#include "bar_window.h"
#include "status.h"
#include "../options/options.h"

UINT_PTR hideTimerId = 0;

int slideTop(int top0, int y, DWORD elapsed, DWORD duration)
{
    return top0 + (int)((y - top0) * (int)elapsed / (int)duration);
}

void slideBar(int y)
{
    DWORD duration = barShown ? HIDE_SLIDE_MS : SHOW_SLIDE_MS;
    RECT rect;
    GetWindowRect(barWindow, &rect);
    int top0 = rect.top;
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= duration)
            break;
        SetWindowPos(barWindow, nullptr, barLeft(), slideTop(top0, y, elapsed, duration), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(barWindow);
    }
    SetWindowPos(barWindow, nullptr, barLeft(), y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(barWindow);
}

static int dragsFullWindows()
{
#ifdef ZENTOR_NT3
    return 1;
#else
    BOOL value = 1;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &value, 0);
    return value != 0;
#endif
}

void setBarHidden(int hide)
{
    if (!hide && barShown)
        return;
    int animate = dragsFullWindows();
    int y = hide ? hiddenTop() : shownTop();
    if (animate)
        slideBar(y);
    else
        SetWindowPos(barWindow, nullptr, barLeft(), y, barWidth(), barHeight(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (hide) {
        barShown = 0;
    } else {
        barShown = 1;
        updateStatus();
    }
}

void onBarTouched()
{
    if (!userOptions.autoHide)
        return;
    setBarHidden(0);
    if (hideTimerId)
        KillTimer(barWindow, HIDE_TIMER);
    hideTimerId = SetTimer(barWindow, HIDE_TIMER, HIDE_PERIOD, nullptr);
}

void onHideTimer()
{
    if (!userOptions.autoHide)
        return;
    if (GetActiveWindow() == barWindow)
        return;
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == barWindow)
        return;
    hideTimerId = 0;
    KillTimer(barWindow, HIDE_TIMER);
    setBarHidden(1);
}
