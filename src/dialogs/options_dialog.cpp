#include "options_dialog.h"

#include <string.h>

#include "file_browse.h"
#include "../app/app.h"
#include "../app/message_box.h"
#include "../app/start_paths.h"
#include "../app/text.h"
#include "../bar/auto_hide.h"
#include "../bar/bar_window.h"
#include "../bar/full_screen.h"
#include "../bar/status.h"
#include "../menus/menu_bar.h"
#include "../menus/menu_icons.h"
#include "../options/options.h"
#include "../options/settings.h"
#include "../../res/resource.h"

static const char NO_WAV_FILE[] = "Please enter a WAV filename.";

static int isChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

static void setCheck(HWND dialog, int id, int32_t on)
{
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

static void fillDialog(HWND dialog)
{
    // The edit takes no more than wavFile holds, so a path is never stored cut.
    SendDlgItemMessageA(dialog, IDC_WAV_FILE, EM_LIMITTEXT, WAV_FILE_SIZE - 1, 0);
    SetDlgItemTextA(dialog, IDC_WAV_FILE, userOptions.wavFile);
    setCheck(dialog, IDC_CHIME, userOptions.chimeHourly);
    setCheck(dialog, IDC_DISPLAY_DATE, userOptions.displayDate);
    setCheck(dialog, IDC_DISPLAY_MEMORY, userOptions.displayMemory);
    setCheck(dialog, IDC_ALWAYS_ON_TOP, userOptions.alwaysOnTop);
    setCheck(dialog, IDC_BOTTOM, userOptions.bottom);
    setCheck(dialog, IDC_AUTO_HIDE, userOptions.autoHide);
#ifndef ZENTOR_NT3
    setCheck(dialog, IDC_SHOW_ICONS, barSettings.showIcons);
#endif
    setCheck(dialog, IDC_FOLDER_MENUS, barSettings.folderMenus);
#ifndef ZENTOR_NT3
    fillMonitorBox(dialog);
    fillHotKeyBox(dialog);
#endif
}

static void readWavFile(HWND dialog, char (&path)[WAV_FILE_SIZE])
{
    GetDlgItemTextA(dialog, IDC_WAV_FILE, path, WAV_FILE_SIZE);
}

static void testWavFile(HWND dialog)
{
    char path[WAV_FILE_SIZE];
    readWavFile(dialog, path);
    // Played from where the chime will play it.
    char wav[MAX_PATH];
    pathFromStart(path, wav, sizeof wav);
    if (!path[0])
        showWarning(NO_WAV_FILE);
    else if (!playWavFile(wav))
        showWarning("Error playing WAV file.\nCheck path and filename.");
}

// Stores a check box's state; returns 1 when it differs from what was stored.
static int takeCheck(HWND dialog, int id, int32_t* option)
{
    int on = isChecked(dialog, id);
    int changed = on != (*option != 0);
    *option = on;
    return changed;
}

#ifdef ZENTOR_NT3
// This build has no shell to register with, and always auto-hides.
static void applyAutoHide(int hideChanged, int edgeChanged)
{
    showWarning("AutoHide must always be on in Windows NT v3!");
    userOptions.autoHide = 1;
}
#else
// Auto Hide changed: an auto-hide bar gives up its strip of screen; a bar on
// top that keeps its edge reserves it again. Whichever way, the shell must
// accept the new registration, or the bar stays in view without auto-hide.
static void applyAutoHide(int hideChanged, int edgeChanged)
{
    if (!hideChanged)
        return;
    dockData.cbSize = sizeof(APPBARDATA);
    dockData.hWnd = barWindow;
    // At the edge the bar stands at: a new edge comes with a new bar, made
    // once the dialog has gone.
    int atBottom = (userOptions.bottom != 0) != (edgeChanged != 0);
    dockData.uEdge = atBottom ? ABE_BOTTOM : ABE_TOP;
    if (userOptions.autoHide) {
        SetRectEmpty(&dockData.rc);
        SHZentorMessage(ABM_SETPOS, &dockData);
    } else if (userOptions.alwaysOnTop && !edgeChanged) {
        // Into view first, so the bar ends where the shell grants its strip
        // (below or above a task bar) rather than at the bare screen edge.
        setBarHidden(0);
        reserveBarStrip();
    }
    if (!setAutoHideBar(userOptions.autoHide ? 1 : 0)) {
        int gaveStripUp = userOptions.autoHide;
        userOptions.autoHide = 0;
        setBarHidden(0);
        // The strip given up above is the bar's again, or maximised windows
        // would slide under it. A bar at a new edge reserves its own.
        if (gaveStripUp && !edgeChanged)
            reserveBarStrip();
        showWarning("Error autohiding Zentor!\nIs the Start Menu there?");
    }
    if (!userOptions.autoHide)
        setBarHidden(0);
}
#endif

// OK: stores the options and applies them to the running bar. A change of
// edge is left to openOptionsDialog, once the dialog has gone. Returns 0
// when the dialog must stay open.
static int acceptOptions(HWND dialog)
{
    char path[WAV_FILE_SIZE];
    readWavFile(dialog, path);
    if (!path[0] && isChecked(dialog, IDC_CHIME)) {
        showWarning(NO_WAV_FILE);
        return 0;
    }
    copyField(userOptions.wavFile, path);
    // The user has now chosen every option: they are saved at exit even if
    // the stored ones could not be read.
    optionsUnreadable = 0;
    userOptions.chimeHourly = isChecked(dialog, IDC_CHIME);
    int dateChanged = takeCheck(dialog, IDC_DISPLAY_DATE, &userOptions.displayDate);
    int memoryChanged = takeCheck(dialog, IDC_DISPLAY_MEMORY, &userOptions.displayMemory);
    if (dateChanged || memoryChanged)
        updateStatus();
    int edgeChanged = takeCheck(dialog, IDC_BOTTOM, &userOptions.bottom);
    int topChanged = takeCheck(dialog, IDC_ALWAYS_ON_TOP, &userOptions.alwaysOnTop);
    int hideChanged = takeCheck(dialog, IDC_AUTO_HIDE, &userOptions.autoHide);
    // Not over a full-screen program, though: the bar goes on top when it ends.
    if (topChanged)
        SetWindowPos(barWindow, barBelongsOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
    applyAutoHide(hideChanged, edgeChanged);
#ifndef ZENTOR_NT3
    if (takeCheck(dialog, IDC_SHOW_ICONS, &barSettings.showIcons)) {
        if (barSettings.showIcons)
            startMenuIcons();
        else
            stopMenuIcons();
    }
#endif
    // The popups are filled anew at their next opening, with folder entries
    // as menus or as the plain items they were.
    if (takeCheck(dialog, IDC_FOLDER_MENUS, &barSettings.folderMenus))
        emptyBarPopups();
#ifndef ZENTOR_NT3
    // A new monitor, like a new edge, comes with a new bar once the dialog
    // has gone.
    takeMonitorBox(dialog);
    takeHotKeyBox(dialog);
#endif
    EndDialog(dialog, 1);
    return 1;
}

INT_PTR CALLBACK optionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        fillDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (wParam) {
        case IDOK:
            return acceptOptions(dialog);
        case IDCANCEL:
            EndDialog(dialog, 1);
            return TRUE;
        case IDC_WAV_FIND:
            browseForFile(BROWSE_WAV, dialog);
            return FALSE;
        case IDC_WAV_TEST:
            testWavFile(dialog);
            return FALSE;
        }
        break;
    }
    return FALSE;
}

// The bar at the other edge, or on another monitor, is a new window. The
// old one owns the dialog, so it goes only after the dialog has ended,
// leaving the shell from the edge it stood at.
static void moveBar(int32_t oldBottom)
{
#ifndef ZENTOR_NT3
    takeBarOffShell(oldBottom);
#endif
    remakeBar();
}

void openOptionsDialog()
{
    int32_t bottom = userOptions.bottom;
#ifndef ZENTOR_NT3
    char monitor[MONITOR_NAME_SIZE];
    copyField(monitor, barSettings.monitor);
    // The hot key control's library, for this dialog alone.
    loadHotKeyControl();
#endif
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_OPTIONS), barWindow, optionsDlgProc, 0);
    int moved = (userOptions.bottom != 0) != (bottom != 0);
#ifndef ZENTOR_NT3
    moved = moved || strcmp(monitor, barSettings.monitor) != 0;
#endif
    if (moved)
        moveBar(bottom);
}
