// zentornt3 shows no icons: none of this is in that build.
#ifndef ZENTOR_NT3
#include "icon_lookup.h"

#include <stdlib.h>
#include <string.h>

#include "../app/text.h"

// Files whose icon is their own: each program, shortcut or icon file shows
// a picture of its own, where documents of one type all show the same.
static const char* const OWN_ICON_TYPES[] = {".exe", ".com", ".bat", ".cmd", ".pif", ".lnk",
                                             ".url", ".ico", ".cur", ".ani", ".scr", ".cpl",
                                             ".msc", ".dll"};

// The extension of the file name at the end of path, "" when it has none.
static const char* extensionOf(const char* path)
{
    const char* dot = nullptr;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/')
            dot = nullptr;
        else if (*p == '.')
            dot = p;
    }
    return dot ? dot : "";
}

// Files that hold their icons themselves: their first one is the icon the
// shell shows for them.
static const char* const HOLDS_ICONS[] = {".exe", ".dll", ".ico", ".cpl", ".scr"};

static int holdsIcons(const char* path)
{
    const char* extension = extensionOf(path);
    for (const char* type : HOLDS_ICONS)
        if (lstrcmpiA(extension, type) == 0)
            return 1;
    return 0;
}

int showsTypeIcon(const char* path)
{
    const char* extension = extensionOf(path);
    if (!extension[0] || !extension[1])
        return 0; // no extension: a program's name, or a folder
    for (const char* own : OWN_ICON_TYPES)
        if (lstrcmpiA(extension, own) == 0)
            return 0;
    return 1;
}

// A name without a folder ("notepad.exe") starts what the search path finds.
static DWORD attributesOf(const char* path, char (&found)[MAX_PATH])
{
    copyField(found, path);
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES || strpbrk(path, "\\/:"))
        return attributes;
    DWORD length = SearchPathA(nullptr, path, ".exe", MAX_PATH, found, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesA(found);
}

// The system's small icons are of the small size at the system's DPI; a
// larger size is made from the large icon, never blown up from the small.
static int wantsLargeIcon(int size)
{
    return size > GetSystemMetrics(SM_CXSMICON);
}

static uint32_t* pixelsOf(HICON icon, int size)
{
    if (!icon)
        return nullptr;
    uint32_t* pixels = iconPixels(icon, size);
    DestroyIcon(icon);
    return pixels;
}

int lookUpFileIcon(const char* path, int size, uint32_t** pixels)
{
    *pixels = nullptr;
    char found[MAX_PATH];
    DWORD attributes = attributesOf(path, found);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ICON_NOTHING;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && showsTypeIcon(found))
        return ICON_OF_TYPE;
    // Taken from the file at the very size wanted where it holds icons; the
    // shell's own answer otherwise, or where the file holds none (some
    // shells give such programs the icon of all programs).
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && holdsIcons(found))
        *pixels = pixelsOf(firstIconOf(found, size), size);
    if (!*pixels)
        *pixels = pixelsOf(shellFileIcon(found, wantsLargeIcon(size)), size);
    return *pixels ? ICON_OWN : ICON_NOTHING;
}

uint32_t* lookUpTypeIcon(const char* extension, int size)
{
    return pixelsOf(shellTypeIcon(extension, wantsLargeIcon(size)), size);
}

void describeIconPixels(BITMAPINFO* info, int width, int height)
{
    memset(info, 0, sizeof *info);
    info->bmiHeader.biSize = sizeof info->bmiHeader;
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = -height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 32;
    info->bmiHeader.biCompression = BI_RGB;
}

// A bitmap's rows as 32-bit pixels, from the top.
static uint32_t* readBitmap(HDC dc, HBITMAP bitmap, int width, int height)
{
    uint32_t* pixels = (uint32_t*)calloc((size_t)width * height, sizeof(uint32_t));
    if (!pixels)
        return nullptr;
    BITMAPINFO info;
    describeIconPixels(&info, width, height);
    if (GetDIBits(dc, bitmap, 0, (UINT)height, pixels, &info, DIB_RGB_COLORS) != height) {
        free(pixels);
        return nullptr;
    }
    return pixels;
}

// Icons without an alpha channel are drawn through their mask: a set mask
// bit leaves the background, where a colour bit set too would invert it,
// which a menu cannot show: such pixels stay clear.
static void alphaFromMask(uint32_t* pixels, const uint32_t* mask, const uint32_t* colour,
                          int count)
{
    for (int i = 0; i < count; i++) {
        int clear = (mask[i] & 0xFFFFFF) != 0;
        pixels[i] = clear ? 0 : ((colour[i] & 0xFFFFFF) | 0xFF000000u);
    }
}

static void premultiply(uint32_t* pixels, int count)
{
    for (int i = 0; i < count; i++) {
        uint32_t p = pixels[i], a = p >> 24;
        uint32_t r = ((p >> 16 & 0xFF) * a + 127) / 255;
        uint32_t g = ((p >> 8 & 0xFF) * a + 127) / 255;
        uint32_t b = ((p & 0xFF) * a + 127) / 255;
        pixels[i] = a << 24 | r << 16 | g << 8 | b;
    }
}

// The image at size x size by averaging the area each new pixel covers, in
// premultiplied colours, so edges stay clean at any ratio.
static uint32_t* resample(const uint32_t* from, int width, int height, int size)
{
    uint32_t* to = (uint32_t*)calloc((size_t)size * size, sizeof(uint32_t));
    if (!to)
        return nullptr;
    double sx = (double)width / size, sy = (double)height / size;
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            double sum[4] = {0, 0, 0, 0}, area = 0;
            double top = y * sy, bottom = (y + 1) * sy, left = x * sx, right = (x + 1) * sx;
            for (int v = (int)top; v < height && v < bottom; v++) {
                double h = (v + 1 < bottom ? v + 1 : bottom) - (v > top ? v : top);
                for (int u = (int)left; u < width && u < right; u++) {
                    double w = ((u + 1 < right ? u + 1 : right) - (u > left ? u : left)) * h;
                    uint32_t p = from[v * width + u];
                    for (int c = 0; c < 4; c++)
                        sum[c] += w * (p >> (8 * c) & 0xFF);
                    area += w;
                }
            }
            uint32_t p = 0;
            for (int c = 0; c < 4 && area > 0; c++)
                p |= (uint32_t)(sum[c] / area + 0.5) << (8 * c);
            to[y * size + x] = p;
        }
    }
    return to;
}

uint32_t* iconPixels(HICON icon, int size)
{
    ICONINFO parts;
    if (size <= 0 || !GetIconInfo(icon, &parts))
        return nullptr;
    BITMAP shape = {};
    GetObjectA(parts.hbmColor ? parts.hbmColor : parts.hbmMask, sizeof shape, &shape);
    int width = shape.bmWidth;
    // A monochrome icon's mask holds both halves: the mask above the colours.
    int height = parts.hbmColor ? shape.bmHeight : shape.bmHeight / 2;
    int count = width * height;
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* pixels = nullptr;
    uint32_t* mask = nullptr;
    if (dc && count > 0) {
        mask = readBitmap(dc, parts.hbmMask, width, parts.hbmColor ? height : 2 * height);
        pixels = parts.hbmColor ? readBitmap(dc, parts.hbmColor, width, height)
                                : (uint32_t*)calloc((size_t)count, sizeof(uint32_t));
    }
    if (pixels && mask) {
        int hasAlpha = 0;
        for (int i = 0; parts.hbmColor && i < count && !hasAlpha; i++)
            hasAlpha = pixels[i] >> 24 != 0;
        if (!hasAlpha)
            alphaFromMask(pixels, mask, parts.hbmColor ? pixels : mask + count, count);
        premultiply(pixels, count);
        if (width != size || height != size) {
            uint32_t* scaled = resample(pixels, width, height, size);
            free(pixels);
            pixels = scaled;
        }
    } else {
        free(pixels);
        pixels = nullptr;
    }
    free(mask);
    if (dc)
        DeleteDC(dc);
    if (parts.hbmColor)
        DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    return pixels;
}

#endif
