// The shell's icon calls. Tests link their own versions in their place.
// zentornt3 shows no icons: none of this is in that build.
#ifndef ZENTOR_NT3
#include "icon_lookup.h"
#include "../app/text.h"

#include <shellapi.h>

static UINT sizeFlag(int large)
{
    return large ? SHGFI_LARGEICON : SHGFI_SMALLICON;
}

HICON shellFileIcon(const char* path, int large)
{
    SHFILEINFOA info = {};
    // The overlays are the shell's own: a shortcut's arrow among them.
    if (!SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_ADDOVERLAYS | sizeFlag(large)))
        return nullptr;
    return info.hIcon;
}

HICON firstIconOf(const char* path, int size)
{
    HICON icon = nullptr;
    UINT got = PrivateExtractIconsA(path, 0, size, size, &icon, nullptr, 1, 0);
    return got == 1 && icon ? icon : nullptr;
}

// From the name alone: no disk is read, and no one file's overlay shows.
HICON shellTypeIcon(const char* extension, int large)
{
    char name[MAX_PATH];
    if (!formatText(name, sizeof name, "file%s", extension))
        return nullptr;
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(name, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                        SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | sizeFlag(large)))
        return nullptr;
    return info.hIcon;
}

#endif
