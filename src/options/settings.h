// The bar's settings beyond the 108-byte option block: each one a registry
// value of its own beside "User_Vars" in the profile's key, so the block
// stays as older copies of Zentor read and write it. Read once at start-up
// and written at exit, with the block.
#ifndef ZENTOR_SETTINGS_H
#define ZENTOR_SETTINGS_H

#include <stdint.h>
#include <windows.h>

constexpr int MONITOR_NAME_SIZE = 32; // a display's device name, "\\.\DISPLAY2"

struct BarSettings {
    int32_t showIcons;              // "Icons": program icons beside the menu items
    int32_t folderMenus;            // "FolderMenus": a folder entry opens as a menu
    int32_t hotKey;                 // "HotKey": the key that opens the bar; 0 none
    char monitor[MONITOR_NAME_SIZE]; // "Monitor": the display the bar docks on; "" primary
};

extern BarSettings barSettings; // the live settings; the defaults until loadSettings

// Puts every setting to its default.
void setDefaultSettings();
// Reads every setting from the open key; a value that is missing, or of the
// wrong type or size, leaves that setting at its default.
void loadSettings(HKEY key);
// Writes every setting into the open key; 1 when all of them were written.
int saveSettings(HKEY key);

#endif
