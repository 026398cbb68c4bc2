// The menu data file: a version word, then each menu's 48-byte record
// followed by its 296-byte application records, little-endian.
#ifndef ZENTOR_MENU_FILE_H
#define ZENTOR_MENU_FILE_H

#include "menu_format.h"
#include "menu_list.h"

// Reads the data file (dataFileToUse) into menuList, or builds the default menus when there is
// no usable file. A bad file ends the program through fatalError.
int loadMenuFile();

// Writes menuList to the data file (dataFileToUse). The previous
// file stays intact until the new one is complete. Returns 1 on success; a
// failure has been reported to the user.
int saveMenuFile();

// Builds "&Apps" and "&Games" into an empty menuList.
void buildDefaultMenus();

#endif
