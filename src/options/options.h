// The user's options: one 108-byte block, stored whole as the registry value
// "User_Vars" under the profile's key.
#ifndef ZENTOR_OPTIONS_H
#define ZENTOR_OPTIONS_H

#include <stdint.h>
#include <windows.h>

constexpr int WAV_FILE_SIZE = 80;
constexpr int OPTIONS_SIZE = 108;
constexpr int OPTIONS_KEY_SIZE = 64;

struct UserOptions {
    int32_t alwaysOnTop;
    int32_t chimeHourly;
    int32_t displayDate;
    int32_t displayMemory;
    int32_t bottom;
    int32_t autoHide;
    int32_t reserved; // never read or set; carried through load and save
    char wavFile[WAV_FILE_SIZE];
};
static_assert(sizeof(UserOptions) == OPTIONS_SIZE, "the stored block is 108 bytes");

extern UserOptions userOptions;            // the live options; zero until loadOptions
extern char optionsKeyName[OPTIONS_KEY_SIZE]; // "Software\Zentor\<profile or default>"
// 1 when the stored options could not be read at start-up (they are kept:
// saveOptions then writes nothing).
extern int optionsUnreadable;

void loadOptions();
void installDefaultOptions(HKEY key);
// Returns 1 when the block reached the registry; 0 after a failure it has
// reported, or when the stored options were unreadable at start-up.
int saveOptions();

// Contact address in the first-run greeting.
constexpr const char* CONTACT_ADDRESS = "zentor@users.invalid";

// The block as stored: each field at its offset, little-endian.
void packOptions(const UserOptions* options, uint8_t out[OPTIONS_SIZE]);
void unpackOptions(const uint8_t in[OPTIONS_SIZE], UserOptions* options);

#endif
