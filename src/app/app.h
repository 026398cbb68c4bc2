// Process-wide state set at start-up, and the program's spine: start-up,
// command line, fatal errors and shutdown.
#ifndef ZENTOR_APP_H
#define ZENTOR_APP_H

#include <windows.h>

#include "command_line.h"

extern HINSTANCE appInstance;              // module handle; set first thing by WinMain
extern HMENU popupMenu;                    // submenu 0 of menu 105, the right-click menu
extern int screenHeight;                   // SM_CYSCREEN read once at start-up
extern int onBattery;                      // 1 while the AC line is offline (zentor only)

int initApplication();
int initBar();

// Reads the process's own argument vector (see parseArguments); 0 when the
// program must end.
int parseCommandLine();

// Runs the program; returns the process's exit code.
int runZentor(HINSTANCE instance);

[[noreturn]] void fatalError(const char* text);
void shutdownApp(int fatal);

// The named mutex that keeps to one running copy (no backslash: it is a plain
// name on every Windows).
constexpr const char* INSTANCE_MUTEX_NAME = "Zentor.SingleInstance";

// Exit code of the process after a fatal error.
constexpr UINT FATAL_EXIT_CODE = 3;
// Exit code of the process when the bar could not be made again.
constexpr UINT BAR_LOST_EXIT_CODE = 4;
// Exit code of the process when the command line names no possible file.
constexpr UINT NAME_REFUSED_EXIT_CODE = 5;

#endif
