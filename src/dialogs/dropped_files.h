// Files dropped from the shell on the editor's menu list: each becomes an
// entry of the menu under the drop point.
#ifndef ZENTOR_DROPPED_FILES_H
#define ZENTOR_DROPPED_FILES_H

#include <windows.h>
#include <shellapi.h>

#include "../menus/menu_list.h"

// Adds the dropped files to the menu under the drop point, the last file
// first, and ends the drop in every case.
void acceptDroppedFiles(HWND dialog, HDROP drop);

// Lets drops on the menu list box reach acceptDroppedFiles: not every list
// box passes them on to its dialog.
void catchDropsOnMenuList(HWND dialog);

// The entry name a dropped file gets from its path. The capitals of the file
// name's base are made small in path itself, as the name shows them.
void nameFromDroppedPath(char* path, char name[APP_NAME_SIZE]);

#endif
