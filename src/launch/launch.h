// Starting the program or document behind a menu item through the shell.
#ifndef ZENTOR_LAUNCH_H
#define ZENTOR_LAUNCH_H

#include <windows.h>

#include "../menus/menu_list.h"

constexpr int SHORTCUT_TEXT_SIZE = 260;

// Returns 1 when the shell started the item, 0 when a failure was reported.
int launchApp(const AppNode* app);
// Starts a file as an item with these fields starts: the same shell call,
// shortcut handling and warnings. Items of folder menus, which are no
// records, start through it.
int launchFile(const char* path, const char* parameters, const char* directory,
               int32_t showCommand);

// The show command the launch passes for an item's stored value.
int launchShowCommand(int32_t showCommand);

// The warning for a failed launch: err is GetLastError() after
// ShellExecuteExA in zentor, the result of ShellExecuteA in zentornt3.
void launchErrorText(char* text, size_t size, int err);

#ifndef ZENTOR_NT3
int isShortcut(const char* path);
HRESULT resolveShortcut(HWND owner, const char* linkPath, char* target, char* workingDir,
                        char* arguments, int* showCommand);
#endif

#endif
