#include "folder_menus.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "folder_worker.h"
#include "menu_bar.h"
#include "menu_icons.h"
#include "path_key.h"
#include "../app/app.h"
#include "../app/text.h"
#include "../bar/bar_window.h"
#include "../launch/launch.h"
#include "../options/settings.h"

constexpr int ANSWER_BUCKETS = 4096;
// Listings that came after their opening stopped waiting, kept for the
// folder's next opening: a few of the latest.
constexpr int MAX_LATE_LISTINGS = 16;

// What the worker said of one entry's path (expanded, in small letters).
struct EntryAnswer {
    EntryAnswer* next;      // in its bucket
    FolderRequest* request; // a check under way; null when none
    int known;              // 1 once answered
    int isFolder;
    wchar_t* folder;        // the folder it opens as, on the heap; null when none
    char* codeFolder;       // that folder in the code page, on the heap
    uint32_t hash;
    char key[1];            // as long as it needs
};

// One folder menu: a folder entry's, or a subfolder's in another.
struct FolderLevel {
    FolderLevel* nextSibling;  // the next of its parent's, or of the top ones
    FolderLevel* firstChild;   // its subfolders' menus, made with its items
    FolderLevel* parent;       // null: a folder entry's own
    HMENU menu;
    HMENU barPopup;            // the bar's popup it hangs under
    const AppNode* entry;      // a folder entry's, for Open Folder; null for a subfolder
    int32_t id;                // Open Folder and More...; 0: none was left
    FolderListing* listing;    // what it shows; null while empty
    int32_t* itemIds;          // one per item shown
    int itemCount;
    wchar_t* folder;           // on the heap; "" when its path is too long
    char* codeFolder;          // the same in the code page; "" when it cannot be named so
};

// A folder's listing asked of the worker, or one that came too late for its
// opening, kept for the next.
struct ListingJob {
    ListingJob* next;
    FolderRequest* request; // under way; null when none
    FolderListing* late;    // null when none
    int lateResult;
    wchar_t folder[MAX_PATH];
};

static EntryAnswer** answers = nullptr; // ANSWER_BUCKETS chains; null until first asked
static int entryVersion = 0;
static FolderLevel* topLevels = nullptr;
static ListingJob* jobs = nullptr;

static void* allocate(size_t size)
{
    void* block = calloc(1, size);
    if (!block)
        fatalError("Out of memory.");
    return block;
}

static wchar_t* copyOfWide(const wchar_t* text)
{
    size_t length = wcslen(text) + 1;
    wchar_t* copy = (wchar_t*)allocate(length * sizeof(wchar_t));
    memcpy(copy, text, length * sizeof(wchar_t));
    return copy;
}

static char* copyOf(const char* text)
{
    size_t length = strlen(text) + 1;
    char* copy = (char*)allocate(length);
    memcpy(copy, text, length);
    return copy;
}

// folder + "\" + name into path (size characters); 0 when it does not fit.
static int joinWide(wchar_t* path, size_t size, const wchar_t* folder, const wchar_t* name)
{
    size_t length = wcslen(folder);
    const wchar_t* slash = length && folder[length - 1] == L'\\' ? L"" : L"\\";
    size_t total = length + wcslen(slash) + wcslen(name);
    if (!folder[0] || total >= size)
        return 0;
    memcpy(path, folder, length * sizeof(wchar_t));
    copyWideText(path + length, size - length, slash);
    copyWideText(path + wcslen(path), size - wcslen(path), name);
    return 1;
}

// The same in the code page, where a backslash byte may also be the second
// byte of a double-byte character.
static int joinCode(char* path, size_t size, const char* folder, const char* name)
{
    if (!folder[0] || !name || !name[0])
        return 0;
    const char* end = folder + strlen(folder);
    const char* last = CharPrevA(folder, end);
    const char* slash = *last == '\\' && last + 1 == end ? "" : "\\";
    return formatText(path, size, "%s%s%s", folder, slash, name);
}

static void startWorker()
{
    if (!answers) {
        answers = (EntryAnswer**)allocate(ANSWER_BUCKETS * sizeof(EntryAnswer*));
        startFolderWorker();
    }
}

// ---- Answers from the worker

static void takeCheck(EntryAnswer* e, FolderRequest* r)
{
    e->request = nullptr;
    int wasFolder = e->known && e->isFolder;
    if (r->found != wasFolder || (r->found && wcscmp(e->folder, r->folder) != 0))
        entryVersion++;
    e->known = 1;
    e->isFolder = r->found;
    free(e->folder);
    free(e->codeFolder);
    e->folder = r->found ? copyOfWide(r->folder) : nullptr;
    e->codeFolder = r->found ? copyOf(r->codeFolder) : nullptr;
}

static void freeJob(ListingJob* job)
{
    for (ListingJob** at = &jobs; *at; at = &(*at)->next) {
        if (*at == job) {
            *at = job->next;
            break;
        }
    }
    free(job->late);
    free(job);
}

// Keeps the latest few late listings and drops the jobs that hold nothing
// (a late answer that the folder cannot be read). Never called while an
// opening waits on its job: answers taken during that wait may belong to it.
static void limitLateListings()
{
    int kept = 0;
    ListingJob* next = nullptr;
    for (ListingJob* job = jobs; job; job = next) {
        next = job->next;
        if (job->request)
            continue;
        if (job->late && ++kept <= MAX_LATE_LISTINGS)
            continue;
        freeJob(job);
    }
}

static void takeListing(ListingJob* job, FolderRequest* r)
{
    job->request = nullptr;
    free(job->late);
    job->late = r->listing;
    job->lateResult = r->found;
    r->listing = nullptr;
}

static void takeAnswers()
{
    FolderRequest* r = takeFinishedFolderRequests();
    while (r) {
        FolderRequest* next = nextFolderRequest(r);
        if (r->kind == FOLDER_CHECK)
            takeCheck((EntryAnswer*)r->work.owner, r);
        else
            takeListing((ListingJob*)r->work.owner, r);
        freeFolderRequest(r);
        r = next;
    }
}

void onFolderAnswers()
{
    takeAnswers();
    limitLateListings();
}

// ---- Entries

// The entry path's answer, made (not yet asked) when new when make is 1;
// expanded gets the path as the launch expands it.
static EntryAnswer* answerFor(const char* path, char (&expanded)[MAX_PATH], int make)
{
    expandItemPath(path, expanded);
    char key[MAX_PATH];
    copyField(key, expanded);
    lowerPathLetters(key);
    uint32_t hash = hashBytes(key, strlen(key));
    EntryAnswer** bucket = &answers[hash % ANSWER_BUCKETS];
    for (EntryAnswer* e = *bucket; e; e = e->next)
        if (e->hash == hash && strcmp(e->key, key) == 0)
            return e;
    if (!make)
        return nullptr;
    size_t keyLength = strlen(key);
    EntryAnswer* e = (EntryAnswer*)allocate(sizeof(EntryAnswer) + keyLength);
    memcpy(e->key, key, keyLength + 1);
    e->hash = hash;
    e->next = *bucket;
    *bucket = e;
    return e;
}

static void askWhetherFolder(EntryAnswer* e, const char* expanded, int front)
{
    FolderRequest* r = newFolderRequest(e, FOLDER_CHECK);
    if (!MultiByteToWideChar(CP_ACP, 0, expanded, -1, r->path, MAX_PATH))
        r->path[0] = L'\0';
    e->request = r;
    queueFolderRequest(r, front, barWindow);
}

static int allAnswered(const MenuNode* menu)
{
    char expanded[MAX_PATH];
    for (const AppNode* a = menu->firstApp; a; a = a->next) {
        EntryAnswer* e = a->path[0] ? answerFor(a->path, expanded, 0) : nullptr;
        if (e && !e->known)
            return 0;
    }
    return 1;
}

// Entries not known yet go first, and a filling waits for them; those known
// already are asked again behind everything else, so that a folder that came
// or went shows at the popup's next opening.
void checkFolderEntries(const MenuNode* menu, int wait)
{
    if (!barSettings.folderMenus || !menu)
        return;
    startWorker();
    char expanded[MAX_PATH];
    int unknown = 0;
    for (const AppNode* a = menu->firstApp; a; a = a->next) {
        if (!a->path[0])
            continue;
        EntryAnswer* e = answerFor(a->path, expanded, 1);
        if (!e->known)
            unknown = wait;
        if (!e->request)
            askWhetherFolder(e, expanded, !e->known);
    }
    DWORD start = GetTickCount();
    while (unknown && !allAnswered(menu)) {
        DWORD spent = GetTickCount() - start;
        if (spent >= FOLDER_ENTRY_WAIT_MS)
            break;
        waitForFolderRequests(FOLDER_ENTRY_WAIT_MS - spent);
        takeAnswers();
    }
}

int folderEntriesVersion()
{
    return entryVersion;
}

static FolderLevel* newLevel(FolderLevel* parent, HMENU barPopup, const wchar_t* folder,
                             const char* codeFolder)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    FolderLevel* level = (FolderLevel*)allocate(sizeof(FolderLevel));
    level->parent = parent;
    level->menu = menu;
    level->barPopup = barPopup;
    level->folder = copyOfWide(folder);
    level->codeFolder = copyOf(codeFolder);
    FolderLevel** first = parent ? &parent->firstChild : &topLevels;
    level->nextSibling = *first;
    *first = level;
    return level;
}

static void dropLevel(FolderLevel* level);

// A level whose menu did not make it into its parent: it goes with its menu.
static void unmakeLevel(FolderLevel* level)
{
    FolderLevel** first = level->parent ? &level->parent->firstChild : &topLevels;
    for (FolderLevel** at = first; *at; at = &(*at)->nextSibling) {
        if (*at == level) {
            *at = level->nextSibling;
            break;
        }
    }
    HMENU menu = level->menu;
    level->nextSibling = nullptr;
    dropLevel(level);
    DestroyMenu(menu);
}

int appendFolderEntry(HMENU popup, UINT id, const AppNode* entry)
{
    if (!barSettings.folderMenus || !answers || !entry->path[0])
        return 0;
    char expanded[MAX_PATH];
    EntryAnswer* e = answerFor(entry->path, expanded, 0);
    if (!e || !e->known || !e->isFolder)
        return 0;
    FolderLevel* level = newLevel(nullptr, popup, e->folder, e->codeFolder);
    if (!level)
        return 0;
    level->entry = entry;
    wchar_t name[APP_NAME_SIZE];
    if (!MultiByteToWideChar(CP_ACP, 0, entry->name, -1, name, APP_NAME_SIZE))
        name[0] = L'\0';
    if (!appendMenuItemWide(popup, id, level->menu, name, entry->path)) {
        unmakeLevel(level);
        return 0;
    }
    return 1;
}

// ---- Emptying

static void releaseItems(FolderLevel* level)
{
    for (int i = 0; i < level->itemCount; i++)
        giveBackSpareId(level->itemIds[i]);
    free(level->itemIds);
    free(level->listing);
    level->itemIds = nullptr;
    level->listing = nullptr;
    level->itemCount = 0;
}

static void dropChildren(FolderLevel* level)
{
    FolderLevel* child = level->firstChild;
    while (child) {
        FolderLevel* next = child->nextSibling;
        dropLevel(child);
        child = next;
    }
    level->firstChild = nullptr;
}

// Forgets a level and those below it; their menus are being destroyed by
// whoever holds them.
static void dropLevel(FolderLevel* level)
{
    dropChildren(level);
    forgetMenuIconsOf(level->menu);
    releaseItems(level);
    giveBackSpareId(level->id);
    free(level->folder);
    free(level->codeFolder);
    free(level);
}

// Deleting an item destroys its submenu with it.
static void emptyLevel(FolderLevel* level)
{
    forgetMenuIconsOf(level->menu);
    for (int n = GetMenuItemCount(level->menu); n > 0; n--)
        DeleteMenu(level->menu, (UINT)(n - 1), MF_BYPOSITION);
    dropChildren(level);
    releaseItems(level);
}

void emptyFolderMenus()
{
    for (FolderLevel* level = topLevels; level; level = level->nextSibling)
        emptyLevel(level);
}

void forgetFolderMenus(HMENU barPopup)
{
    for (FolderLevel** at = &topLevels; *at;) {
        FolderLevel* level = *at;
        if (barPopup && level->barPopup != barPopup) {
            at = &level->nextSibling;
            continue;
        }
        *at = level->nextSibling;
        dropLevel(level);
    }
}

// ---- Listing

static ListingJob* jobFor(const wchar_t* folder)
{
    for (ListingJob* job = jobs; job; job = job->next)
        if (lstrcmpiW(job->folder, folder) == 0)
            return job;
    ListingJob* job = (ListingJob*)allocate(sizeof(ListingJob));
    copyWideText(job->folder, MAX_PATH, folder);
    job->next = jobs;
    jobs = job;
    return job;
}

// The folder's listing as the opening shows it: a fresh one when it comes
// within the wait, else the one that came after the last opening stopped
// waiting, else none (0). A listing still under way from an earlier opening
// is waited for rather than asked again.
static int listingFor(const FolderLevel* level, FolderListing** listing)
{
    *listing = nullptr;
    if (!level->folder[0])
        return FOLDER_UNREADABLE;
    ListingJob* job = jobFor(level->folder);
    FolderListing* late = job->late;
    int lateResult = job->lateResult;
    job->late = nullptr;
    if (!job->request) {
        FolderRequest* r = newFolderRequest(job, FOLDER_LIST);
        r->limit = FOLDER_MENU_LIMIT;
        copyWideText(r->path, MAX_PATH, level->folder);
        job->request = r;
        queueFolderRequest(r, 1, barWindow);
    }
    DWORD start = GetTickCount();
    while (job->request) {
        DWORD spent = GetTickCount() - start;
        if (spent >= FOLDER_LISTING_WAIT_MS)
            break;
        waitForFolderRequests(FOLDER_LISTING_WAIT_MS - spent);
        takeAnswers();
    }
    int result = 0;
    if (!job->request) {
        free(late);
        *listing = job->late;
        result = job->lateResult;
        job->late = nullptr;
    } else if (late) {
        *listing = late;
        result = lateResult;
    }
    if (!job->request)
        freeJob(job);
    limitLateListings();
    return result;
}

// ---- Filling

static int hasExtension(const wchar_t* name, size_t length, const wchar_t* extension)
{
    return length > 4 && lstrcmpiW(name + length - 4, extension) == 0;
}

// The name as the menu shows it: without the extensions of links, and with
// each "&" doubled so that it shows as itself.
static void itemText(const ListedItem* item, wchar_t* text, size_t size)
{
    size_t length = wcslen(item->name);
    if (!item->isFolder && (hasExtension(item->name, length, L".lnk") ||
                            hasExtension(item->name, length, L".url") ||
                            hasExtension(item->name, length, L".pif")))
        length -= 4;
    size_t at = 0;
    for (size_t i = 0; i < length && at + 2 < size; i++) {
        if (item->name[i] == L'&')
            text[at++] = L'&';
        text[at++] = item->name[i];
    }
    text[at] = L'\0';
}

static void appendNote(HMENU menu, const wchar_t* text)
{
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, text);
}

// Open Folder and More... share the level's id: both open its folder.
static void appendOpen(FolderLevel* level, const wchar_t* text)
{
    int canOpen = level->id && (level->entry || level->codeFolder[0]);
    AppendMenuW(level->menu, MF_STRING | (canOpen ? 0 : MF_GRAYED), (UINT_PTR)level->id, text);
}

static void appendItems(FolderLevel* level, FolderListing* listing)
{
    level->listing = listing;
    level->itemIds = (int32_t*)allocate((size_t)(listing->count ? listing->count : 1) *
                                        sizeof(int32_t));
    int cut = 0;
    for (int i = 0; i < listing->count; i++) {
        const ListedItem* item = &listing->items[i];
        int32_t id = takeSpareId();
        if (!id) {
            cut = 1; // every id is taken: the rest is behind More...
            break;
        }
        level->itemIds[level->itemCount++] = id;
        wchar_t text[2 * MAX_PATH];
        itemText(item, text, sizeof text / sizeof text[0]);
        char codePath[MAX_PATH];
        if (!joinCode(codePath, sizeof codePath, level->codeFolder, item->codeName))
            codePath[0] = '\0';
        if (item->isFolder) {
            wchar_t folder[MAX_PATH];
            if (!joinWide(folder, MAX_PATH, level->folder, item->name))
                folder[0] = L'\0';
            FolderLevel* child = newLevel(level, level->barPopup, folder, codePath);
            if (child && !appendMenuItemWide(level->menu, (UINT)id, child->menu, text, codePath))
                unmakeLevel(child);
        } else {
            appendMenuItemWide(level->menu, (UINT)id, nullptr, text, codePath);
            // A name the code page cannot hold, without a short name: the
            // launch could not name the file.
            if (!codePath[0])
                EnableMenuItem(level->menu, (UINT)id, MF_BYCOMMAND | MF_GRAYED);
        }
    }
    if (listing->count == 0 && !listing->more)
        appendNote(level->menu, L"(Empty)");
    if (listing->more || cut)
        appendOpen(level, L"More...");
    putPopupLookupsFirst();
}

static FolderLevel* levelOf(FolderLevel* first, HMENU menu)
{
    for (FolderLevel* level = first; level; level = level->nextSibling) {
        if (level->menu == menu)
            return level;
        FolderLevel* below = levelOf(level->firstChild, menu);
        if (below)
            return below;
    }
    return nullptr;
}

int fillFolderMenu(HMENU popup)
{
    FolderLevel* level = levelOf(topLevels, popup);
    if (!level)
        return 0;
    emptyLevel(level);
    if (!level->id)
        level->id = takeSpareId();
    appendOpen(level, L"Open Folder");
    AppendMenuW(level->menu, MF_SEPARATOR, 0, nullptr);
    FolderListing* listing = nullptr;
    int result = listingFor(level, &listing);
    if (result == FOLDER_LISTED && listing)
        appendItems(level, listing);
    else if (result == FOLDER_UNREADABLE)
        appendNote(level->menu, L"(Cannot open folder)");
    else
        appendNote(level->menu, L"(Not responding)");
    return 1;
}

// ---- Choosing

// Opens the folder the menu lists, as its entry opened it before it was a
// menu (in the entry's directory and window state): the folder's path is
// expanded already, and zentornt3's shell would not expand it. A shortcut's
// folder that the code page cannot name is opened through the shortcut.
// The shell may run messages while it starts a file, and a menu opened
// meanwhile would empty the folder menus: the launch takes copies.
static int openFolderOf(const FolderLevel* level)
{
    if (level->entry && !level->codeFolder[0])
        return launchApp(level->entry);
    char folder[MAX_PATH], directory[MAX_PATH];
    copyField(folder, level->codeFolder);
    copyField(directory, level->entry ? level->entry->workingDir : level->parent->codeFolder);
    return launchFile(folder, "", directory, level->entry ? level->entry->showCommand : 0);
}

static int launchItem(const FolderLevel* level, int i)
{
    char path[MAX_PATH], folder[MAX_PATH];
    if (!joinCode(path, sizeof path, level->codeFolder, level->listing->items[i].codeName))
        return 0;
    copyField(folder, level->codeFolder);
    return launchFile(path, "", folder, 0);
}

static const FolderLevel* levelWithId(const FolderLevel* first, int32_t id, int* item)
{
    for (const FolderLevel* level = first; level; level = level->nextSibling) {
        if (level->id == id) {
            *item = -1;
            return level;
        }
        for (int i = 0; i < level->itemCount; i++) {
            if (level->itemIds[i] == id) {
                *item = i;
                return level;
            }
        }
        const FolderLevel* below = levelWithId(level->firstChild, id, item);
        if (below)
            return below;
    }
    return nullptr;
}

int chooseFolderItem(int32_t id)
{
    if (id <= 0)
        return 0;
    int item = -1;
    const FolderLevel* level = levelWithId(topLevels, id, &item);
    if (!level)
        return 0;
    if (item < 0)
        openFolderOf(level);
    else if (!level->listing->items[item].isFolder)
        launchItem(level, item);
    return 1;
}

// ---- Stopping

void stopFolderMenus()
{
    forgetFolderMenus(nullptr);
    if (!answers)
        return;
    // The worker frees the requests still out; the records here only pointed at them.
    stopFolderWorker();
    for (int b = 0; b < ANSWER_BUCKETS; b++) {
        EntryAnswer* e = answers[b];
        while (e) {
            EntryAnswer* next = e->next;
            free(e->folder);
            free(e->codeFolder);
            free(e);
            e = next;
        }
    }
    free(answers);
    answers = nullptr;
    while (jobs) {
        ListingJob* next = jobs->next;
        free(jobs->late);
        free(jobs);
        jobs = next;
    }
}
