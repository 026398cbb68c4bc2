#include "path_key.h"

#include <string.h>

#include "../app/text.h"

void expandItemPath(const char* path, char (&expanded)[MAX_PATH])
{
    DWORD length = strchr(path, '%') ? ExpandEnvironmentStringsA(path, expanded, MAX_PATH) : 0;
    if (length == 0 || length > MAX_PATH)
        copyField(expanded, path);
}

void lowerPathLetters(char* key)
{
    for (char* p = key; *p; p++) {
        if ((unsigned char)*p >= 0x80 && IsDBCSLeadByte((BYTE)*p)) {
            if (!p[1])
                break;
            p++;
        } else if (*p >= 'A' && *p <= 'Z') {
            *p = (char)(*p - 'A' + 'a');
        }
    }
}

uint32_t hashBytes(const void* bytes, size_t size)
{
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < size; i++)
        h = (h ^ ((const uint8_t*)bytes)[i]) * 16777619u;
    return h;
}
