// The option block as it is stored: 108 bytes, little-endian, the same in
// memory and in the registry. No platform calls here, so the same code also
// builds natively for the fuzz targets.
#ifndef ZENTOR_OPTION_BLOCK_H
#define ZENTOR_OPTION_BLOCK_H

#include <stddef.h>
#include <stdint.h>

constexpr int WAV_FILE_SIZE = 80;
constexpr int OPTIONS_SIZE = 108;

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

extern UserOptions userOptions; // the live options; zero until loadOptions

// The block as stored: each field at its offset, little-endian.
void packOptions(const UserOptions* options, uint8_t out[OPTIONS_SIZE]);
void unpackOptions(const uint8_t in[OPTIONS_SIZE], UserOptions* options);

// Takes a stored value of size bytes into options when it is a block of
// this program (1); a value of any other size is obsolete (0) and leaves
// options alone.
int readOptionBlock(const uint8_t* value, size_t size, UserOptions* options);

#endif
