// The bytes of the menu data file: the record layouts, and whole lists read
// from and written to a stdio stream. No platform calls here (the writes go
// through the save's file calls), so the same code also builds natively for
// the fuzz targets.
#ifndef ZENTOR_MENU_FORMAT_H
#define ZENTOR_MENU_FORMAT_H

#include <stdint.h>
#include <stdio.h>

#include "menu_list.h"

constexpr int32_t MENU_FILE_VERSION = 102;
constexpr int MENU_RECORD_SIZE = 48;
constexpr int APP_RECORD_SIZE = 296;

// Record images, each field at its offset.
void packMenuRecord(const MenuNode* m, uint8_t out[MENU_RECORD_SIZE]);
void unpackMenuRecord(const uint8_t in[MENU_RECORD_SIZE], MenuNode* m);
void packAppRecord(const AppNode* a, uint8_t out[APP_RECORD_SIZE]);
void unpackAppRecord(const uint8_t in[APP_RECORD_SIZE], AppNode* a);

// What readMenus found.
enum MenuFileRead {
    MENU_FILE_READ,      // menuList holds the menus read, perhaps none
    MENU_FILE_EMPTY,     // the file holds no bytes at all
    MENU_FILE_OLD,       // the first word is not MENU_FILE_VERSION, or there is none
    MENU_FILE_CUT_SHORT, // an application record ends early (the menus before it stay linked)
};

// Reads a data file from its start into the empty menuList. A record is
// taken only once its bytes have been read, whatever a count promises. For
// MENU_FILE_CUT_SHORT, badMenu and badApp get the numbers (from 1) of the
// menu and of the application within it that could not be read.
MenuFileRead readMenus(FILE* file, int* badMenu, int* badApp);

// Writes menuList through writeSaveFile; 1 when every byte went out.
int writeMenus(FILE* file);

#endif
