// The file calls of a save, each in one place (save_calls.cpp) so that a
// test can put versions in their place that fail any one of them.
#ifndef ZENTOR_SAVE_CALLS_H
#define ZENTOR_SAVE_CALLS_H

#include <stddef.h>
#include <stdio.h>

// Creates or truncates the file for binary writing; null on failure.
FILE* openSaveFile(const char* path);
// 1 when all count bytes were written.
int writeSaveFile(FILE* file, const void* bytes, size_t count);
// Puts what was written on the disk; 1 on success.
int flushSaveFile(FILE* file);
// 1 on success; the stream is gone either way.
int closeSaveFile(FILE* file);
// Puts the file from in the place of to, replacing it; 1 on success.
int replaceWithSaveFile(const char* from, const char* to);

#endif
