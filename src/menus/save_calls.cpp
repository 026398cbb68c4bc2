// The real file calls of a save. Tests link their own versions instead.
#include "save_calls.h"

#include <io.h>
#include <windows.h>

FILE* openSaveFile(const char* path)
{
    return fopen(path, "wb");
}

int writeSaveFile(FILE* file, const void* bytes, size_t count)
{
    return fwrite(bytes, 1, count, file) == count;
}

int flushSaveFile(FILE* file)
{
    return fflush(file) == 0 && FlushFileBuffers((HANDLE)_get_osfhandle(_fileno(file)));
}

int closeSaveFile(FILE* file)
{
    return fclose(file) == 0;
}

int replaceWithSaveFile(const char* from, const char* to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
