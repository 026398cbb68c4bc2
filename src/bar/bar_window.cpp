#include "bar_window.h"

#include "auto_hide.h"
#include "bar_dpi.h"
#include "full_screen.h"
#include "hot_key.h"
#include "monitor.h"
#include "status.h"
#include "../app/app.h"
#include "../app/message_box.h"
#include "../dialogs/about_box.h"
#include "../dialogs/menu_editor.h"
#include "../dialogs/options_dialog.h"
#include "../launch/launch.h"
#include "../menus/folder_menus.h"
#include "../menus/folder_worker.h"
#include "../menus/icon_worker.h"
#include "../menus/menu_bar.h"
#include "../menus/menu_icons.h"
#include "../options/options.h"
#include "../../res/resource.h"

HWND barWindow = nullptr;
// Set while the bar window is being destroyed: its last activation messages
// must not start a slide or talk to the shell about a bar that is going.
static int barGoing = 0;
WNDCLASSA barClass;
int barShown = 1;
#ifndef ZENTOR_NT3
APPBARDATA dockData;
// 1 while the shell has the bar as one of its bars (ABM_NEW accepted it).
static int barDocked = 0;
// What the shell broadcasts when it starts again, having forgotten every bar.
static UINT shellRestartMessage = 0;
#endif

int barHeight()
{
#ifdef ZENTOR_NT3
    return GetSystemMetrics(SM_CYMENU) + BAR_EXTRA_HEIGHT;
#else
    // The menu bar as tall as its font makes it at the bar's DPI.
    return metricAtDpi(SM_CYMENU, barDpi) + scaleToBar(BAR_EXTRA_HEIGHT);
#endif
}

int barLeft()
{
    return barMonitorRect.left;
}

int barWidth()
{
    return barMonitorRect.right - barMonitorRect.left;
}

int shownTop()
{
    return userOptions.bottom ? barMonitorRect.bottom - barHeight() : barMonitorRect.top;
}

int hiddenTop()
{
    return userOptions.bottom ? barMonitorRect.bottom - 2 : barMonitorRect.top + 2 - barHeight();
}

int registerBarClass()
{
    barClass.style = 0;
    barClass.lpfnWndProc = barWndProc;
    barClass.cbClsExtra = 0;
    barClass.cbWndExtra = 0;
    barClass.hInstance = appInstance;
    barClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_ZENTOR));
    barClass.hCursor = nullptr;
#ifdef ZENTOR_NT3
    barClass.hbrBackground = nullptr;
#else
    barClass.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
#endif
    barClass.lpszMenuName = MAKEINTRESOURCEA(IDM_BAR_POPUP);
    barClass.lpszClassName = BAR_CLASS;
#ifndef ZENTOR_NT3
    shellRestartMessage = RegisterWindowMessageA("TaskbarCreated");
#endif
    return RegisterClassA(&barClass) != 0;
}

static HWND createBarWindow()
{
#ifdef ZENTOR_NT3
    DWORD exStyle = WS_EX_TOOLWINDOW | (userOptions.alwaysOnTop ? WS_EX_TOPMOST : 0);
#else
    DWORD exStyle = WS_EX_TOOLWINDOW | (barBelongsOnTop() ? WS_EX_TOPMOST : 0);
#endif
    return CreateWindowExA(exStyle, BAR_CLASS, BAR_TITLE,
                           WS_POPUP | WS_DLGFRAME | WS_SYSMENU, barLeft(), shownTop(),
                           barWidth(), barHeight(), nullptr, nullptr, appInstance, nullptr);
}

#ifndef ZENTOR_NT3
static void setDockEdge()
{
    dockData.uEdge = userOptions.bottom ? ABE_BOTTOM : ABE_TOP;
}

// Registers the new bar with the shell: as an auto-hide bar, or with the
// strip of screen it reserves.
static void dockBar()
{
    dockData.hWnd = barWindow;
    // The shell's notices come as this message; the bar acts on the one
    // that says a full-screen program covers its monitor.
    dockData.uCallbackMessage = SHELL_NOTICE;
    dockData.cbSize = sizeof(APPBARDATA);
    setDockEdge();
    UINT_PTR accepted = SHZentorMessage(ABM_NEW, &dockData);
    barDocked = accepted != 0;
    if (!accepted)
        return;
    if (userOptions.autoHide) {
        if (!setAutoHideBar(1)) {
            showWarning("Error autohiding!  Is\nthe Start Menu there?");
            userOptions.autoHide = 0;
        }
        return;
    }
    reserveBarStrip();
}

// The shell keeps one auto-hide bar per edge: of the primary monitor, or of
// the monitor the message names. A shell older than that message (Windows 7,
// Wine) refuses it and keeps one per edge of the whole desktop.
UINT_PTR setAutoHideBar(int on)
{
    dockData.lParam = on;
    if (barOnOtherMonitor) {
        dockData.rc = barMonitorRect;
        if (SHZentorMessage(ABM_SETAUTOHIDEBAREX, &dockData))
            return 1;
    }
    return SHZentorMessage(ABM_SETAUTOHIDEBAR, &dockData);
}

void reserveBarStrip()
{
    int width = barWidth();
    int height = barHeight();
    // The whole monitor; the primary one as tall as last read, at start-up
    // or at a display change.
    dockData.rc = barMonitorRect;
    SHZentorMessage(ABM_QUERYPOS, &dockData);
    if (userOptions.bottom)
        dockData.rc.top = dockData.rc.bottom - height;
    MoveWindow(barWindow, dockData.rc.left, dockData.rc.top, width, height, FALSE);
    dockData.rc.bottom = dockData.rc.top + height;
    dockData.rc.right = dockData.rc.left + width;
    SHZentorMessage(ABM_SETPOS, &dockData);
}

// A new shell knows nothing of the bar: register it again, as when it was
// made, so its strip is reserved or it auto-hides again.
static void onShellRestart()
{
    dockBar();
}

static void tellShell(DWORD message)
{
    dockData.cbSize = sizeof(APPBARDATA);
    dockData.hWnd = barWindow;
    SHZentorMessage(message, &dockData);
}
#endif

int createBar()
{
    chooseBarMonitor();
    barDpi = systemDpi();
    barWindow = createBarWindow();
    if (!barWindow)
        return 0;
#ifndef ZENTOR_NT3
    // The window has the DPI of the monitor it stands on; before it is shown
    // it takes the size that DPI gives it.
    int dpi = windowDpi(barWindow);
    if (dpi != barDpi) {
        barDpi = dpi;
        MoveWindow(barWindow, barLeft(), shownTop(), barWidth(), barHeight(), FALSE);
    }
    // A bar made anew on a monitor of another DPI: the icons follow (before
    // the menu bar is built).
    remakeMenuIcons();
#endif
    // A new window comes with the class menu (105) as its menu bar: the
    // bar's own replaces it.
    HMENU classMenu = GetMenu(barWindow);
    // A new bar stands in its shown position, and the old window's timers
    // died with it.
    barShown = 1;
    hideTimerId = 0;
#ifndef ZENTOR_NT3
    dockBar();
#endif
    rebuildMenuBar();
    if (classMenu)
        DestroyMenu(classMenu);
#ifdef ZENTOR_NT3
    ShowWindow(barWindow, SW_RESTORE);
    setBarHidden(1);
#else
    // Held on every new window, from the moment it shows; a combination
    // found taken is named once, over the bar.
    int wasTaken = hotKeyState == HOT_KEY_TAKEN;
    holdHotKey();
    // Made while a full-screen program is open (a game that changed the
    // display mode), the bar neither covers it nor takes its activation.
    ShowWindow(barWindow, fullScreenOpen ? SW_SHOWNOACTIVATE : SW_RESTORE);
    keepBelowFullScreen();
    if (hotKeyState == HOT_KEY_TAKEN && !wasTaken)
        warnHotKeyTaken();
#endif
    menuIconsBarMade();
    return 1;
}

void placeBar()
{
#ifndef ZENTOR_NT3
    if (barDocked && !userOptions.autoHide) {
        dockData.cbSize = sizeof(APPBARDATA);
        dockData.hWnd = barWindow;
        setDockEdge();
        reserveBarStrip();
        return;
    }
#endif
    SetWindowPos(barWindow, nullptr, barLeft(), barShown ? shownTop() : hiddenTop(), barWidth(),
                 barHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

#ifndef ZENTOR_NT3
void takeBarOffShell(int bottom)
{
    if (!barWindow)
        return;
    dockData.cbSize = sizeof(APPBARDATA);
    dockData.hWnd = barWindow;
    dockData.uEdge = bottom ? ABE_BOTTOM : ABE_TOP;
    setAutoHideBar(0);
    SHZentorMessage(ABM_REMOVE, &dockData);
}
#endif

void removeBar()
{
#ifndef ZENTOR_NT3
    takeBarOffShell(userOptions.bottom);
#endif
    if (barClass.hIcon) {
        DestroyIcon(barClass.hIcon);
        barClass.hIcon = nullptr;
    }
    if (menuBar) {
        DestroyMenu(menuBar);
        menuBar = nullptr;
        // No item waits for its icon in menus that are gone.
        forgetWaitingMenuIcons();
    }
    if (popupMenu) {
        DestroyMenu(popupMenu);
        popupMenu = nullptr;
    }
    if (barWindow) {
#ifndef ZENTOR_NT3
        releaseHotKey();
#endif
        barGoing = 1;
        DestroyWindow(barWindow);
        barGoing = 0;
    }
    UnregisterClassA(BAR_CLASS, appInstance);
}


// Saves and ends the program; exitCode becomes the process's exit code.
static void endProgram(int exitCode)
{
    shutdownApp(0);
    PostQuitMessage(exitCode);
}

static void onActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE && userOptions.autoHide)
        setBarHidden(1);
#ifndef ZENTOR_NT3
    tellShell(ABM_ACTIVATE);
#endif
}

int remakeBar()
{
#ifndef ZENTOR_NT3
    releaseHotKey();
#endif
    barGoing = 1;
    DestroyWindow(barWindow);
    barGoing = 0;
    // The menu bar went with the window.
    menuBar = nullptr;
    if (createBar())
        return 1;
    // Without a bar there is no way left to use or end the program: tell the
    // user, save and end it rather than run on invisibly.
    showWarning("The bar could not be made again.\n"
                "Zentor saves your menus and options and ends.");
    endProgram(BAR_LOST_EXIT_CODE);
    return 0;
}

// The bar is made anew for the new screen size, which the message carries;
// the shell is told first that the old bar is gone, so it keeps no strip
// reserved for it. Both builds do this: a bar placed by the old height
// could end up off the screen, out of the user's reach.
static void onDisplayChange(LPARAM lParam)
{
    int height = HIWORD(lParam);
    screenHeight = height > 0 ? height : GetSystemMetrics(SM_CYSCREEN);
#ifndef ZENTOR_NT3
    takeBarOffShell(userOptions.bottom);
#endif
    remakeBar();
}

#ifndef ZENTOR_NT3
static void onPowerBroadcast()
{
    SYSTEM_POWER_STATUS power;
    if (getPowerStatus(&power))
        onBattery = power.ACLineStatus == 0;
    else
        onBattery = 0;
    updateStatus();
}
#endif

static void onCommand(int id)
{
    switch (id) {
    case CMD_OPTIONS:
        openOptionsDialog();
        break;
    case CMD_EDIT_MENUS:
        openMenuEditor();
        break;
    case CMD_INFO:
        openAboutBox();
        break;
    case CMD_EXIT:
        endProgram(0);
        break;
    default: {
        if (chooseFolderItem(id))
            break;
        AppNode* app = findCommandApp(id);
        if (app)
            launchApp(app);
        else
            showWarning("Menu item not found.");
        break;
    }
    }
}

static void onRightClick(LPARAM lParam)
{
    TrackPopupMenu(popupMenu, 0, (short)LOWORD(lParam), (short)HIWORD(lParam), 0, barWindow,
                   nullptr);
}

LRESULT CALLBACK barWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
#ifndef ZENTOR_NT3
    if (message == shellRestartMessage && message && !barGoing) {
        onShellRestart();
        return 0;
    }
#endif
    switch (message) {
    case WM_ACTIVATE:
        if (!barGoing)
            onActivate(wParam);
        break;
#ifndef ZENTOR_NT3
    case WM_WINDOWPOSCHANGED:
        if (!barGoing)
            tellShell(ABM_WINDOWPOSCHANGED);
        break;
    case WM_POWERBROADCAST:
        onPowerBroadcast();
        break;
    case WM_ICONS_READY:
        onMenuIconsReady();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(wParam);
        return 0;
    case SHELL_NOTICE:
        onShellNotice(wParam, lParam);
        return 0;
    case WM_HOTKEY:
        onHotKey();
        return 0;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        onMenuLoop(message == WM_ENTERMENULOOP);
        if (message == WM_EXITMENULOOP)
            menuIconsMenuIdle();
        break;
    case HOT_KEY_MENU_CLOSED:
        onHotKeyMenuClosed();
        return 0;
#endif
    case WM_FOLDERS_READY:
        onFolderAnswers();
        return 0;
    case WM_DISPLAYCHANGE:
        onDisplayChange(lParam);
        break;
    case WM_CLOSE:
    case WM_NCLBUTTONDBLCLK:
        endProgram(0);
        return 0;
    case WM_ENDSESSION:
        // The user logs off or the machine shuts down: end as the exit
        // command does, so menus and options are saved. A cancelled end
        // of the session changes nothing.
        if (wParam)
            endProgram(0);
        return 0;
    case WM_SHOWWINDOW:
        SetTimer(barWindow, CLOCK_TIMER, CLOCK_PERIOD, nullptr);
        break;
    case WM_NCMOUSEMOVE:
        onBarTouched();
        return 0;
    case WM_NCRBUTTONDOWN:
        onRightClick(lParam);
        break;
    case WM_INITMENUPOPUP:
        menuIconsPopupOpening();
        fillBarPopup((HMENU)wParam);
        break;
    case WM_ENTERIDLE:
        menuIconsMenuIdle();
        break;
    case WM_COMMAND:
#ifndef ZENTOR_NT3
        onMenuCommand();
#endif
        onCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == CLOCK_TIMER)
            updateStatus();
        else if (wParam == HIDE_TIMER)
            onHideTimer();
#ifndef ZENTOR_NT3
        else if (wParam == ICON_START_TIMER)
            onIconStartTimer();
#endif
        return 0;
    case WM_NCACTIVATE:
        // A bar on its way out need not redraw its frame for losing the
        // activation.
        if (barGoing)
            return TRUE;
        break;
    case WM_NCPAINT: {
        LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        if (barShown && window == barWindow && !barGoing)
            drawStatusText();
        return result;
    }
    case WM_PAINT:
    case WM_TIMECHANGE:
        updateStatus();
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
