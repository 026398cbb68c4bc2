// Whether a name typed on the command line can name a file on Windows at all.
// Free of platform calls, so the command-line fuzzer can run it.
#ifndef ZENTOR_FILE_NAMES_H
#define ZENTOR_FILE_NAMES_H

#include <stddef.h>

// 1 when name can be a file name, or with folders a path (folders
// separated by "\" or "/", a drive letter first); else 0, with why (size
// bytes) saying what is wrong.
int canNameFile(const char* name, int withFolders, char* why, size_t size);

#endif
