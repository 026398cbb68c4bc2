#include "file_names.h"

#include <string.h>

#include "text.h"

#ifdef _WIN32
#include <windows.h>
// In a double-byte code page the second byte of a character may be a "\" or
// a "|": the name is walked a whole character at a time.
static const char* nextCharacter(const char* p)
{
    return CharNextA(p);
}
#else
// The fuzzer's native build, whose texts are single-byte.
static const char* nextCharacter(const char* p)
{
    return p + 1;
}
#endif

static const char* const DEVICE_NAMES[] = {"CON", "PRN", "AUX", "NUL"};
static const char* const NUMBERED_DEVICES[] = {"COM", "LPT"};

static int sameLetters(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; i++) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = (char)(x - 'a' + 'A');
        if (x != y)
            return 0;
    }
    return 1;
}

// True when the part of a path from part to end (one file or folder name)
// opens a device whatever its extension: "nul.zt" is the NUL device.
static int isDeviceName(const char* part, const char* end)
{
    const char* dot = (const char*)memchr(part, '.', (size_t)(end - part));
    const char* stem = dot ? dot : end;
    while (stem > part && stem[-1] == ' ')
        stem--;
    size_t length = (size_t)(stem - part);
    for (const char* device : DEVICE_NAMES)
        if (length == 3 && sameLetters(part, device, 3))
            return 1;
    for (const char* device : NUMBERED_DEVICES)
        if (length == 4 && sameLetters(part, device, 3) && part[3] >= '1' && part[3] <= '9')
            return 1;
    return 0;
}

static int isSeparator(char c)
{
    return c == '\\' || c == '/';
}

int canNameFile(const char* name, int withFolders, char* why, size_t size)
{
    int driveLetter = withFolders && ((name[0] | 0x20) >= 'a' && (name[0] | 0x20) <= 'z') &&
                      name[1] == ':';
    for (const char* p = name; *p; p = nextCharacter(p)) {
        unsigned char c = (unsigned char)*p;
        if (c < 32) {
            copyText(why, size, "file names cannot hold control characters");
            return 0;
        }
        if (driveLetter && p == name + 1)
            continue;
        if (nextCharacter(p) > p + 1)
            continue;
        if (strchr("\"*:<>?|", c) || (!withFolders && isSeparator((char)c))) {
            formatText(why, size, "file names cannot hold the character %c", c);
            return 0;
        }
    }
    const char* part = name + (driveLetter ? 2 : 0);
    for (;;) {
        const char* end = part;
        while (*end && !(withFolders && isSeparator(*end)))
            end = nextCharacter(end);
        if (isDeviceName(part, end)) {
            formatText(why, size, "%.*s is a name Windows keeps for a device", (int)(end - part),
                       part);
            return 0;
        }
        if (!*end)
            return 1;
        part = end + 1;
    }
}
