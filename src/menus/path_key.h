// The keys of what the bar keeps on its items' files (their icons, whether
// they are folders): one per file however its path is written.
#ifndef ZENTOR_PATH_KEY_H
#define ZENTOR_PATH_KEY_H

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

// The item's path with its %VAR%s expanded as the launch expands them; as
// given when that fails.
void expandItemPath(const char* path, char (&expanded)[MAX_PATH]);
// The letters A to Z of an expanded path made small, in place (a path that
// differs only in the case of other letters keeps a key of its own). The
// second byte of a double-byte character is left as it is.
void lowerPathLetters(char* key);
// A hash of the bytes (FNV-1a).
uint32_t hashBytes(const void* bytes, size_t size);

#endif
