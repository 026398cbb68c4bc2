#include "full_screen.h"

#include <shellapi.h>

#include "bar_window.h"
#include "../options/options.h"

int fullScreenOpen = 0;

int barBelongsOnTop()
{
    return userOptions.alwaysOnTop && !fullScreenOpen;
}

// Beneath every other window: a topmost bar stops being one, so a video or a
// game over its monitor is not drawn over.
static void leaveTop()
{
    SetWindowPos(barWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void keepBelowFullScreen()
{
    if (fullScreenOpen && userOptions.alwaysOnTop)
        leaveTop();
}

void onShellNotice(WPARAM notice, LPARAM lParam)
{
    if (notice != ABN_FULLSCREENAPP)
        return;
    fullScreenOpen = lParam != 0;
    // A bar that is not always on top stays where the user's windows put it.
    if (!userOptions.alwaysOnTop)
        return;
    if (fullScreenOpen)
        leaveTop();
    else
        SetWindowPos(barWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
