#include "folder_listing.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#ifndef ZENTOR_NT3
#include <objbase.h>
#include <shlobj.h>
#endif

#include "../app/code_page.h"
#include "../app/text.h"

// ---- The order of names

#ifndef ZENTOR_NT3
// Explorer's order ("file2" before "file10") is shlwapi's, which the program
// does not import: it is loaded when folder menus are first used, so that
// start-up pays nothing for it. The shell loads shlwapi anyway.
typedef int(WINAPI* NameCompare)(const wchar_t*, const wchar_t*);
static NameCompare explorerOrder = nullptr;
#endif

void prepareFolderListing()
{
#ifndef ZENTOR_NT3
    if (explorerOrder)
        return;
    HMODULE shlwapi = LoadLibraryA("shlwapi.dll");
    if (shlwapi)
        explorerOrder = (NameCompare)(void*)GetProcAddress(shlwapi, "StrCmpLogicalW");
    if (!explorerOrder)
        explorerOrder = lstrcmpiW;
#endif
}

// Windows NT 3.x has no such order: names compare as lstrcmpi compares them.
static int compareNames(const wchar_t* a, const wchar_t* b)
{
#ifndef ZENTOR_NT3
    if (explorerOrder)
        return explorerOrder(a, b);
#endif
    return lstrcmpiW(a, b);
}

static int isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// Where two names that begin alike may be compared from: after the last
// space, or at the start of the last number (after a plain character that is
// no digit in any script), that both hold in the same place. The order reads
// a name word by word and number by number, so the alike words and numbers
// before that place weigh nothing; and Wine's order takes each character on
// its own, at a cost that made large folders of names that begin alike
// ("Scan 0001.pdf") list at half the speed.
static size_t partingPlace(const wchar_t* a, const wchar_t* b)
{
    size_t place = 0;
    for (size_t i = 0; a[i] && a[i] == b[i]; i++) {
        if (a[i] == L' ')
            place = i + 1;
        else if (isDigit(a[i]) && (i == 0 || (a[i - 1] < 0x80 && !isDigit(a[i - 1]))))
            place = i;
    }
    return place;
}

// Negative when the first comes before the second: folders first.
static int compareItems(int aFolder, const wchar_t* a, int bFolder, const wchar_t* b)
{
    if (aFolder != bFolder)
        return aFolder ? -1 : 1;
    size_t place = partingPlace(a, b);
    return compareNames(a + place, b + place);
}

// ---- Keeping the first items

// A folder of ten thousand files shows 500: those are found with a heap of
// the 500 that come first so far, whose top is the one that comes last. A
// name that comes after it is passed over at the cost of one comparison;
// sorting every name would cost ten times the comparisons, which are most of
// a listing's time after the disk's own.
struct Slot {
    int isFolder;
    wchar_t name[MAX_PATH];
    wchar_t shortName[14];
};

struct Selection {
    Slot* slots;
    int* heap; // slot numbers
    int count;
    int room;
    int limit;
    int more;
};

static int comesAfter(const Selection* s, int a, int b)
{
    const Slot* x = &s->slots[s->heap[a]];
    const Slot* y = &s->slots[s->heap[b]];
    return compareItems(x->isFolder, x->name, y->isFolder, y->name) > 0;
}

static void swapHeap(Selection* s, int a, int b)
{
    int kept = s->heap[a];
    s->heap[a] = s->heap[b];
    s->heap[b] = kept;
}

static void siftUp(Selection* s, int at)
{
    while (at > 0) {
        int parent = (at - 1) / 2;
        if (!comesAfter(s, at, parent))
            return;
        swapHeap(s, at, parent);
        at = parent;
    }
}

static void siftDown(Selection* s, int at, int count)
{
    for (;;) {
        int last = at;
        int left = 2 * at + 1;
        int right = left + 1;
        if (left < count && comesAfter(s, left, last))
            last = left;
        if (right < count && comesAfter(s, right, last))
            last = right;
        if (last == at)
            return;
        swapHeap(s, at, last);
        at = last;
    }
}

static void fillSlot(Slot* slot, const WIN32_FIND_DATAW* found)
{
    slot->isFolder = (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    copyWideText(slot->name, MAX_PATH, found->cFileName);
    copyWideText(slot->shortName, 14, found->cAlternateFileName);
}

// 0 when memory ran out.
static int grow(Selection* s)
{
    int more = s->room ? s->room * 2 : 64;
    if (more > s->limit)
        more = s->limit;
    Slot* slots = (Slot*)realloc(s->slots, (size_t)more * sizeof(Slot));
    if (!slots)
        return 0;
    s->slots = slots;
    int* heap = (int*)realloc(s->heap, (size_t)more * sizeof(int));
    if (!heap)
        return 0;
    s->heap = heap;
    s->room = more;
    return 1;
}

static int take(Selection* s, const WIN32_FIND_DATAW* found)
{
    int isFolder = (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (s->count < s->limit) {
        if (s->count == s->room && !grow(s))
            return 0;
        s->heap[s->count] = s->count;
        fillSlot(&s->slots[s->count], found);
        siftUp(s, s->count++);
        return 1;
    }
    s->more = 1;
    if (s->count == 0)
        return 1;
    const Slot* last = &s->slots[s->heap[0]];
    if (compareItems(isFolder, found->cFileName, last->isFolder, last->name) >= 0)
        return 1;
    fillSlot(&s->slots[s->heap[0]], found);
    siftDown(s, 0, s->count);
    return 1;
}

// ---- Listing

static int isDotName(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

static int leftOut(const WIN32_FIND_DATAW* found)
{
    return isDotName(found->cFileName) ||
           (found->dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

// The name the launch can take: the name itself in the code page, or its
// short name, which is plain letters.
static void codeNameOf(const Slot* slot, char* code, size_t size)
{
    if (!toCodePageText(slot->name, code, size) && slot->shortName[0])
        toCodePageText(slot->shortName, code, size);
}

// The kept items in order, with their names, in one block; null when memory
// ran out.
static FolderListing* makeListing(Selection* s)
{
    for (int end = s->count - 1; end > 0; end--) {
        swapHeap(s, 0, end);
        siftDown(s, 0, end);
    }
    size_t textBytes = 0;
    char code[MAX_PATH];
    for (int i = 0; i < s->count; i++) {
        const Slot* slot = &s->slots[s->heap[i]];
        codeNameOf(slot, code, sizeof code);
        textBytes += (wcslen(slot->name) + 1) * sizeof(wchar_t) + strlen(code) + 1;
    }
    size_t itemBytes = (size_t)(s->count > 0 ? s->count : 1) * sizeof(ListedItem);
    FolderListing* listing =
        (FolderListing*)malloc(offsetof(FolderListing, items) + itemBytes + textBytes);
    if (!listing)
        return nullptr;
    listing->count = s->count;
    listing->more = s->more;
    // The wide names first, where their alignment holds.
    wchar_t* wide = (wchar_t*)((char*)listing->items + itemBytes);
    for (int i = 0; i < s->count; i++) {
        const Slot* slot = &s->slots[s->heap[i]];
        size_t length = wcslen(slot->name) + 1;
        memcpy(wide, slot->name, length * sizeof(wchar_t));
        listing->items[i].isFolder = slot->isFolder;
        listing->items[i].name = wide;
        wide += length;
    }
    char* narrow = (char*)wide;
    for (int i = 0; i < s->count; i++) {
        codeNameOf(&s->slots[s->heap[i]], code, sizeof code);
        size_t length = strlen(code) + 1;
        memcpy(narrow, code, length);
        listing->items[i].codeName = code[0] ? narrow : nullptr;
        narrow += length;
    }
    return listing;
}

int listFolder(const wchar_t* path, int limit, FolderListing** listing)
{
    *listing = nullptr;
    wchar_t pattern[MAX_PATH];
    size_t length = wcslen(path);
    const wchar_t* tail = length && path[length - 1] == L'\\' ? L"*" : L"\\*";
    if (length + wcslen(tail) >= MAX_PATH)
        return FOLDER_UNREADABLE;
    memcpy(pattern, path, length * sizeof(wchar_t));
    copyWideText(pattern + length, MAX_PATH - length, tail);

    Selection s = {};
    s.limit = limit;
    WIN32_FIND_DATAW found;
    HANDLE search = findFirstFolderFile(pattern, &found);
    int result = FOLDER_LISTED;
    if (search == INVALID_HANDLE_VALUE) {
        // A folder with nothing in it, not even "." (a drive's root).
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES)
            result = FOLDER_UNREADABLE;
    } else {
        do {
            if (!leftOut(&found) && !take(&s, &found)) {
                result = FOLDER_UNREADABLE;
                break;
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    if (result == FOLDER_LISTED) {
        *listing = makeListing(&s);
        if (!*listing)
            result = FOLDER_UNREADABLE;
    }
    free(s.slots);
    free(s.heap);
    return result;
}

// ---- Entries

static int isFolderPath(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

#ifndef ZENTOR_NT3
static int isShortcutName(const wchar_t* path)
{
    size_t length = wcslen(path);
    return length >= 4 && lstrcmpiW(path + length - 4, L".lnk") == 0;
}

// The shortcut's target as it stands in the shortcut, without looking for a
// moved one: that is the launch's business.
static int shortcutTarget(const wchar_t* path, wchar_t* target, size_t size)
{
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t raw[MAX_PATH] = L"";
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, (void**)&link);
    if (SUCCEEDED(result))
        result = link->QueryInterface(IID_IPersistFile, (void**)&file);
    if (SUCCEEDED(result))
        result = file->Load(path, STGM_READ);
    if (SUCCEEDED(result))
        result = link->GetPath(raw, MAX_PATH, nullptr, 0);
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (result != S_OK || !raw[0])
        return 0;
    DWORD length = ExpandEnvironmentStringsW(raw, target, (DWORD)size);
    return length > 0 && length <= size;
}
#endif

int findEntryFolder(const wchar_t* path, wchar_t* folder, size_t size)
{
    if (isFolderPath(path))
        return copyWideText(folder, size, path);
#ifndef ZENTOR_NT3
    if (isShortcutName(path) && shortcutTarget(path, folder, size))
        return isFolderPath(folder);
#endif
    return 0;
}

void codePagePath(const wchar_t* path, char* code, size_t size)
{
    if (toCodePageText(path, code, size))
        return;
#ifndef ZENTOR_NT3
    wchar_t shortPath[MAX_PATH];
    DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        toCodePageText(shortPath, code, size);
#endif
}
