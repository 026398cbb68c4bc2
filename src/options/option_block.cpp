#include "option_block.h"

#include <string.h>

#include "../app/byte_order.h"

// Stored layout of "User_Vars" (108 bytes, little-endian):
//   0 alwaysOnTop   4 chimeHourly   8 displayDate   12 displayMemory
//  16 bottom       20 autoHide     24 reserved      28 wavFile[80]

void packOptions(const UserOptions* o, uint8_t out[OPTIONS_SIZE])
{
    putInt32(out + 0, o->alwaysOnTop);
    putInt32(out + 4, o->chimeHourly);
    putInt32(out + 8, o->displayDate);
    putInt32(out + 12, o->displayMemory);
    putInt32(out + 16, o->bottom);
    putInt32(out + 20, o->autoHide);
    putInt32(out + 24, o->reserved);
    memcpy(out + 28, o->wavFile, WAV_FILE_SIZE);
}

void unpackOptions(const uint8_t in[OPTIONS_SIZE], UserOptions* o)
{
    o->alwaysOnTop = getInt32(in + 0);
    o->chimeHourly = getInt32(in + 4);
    o->displayDate = getInt32(in + 8);
    o->displayMemory = getInt32(in + 12);
    o->bottom = getInt32(in + 16);
    o->autoHide = getInt32(in + 20);
    o->reserved = getInt32(in + 24);
    memcpy(o->wavFile, in + 28, WAV_FILE_SIZE);
    // A stored path may lack its terminator; never read past the field. A
    // terminated one is kept whole, tail included, for the next save.
    if (!memchr(o->wavFile, '\0', WAV_FILE_SIZE))
        o->wavFile[WAV_FILE_SIZE - 1] = '\0';
}

int readOptionBlock(const uint8_t* value, size_t size, UserOptions* options)
{
    if (size != OPTIONS_SIZE)
        return 0;
    unpackOptions(value, options);
    return 1;
}
