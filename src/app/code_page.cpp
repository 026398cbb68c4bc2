#include "code_page.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "app.h"

// Best-fit mappings ("é" to "e") would store a name that looks right and
// names no file: they are refused where the code page allows it.
static int convert(const WCHAR* wide, char* out, int size)
{
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out, size, nullptr,
                                     nullptr);
    if (!length && GetLastError() == ERROR_INVALID_FLAGS)
        length = WideCharToMultiByte(CP_ACP, 0, wide, -1, out, size, nullptr, nullptr);
    return length;
}

// The round trip tells a lost character whatever the code page, UTF-8 and
// the double-byte pages included. Names and paths are turned back on the
// stack; only a longer text takes memory from the heap.
static int turnsBack(const char* text, const WCHAR* wide)
{
    size_t length = wcslen(wide) + 1;
    WCHAR onStack[MAX_PATH + 1];
    WCHAR* back = length <= MAX_PATH + 1 ? onStack : (WCHAR*)malloc(length * sizeof(WCHAR));
    if (!back)
        fatalError("Out of memory.");
    int same = length <= INT_MAX &&
               MultiByteToWideChar(CP_ACP, 0, text, -1, back, (int)length) == (int)length &&
               memcmp(back, wide, length * sizeof(WCHAR)) == 0;
    if (back != onStack)
        free(back);
    return same;
}

char* toCodePage(const WCHAR* wide, int* exact)
{
    int size = convert(wide, nullptr, 0);
    char* text = (char*)calloc(size > 0 ? (size_t)size : 1, 1);
    if (!text)
        fatalError("Out of memory.");
    *exact = size > 0 && convert(wide, text, size) && turnsBack(text, wide);
    return text;
}

int toCodePageText(const WCHAR* wide, char* out, size_t size)
{
    if (size == 0)
        return 0;
    int same = size <= INT_MAX && convert(wide, out, (int)size) && turnsBack(out, wide);
    if (!same)
        out[0] = '\0';
    return same;
}
