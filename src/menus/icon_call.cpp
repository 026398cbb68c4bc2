// The shell's icon calls. Tests link their own versions in their place.
// zentornt3 shows no icons: none of this is in that build.
#ifndef ZENTOR_NT3
#include "icon_lookup.h"

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

HICON shellGenericIcon(int large)
{
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA("file", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                        SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | sizeFlag(large)))
        return nullptr;
    return info.hIcon;
}

#endif
