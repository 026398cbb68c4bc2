// The menu data file: a version word, then each menu's 48-byte record
// followed by its 296-byte application records, little-endian.
#ifndef ZENTOR_MENU_FILE_H
#define ZENTOR_MENU_FILE_H

#include <stdint.h>

#include "menu_list.h"

constexpr int32_t MENU_FILE_VERSION = 102;
constexpr int MENU_RECORD_SIZE = 48;
constexpr int APP_RECORD_SIZE = 296;

// Reads dataFilePath into menuList, or builds the default menus when there is
// no usable file. A bad file ends the program through fatalError.
int loadMenuFile();

// Writes menuList to dataFilePath ("default.zt" when empty). The previous
// file stays intact until the new one is complete. Returns 1 on success; a
// failure has been reported to the user.
int saveMenuFile();

// Builds "&Apps" and "&Games" into an empty menuList.
void buildDefaultMenus();

// Record images, each field at its offset.
void packMenuRecord(const MenuNode* m, uint8_t out[MENU_RECORD_SIZE]);
void unpackMenuRecord(const uint8_t in[MENU_RECORD_SIZE], MenuNode* m);
void packAppRecord(const AppNode* a, uint8_t out[APP_RECORD_SIZE]);
void unpackAppRecord(const uint8_t in[APP_RECORD_SIZE], AppNode* a);

#endif
