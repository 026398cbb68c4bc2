// Stands in for the file calls of a save: each does its work for real,
// except the one numbered failingSaveCall (counted from 1 since the last
// reset), which fails as the system would. Tests that use it declare the
// names below themselves.
#include <windows.h>

#include "menus/save_calls.h"

int saveCallsMade = 0;
int failingSaveCall = 0; // 0: none fails

static bool failsNow()
{
    return ++saveCallsMade == failingSaveCall;
}

FILE* openSaveFile(const char* path)
{
    return failsNow() ? nullptr : fopen(path, "wb");
}

// A failing write puts out half its bytes, as a disk that fills up does.
int writeSaveFile(FILE* file, const void* bytes, size_t count)
{
    if (failsNow()) {
        fwrite(bytes, 1, count / 2, file);
        return 0;
    }
    return fwrite(bytes, 1, count, file) == count;
}

int flushSaveFile(FILE* file)
{
    return fflush(file) == 0 && !failsNow();
}

// A failing close still lets the file go.
int closeSaveFile(FILE* file)
{
    return fclose(file) == 0 && !failsNow();
}

int replaceWithSaveFile(const char* from, const char* to)
{
    return !failsNow() && MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}
