// Paths that must mean the same all the time the program runs. A relative
// data file or WAV file names a file in the folder the program was started
// in; the file dialog, among others, changes the current directory while the
// bar runs, so such paths are made full once, at start-up.
#ifndef ZENTOR_START_PATHS_H
#define ZENTOR_START_PATHS_H

#include <stddef.h>
#include <windows.h>

extern char startDirectory[MAX_PATH];   // the current directory at start-up; "" until known
extern char dataFileLocation[MAX_PATH]; // full path of dataFilePath; "" until settled

// Takes the start folder and the data file's full path, once dataFilePath is
// settled and before anything can change the current directory.
void rememberStartPaths();

// The data file to read and write: its full path once settled, else
// dataFilePath as it stands ("default.zt" when empty).
const char* dataFileToUse();

// Puts into out the path a relative path names in the start folder; a full
// path, or any path while the start folder is unknown, is copied as it is.
// Returns 0 when the result does not fit out (out then holds path).
int pathFromStart(const char* path, char* out, size_t size);

#endif
