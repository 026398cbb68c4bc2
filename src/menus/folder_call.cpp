// The first file of a folder's listing. Tests link their own version in its
// place, to hold a folder back as an unreachable share would.
#include "folder_listing.h"

HANDLE findFirstFolderFile(const wchar_t* pattern, WIN32_FIND_DATAW* found)
{
    return FindFirstFileW(pattern, found);
}
