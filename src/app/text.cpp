#include "text.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

int copyText(char* dst, size_t size, const char* src)
{
    if (size == 0)
        return 0;
    size_t length = strlen(src);
    if (length >= size) {
        memcpy(dst, src, size - 1);
        dst[size - 1] = '\0';
        return 0;
    }
    memcpy(dst, src, length + 1);
    return 1;
}

int appendText(char* dst, size_t size, const char* src)
{
    size_t used = strnlen(dst, size);
    return used < size && copyText(dst + used, size - used, src);
}

int copyWideText(wchar_t* dst, size_t size, const wchar_t* src)
{
    if (size == 0)
        return 0;
    size_t length = wcslen(src);
    if (length >= size) {
        memcpy(dst, src, (size - 1) * sizeof(wchar_t));
        dst[size - 1] = L'\0';
        return 0;
    }
    memcpy(dst, src, (length + 1) * sizeof(wchar_t));
    return 1;
}

int formatText(char* dst, size_t size, const char* format, ...)
{
    if (size == 0)
        return 0;
    va_list args;
    va_start(args, format);
    int written = vsnprintf(dst, size, format, args);
    va_end(args);
    dst[size - 1] = '\0';
    return written >= 0 && (size_t)written < size;
}
