#include "start_paths.h"

#include "command_line.h"
#include "text.h"

char startDirectory[MAX_PATH] = "";
char dataFileLocation[MAX_PATH] = "";

void rememberStartPaths()
{
    DWORD length = GetCurrentDirectoryA(sizeof startDirectory, startDirectory);
    if (length == 0 || length >= sizeof startDirectory)
        startDirectory[0] = '\0';
    dataFileLocation[0] = '\0';
    const char* name = dataFilePath[0] ? dataFilePath : "default.zt";
    length = GetFullPathNameA(name, sizeof dataFileLocation, dataFileLocation, nullptr);
    // A path the system cannot make full is used as given: the load and the
    // save then report what goes wrong with it.
    if (length == 0 || length >= sizeof dataFileLocation)
        dataFileLocation[0] = '\0';
}

const char* dataFileToUse()
{
    if (dataFileLocation[0])
        return dataFileLocation;
    return dataFilePath[0] ? dataFilePath : "default.zt";
}

static int isSeparator(char c)
{
    return c == '\\' || c == '/';
}

int pathFromStart(const char* path, char* out, size_t size)
{
    // A path on a named drive ("D:tune.wav" included) or a network path is
    // left as given.
    if (!startDirectory[0] || !path[0] || path[1] == ':' ||
        (isSeparator(path[0]) && isSeparator(path[1])))
        return copyText(out, size, path);
    char joined[MAX_PATH * 2];
    if (isSeparator(path[0])) {
        // From the root of the start folder's drive.
        if (startDirectory[1] != ':')
            return copyText(out, size, path);
        formatText(joined, sizeof joined, "%.2s%s", startDirectory, path);
    } else {
        formatText(joined, sizeof joined, "%s\\%s", startDirectory, path);
    }
    DWORD length = GetFullPathNameA(joined, (DWORD)size, out, nullptr);
    if (length == 0 || length >= size) {
        copyText(out, size, path);
        return 0;
    }
    return 1;
}
