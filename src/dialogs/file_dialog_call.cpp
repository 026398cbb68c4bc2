// The real file-open dialog. Tests link their own version in its place.
#include "file_browse.h"

BOOL getOpenFileName(OPENFILENAMEA* request)
{
    return GetOpenFileNameA(request);
}
