// 32-bit little-endian integers in the stored formats (the menu file and the
// option block), whatever the compiler's layout.
#ifndef ZENTOR_BYTE_ORDER_H
#define ZENTOR_BYTE_ORDER_H

#include <stdint.h>

inline void putInt32(uint8_t* at, int32_t value)
{
    uint32_t v = (uint32_t)value;
    at[0] = (uint8_t)v;
    at[1] = (uint8_t)(v >> 8);
    at[2] = (uint8_t)(v >> 16);
    at[3] = (uint8_t)(v >> 24);
}

inline int32_t getInt32(const uint8_t* at)
{
    return (int32_t)((uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 |
                     (uint32_t)at[3] << 24);
}

#endif
