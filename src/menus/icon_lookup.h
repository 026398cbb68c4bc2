// Finding the icon of a menu item's file, as Explorer shows it, and turning
// it into the pixels a menu shows beside the item: 32-bit, premultiplied
// alpha (without it, menus draw icons with black edges). Everything here
// runs on the icon worker's thread.
#ifndef ZENTOR_ICON_LOOKUP_H
#define ZENTOR_ICON_LOOKUP_H

#include <stdint.h>
#include <windows.h>

// What a lookup found.
constexpr int ICON_NOTHING = 0; // no such file, or no icon: the generic icon stands in
constexpr int ICON_OWN = 1;     // the file's own icon (programs, shortcuts, icons, folders)
constexpr int ICON_OF_TYPE = 2; // a document that exists: the icon of its type

// 1 when a file at path shows the icon of its type (a document, cached by
// its extension), 0 when it has its own (a program, shortcut, icon file or
// folder, cached by its path). Decided from the name alone.
int showsTypeIcon(const char* path);

// Looks up the file at path (a full path, or a program's name found along
// the search path). Returns what it found; *pixels gets size x size pixels
// on the heap (free them) for ICON_OWN, else null.
int lookUpFileIcon(const char* path, int size, uint32_t** pixels);
// The shell's icon of the files of a type (extension ".txt"), from the type
// alone, with no file's overlays; for "" the icon of a file of no known
// type, the stand-in for every missing file and failed lookup. Null when the
// shell has none.
uint32_t* lookUpTypeIcon(const char* extension, int size);

// Describes 32-bit pixels in rows from the top, as the icons' pixels are.
void describeIconPixels(BITMAPINFO* info, int width, int height);

// The icon's pixels at size x size, rows from the top, each 0xAARRGGBB with
// the colours premultiplied by alpha; null when the icon cannot be read.
uint32_t* iconPixels(HICON icon, int size);

// The shell's calls, in a file of their own (icon_call.cpp) so that tests
// can answer them: the small (large 0) or large icon of a file, with its
// overlays, and of a type's files (as lookUpTypeIcon). Null when there is
// none.
HICON shellFileIcon(const char* path, int large);
HICON shellTypeIcon(const char* extension, int large);
// The first icon a program or icon file holds, made at size x size; null
// when it holds none.
HICON firstIconOf(const char* path, int size);

#endif
