#include "app.h"

#include <stdlib.h>

#include "command_line.h"
#include "message_box.h"
#include "start_paths.h"
#include "../bar/bar_window.h"
#include "../menus/folder_menus.h"
#include "../menus/menu_file.h"
#include "../menus/menu_icons.h"
#include "../menus/menu_list.h"
#include "../options/options.h"
#include "../../res/resource.h"

HINSTANCE appInstance = nullptr;
char profileName[PROFILE_NAME_SIZE];
char dataFilePath[DATA_PATH_SIZE];
HMENU popupMenu = nullptr;
int screenHeight = 0;
int onBattery = 0;

// What the process ends with when it cannot start.
static int startFailureCode = 0;

// Held for the life of the process: one bar at a time, whatever the
// profile or program.
static HANDLE instanceMutex = nullptr;

// True when another copy is running; its bar, when it has one yet, is
// brought to the top. The mutex is taken before anything can show a box, so
// a copy started while the first one still greets the user is refused too;
// the window search also finds a bar that holds no mutex.
static int anotherCopyRuns()
{
    instanceMutex = CreateMutexA(nullptr, FALSE, INSTANCE_MUTEX_NAME);
    int taken = instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS;
    HWND running = FindWindowA(BAR_CLASS, BAR_TITLE);
    if (running)
        BringWindowToTop(running);
    return taken || running;
}

int initApplication()
{
    if (anotherCopyRuns())
        return 0;
#ifndef ZENTOR_NT3
    SYSTEM_POWER_STATUS power;
    onBattery = getPowerStatus(&power) && power.ACLineStatus == 0;
#endif
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (!parseCommandLine()) {
        startFailureCode = NAME_REFUSED_EXIT_CODE;
        return 0;
    }
    loadOptions();
    rememberStartPaths();
    HMENU resource = LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP));
    popupMenu = resource ? GetSubMenu(resource, 0) : nullptr;
    if (!popupMenu) {
        showWarning("Unable to load popup menu.\nExiting...");
        return 0;
    }
    return 1;
}

int initBar()
{
    if (!registerBarClass())
        return 0;
    if (!loadMenuFile())
        return 0;
    return createBar();
}

int runZentor(HINSTANCE instance)
{
    appInstance = instance;
    if (!initApplication() || !initBar())
        return startFailureCode;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

int parseCommandLine()
{
    return parseArguments(__argc, __argv);
}

void shutdownApp(int fatal)
{
    if (!fatal) {
        saveMenuFile();
        saveOptions();
        freeAllMenus();
    }
    removeBar();
    if (barWindow) {
        KillTimer(barWindow, CLOCK_TIMER);
        KillTimer(barWindow, HIDE_TIMER);
    }
    if (!fatal) {
        stopMenuIcons();
        stopFolderMenus();
    }
}

void fatalError(const char* text)
{
    showMessageBox(nullptr, text, "Fatal Zentor Error", MB_ICONERROR);
    // The loader closes its file before it calls here; nothing else is open.
    shutdownApp(1);
    ExitProcess(FATAL_EXIT_CODE);
}
