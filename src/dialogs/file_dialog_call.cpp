// The real file-open dialog. Tests link their own version in its place.
#include "file_browse.h"

BOOL getOpenFileName(OPENFILENAMEW* request, DWORD* error)
{
    BOOL chosen = GetOpenFileNameW(request);
    *error = chosen ? 0 : CommDlgExtendedError();
    return chosen;
}
