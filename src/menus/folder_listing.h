// What the folder menus ask of the disk: whether an entry stands for a
// folder, and what a folder holds, in the order Explorer shows it. Every
// call here may wait on a slow disk or an unreachable share, so only the
// folder worker's threads make them.
//
// Names are wide, as the disk holds them: a menu shows them whole, and the
// order compares them whole. Each item also gets the name the system's code
// page can hold (or its short name), which is what the launch takes.
#ifndef ZENTOR_FOLDER_LISTING_H
#define ZENTOR_FOLDER_LISTING_H

#include <windows.h>

// What listing a folder gave.
constexpr int FOLDER_LISTED = 1;     // the listing holds what the folder holds
constexpr int FOLDER_UNREADABLE = 2; // gone, not a folder, or access denied

struct ListedItem {
    int isFolder;
    const wchar_t* name;  // as the folder holds it
    const char* codeName; // the name in the code page, or its short name; null: neither
};

// One block on the heap (free() it): the items, then their names.
struct FolderListing {
    int count; // items kept, folders first, then in Explorer's order of names
    int more;  // 1 when the folder holds more items than were kept
    ListedItem items[1];
};

// Readies the order of names; the bar's thread calls it before a worker
// starts. Loads nothing at start-up: only once folder menus are first used.
void prepareFolderListing();

// Lists the folder at path (no trailing backslash but on a drive's root),
// keeping the first limit items in order; hidden and system files are left
// out. Returns FOLDER_LISTED with *listing set, or FOLDER_UNREADABLE.
int listFolder(const wchar_t* path, int limit, FolderListing** listing);

// 1 when path is a folder, or (zentor) a shortcut to one; folder then gets
// the folder's path (size characters).
int findEntryFolder(const wchar_t* path, wchar_t* folder, size_t size);

// The path in the code page into code (size bytes): as it is when the code
// page holds it, else (zentor) its short form; "" when neither fits.
void codePagePath(const wchar_t* path, char* code, size_t size);

// The first file of a listing, in a file of its own (folder_call.cpp) so that
// tests can hold a folder back as a slow share would.
HANDLE findFirstFolderFile(const wchar_t* pattern, WIN32_FIND_DATAW* found);

#endif
