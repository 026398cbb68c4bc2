// The user's options: one 108-byte block, stored whole as the registry value
// "User_Vars" under the profile's key.
#ifndef ZENTOR_OPTIONS_H
#define ZENTOR_OPTIONS_H

#include <windows.h>

#include "option_block.h"

constexpr int OPTIONS_KEY_SIZE = 64;

extern char optionsKeyName[OPTIONS_KEY_SIZE]; // "Software\Zentor\<profile or default>"
// 1 when the stored options could not be read at start-up (they are kept:
// saveOptions then writes nothing) and the user has not chosen options in
// the Options dialog since.
extern int optionsUnreadable;

void loadOptions();
void installDefaultOptions(HKEY key);
// Returns 1 when the block reached the registry; 0 after a failure it has
// reported, or when the stored options were unreadable at start-up.
int saveOptions();

// Contact address in the first-run greeting.
constexpr const char* CONTACT_ADDRESS = "zentor@users.invalid";

#endif
