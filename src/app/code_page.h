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

#endif
