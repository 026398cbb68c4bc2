// The option-block reader on any stored value: only a 108-byte value is
// taken, the WAV path taken is always terminated inside its field, and the
// block stores back as it was read, but for a path that had no terminator.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "options/option_block.h"

UserOptions userOptions;

static void check(bool holds, const char* what)
{
    if (!holds) {
        fprintf(stderr, "broken: %s\n", what);
        abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    UserOptions before;
    memset(&before, 0x5A, sizeof before);
    UserOptions options = before;
    int taken = readOptionBlock(data, size, &options);
    check(taken == (size == OPTIONS_SIZE), "only a block of 108 bytes is taken");
    if (!taken) {
        check(memcmp(&options, &before, sizeof options) == 0, "an obsolete value changes nothing");
        return 0;
    }
    check(strlen(options.wavFile) < WAV_FILE_SIZE, "WAV path terminated in its field");
    uint8_t stored[OPTIONS_SIZE];
    packOptions(&options, stored);
    const uint8_t* path = data + 28;
    bool hadTerminator = memchr(path, '\0', WAV_FILE_SIZE) != nullptr;
    check(memcmp(stored, data, OPTIONS_SIZE - 1) == 0, "stored back as read");
    check(stored[OPTIONS_SIZE - 1] == (hadTerminator ? data[OPTIONS_SIZE - 1] : 0),
          "last byte of the path");
    return 0;
}
