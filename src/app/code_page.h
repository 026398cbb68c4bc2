// Menus and options hold their texts in the system's ANSI code page. Names
// that come from the shell are wide, and may hold characters that page
// cannot: such a name would be stored with "?" in their place and could
// never name its file again.
#ifndef ZENTOR_CODE_PAGE_H
#define ZENTOR_CODE_PAGE_H

#include <windows.h>

// The wide text in the ANSI code page, on the heap (free it); *exact is 1
// when it turns back into the very same wide text, 0 when some character
// was lost or replaced on the way.
char* toCodePage(const WCHAR* wide, int* exact);
// The same into out (size bytes); for names and paths of at most MAX_PATH
// characters it takes nothing from the heap. Returns 1 when the text fits whole and turns back into the very same wide
// text; else 0, and out holds "".
int toCodePageText(const WCHAR* wide, char* out, size_t size);

#endif
