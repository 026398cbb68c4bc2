// The real file-open dialog. Tests link their own version in its place.
#include "file_browse.h"

BOOL getOpenFileName(OPENFILENAMEA* request, DWORD* error)
{
    BOOL chosen = GetOpenFileNameA(request);
    *error = chosen ? 0 : CommDlgExtendedError();
    return chosen;
}
