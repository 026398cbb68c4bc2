#include "folder_worker.h"

#include <stdlib.h>

#ifndef ZENTOR_NT3
#include <objbase.h>
#endif

#include "../app/app.h"
#include "../bar/bar_window.h"

// How long stopping waits for a request under way.
constexpr DWORD FOLDER_STOP_WAIT_MS = 1000;
// Workers given up on a stuck request stay until it returns: room for a few
// at a time. With every room taken, the queue waits for the one that takes it.
constexpr int MAX_FOLDER_WORKERS = 8;

struct FolderWorker {
    HANDLE thread;          // null: the room is free
    int abandoned;          // 1: end after the request under way
    int busy;               // 1 while a request runs
    DWORD busySince;        // when it began
};

// Everything below is shared between the bar's thread and the workers, and
// touched only under folderLock, which lives as long as the process: a stuck
// worker may come back at any time.
static CRITICAL_SECTION folderLock;
static int lockMade = 0;
static HANDLE wakeEvent = nullptr;  // set when the queue gains requests, or on stop
static HANDLE doneEvent = nullptr;  // set when a request is finished
static FolderRequest* queueHead = nullptr;
static FolderRequest* queueTail = nullptr;
static FolderRequest* doneHead = nullptr;
static FolderRequest* doneTail = nullptr;
static HWND notifyWindow = nullptr;
static int notified = 0;            // 1 while a WM_FOLDERS_READY is on its way
static int generation = 0;          // requests of an older one are dropped
static FolderWorker workers[MAX_FOLDER_WORKERS];
static int activeWorker = -1;       // the one taking the queue; -1 none

FolderRequest* newFolderRequest(void* owner, int kind)
{
    FolderRequest* request = (FolderRequest*)calloc(1, sizeof(FolderRequest));
    if (!request)
        fatalError("Out of memory.");
    request->owner = owner;
    request->kind = kind;
    return request;
}

void freeFolderRequest(FolderRequest* request)
{
    if (!request)
        return;
    free(request->listing);
    free(request);
}

static void unlinkQueued(FolderRequest* r)
{
    (r->prev ? r->prev->next : queueHead) = r->next;
    (r->next ? r->next->prev : queueTail) = r->prev;
    r->prev = r->next = nullptr;
}

// Under the lock: a finished request goes to the bar, which is told once
// until it takes them. Returns the window to post to, or null.
static HWND finish(FolderRequest* r)
{
    r->state = FOLDER_REQUEST_DONE;
    r->next = nullptr;
    r->prev = doneTail;
    (doneTail ? doneTail->next : doneHead) = r;
    doneTail = r;
    if (notified || !notifyWindow)
        return nullptr;
    notified = 1;
    return notifyWindow;
}

static void tellBar(HWND window)
{
    SetEvent(doneEvent);
    if (window && !PostMessageA(window, WM_FOLDERS_READY, 0, 0)) {
        EnterCriticalSection(&folderLock);
        notified = 0;
        LeaveCriticalSection(&folderLock);
    }
}

// An idle worker waits for requests and keeps its messages moving: in
// zentor it is a single-threaded apartment, for the shell's link object.
static void waitForWork()
{
    MsgWaitForMultipleObjects(1, &wakeEvent, FALSE, INFINITE, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static void answer(FolderRequest* r)
{
    if (r->kind == FOLDER_CHECK) {
        r->found = findEntryFolder(r->path, r->folder, MAX_PATH);
        if (r->found)
            codePagePath(r->folder, r->codeFolder, MAX_PATH);
    } else {
        r->found = listFolder(r->path, r->limit, &r->listing);
    }
}

static DWORD WINAPI folderWorkerMain(void* room)
{
    FolderWorker* self = &workers[(INT_PTR)room];
#ifndef ZENTOR_NT3
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
#endif
    for (;;) {
        EnterCriticalSection(&folderLock);
        int leave = self->abandoned;
        FolderRequest* r = leave ? nullptr : queueHead;
        if (r) {
            unlinkQueued(r);
            r->state = FOLDER_REQUEST_TAKEN;
            self->busy = 1;
            self->busySince = GetTickCount();
        }
        LeaveCriticalSection(&folderLock);
        if (leave)
            break;
        if (!r) {
            waitForWork();
            continue;
        }
        answer(r);
        EnterCriticalSection(&folderLock);
        self->busy = 0;
        int wanted = r->generation == generation;
        HWND tell = wanted ? finish(r) : nullptr;
        leave = self->abandoned;
        LeaveCriticalSection(&folderLock);
        if (wanted)
            tellBar(tell);
        else
            freeFolderRequest(r); // the bar stopped asking since
        if (leave)
            break;
    }
#ifndef ZENTOR_NT3
    if (SUCCEEDED(com))
        CoUninitialize();
#endif
    return 0;
}

// Under the lock: a new worker in a free room takes the queue; 0 when
// there is none.
static int launchWorker()
{
    activeWorker = -1;
    for (int i = 0; i < MAX_FOLDER_WORKERS; i++) {
        FolderWorker* w = &workers[i];
        if (w->thread && WaitForSingleObject(w->thread, 0) == WAIT_OBJECT_0) {
            CloseHandle(w->thread);
            w->thread = nullptr;
        }
        if (w->thread)
            continue;
        w->abandoned = 0;
        w->busy = 0;
        w->thread = CreateThread(nullptr, 0, folderWorkerMain, (void*)(INT_PTR)i, 0, nullptr);
        if (!w->thread)
            return 0;
        activeWorker = i;
        return 1;
    }
    return 0;
}

// Under the lock: requests wait while the worker has spent long on one (a
// share that does not answer, say): it is given up, and finishes that one
// alone, while a new worker takes the queue.
static void replaceStuckWorker()
{
    if (!queueHead || activeWorker < 0)
        return;
    FolderWorker* w = &workers[activeWorker];
    if (!w->busy || GetTickCount() - w->busySince <= FOLDER_STUCK_MS)
        return;
    int stuck = activeWorker;
    if (launchWorker())
        workers[stuck].abandoned = 1;
    else
        activeWorker = stuck; // no room: the queue waits for it
}

void startFolderWorker()
{
    if (!lockMade) {
        InitializeCriticalSection(&folderLock);
        wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        doneEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        lockMade = 1;
    }
    prepareFolderListing();
    EnterCriticalSection(&folderLock);
    if (activeWorker < 0)
        launchWorker();
    LeaveCriticalSection(&folderLock);
}

static void freeList(FolderRequest* r)
{
    while (r) {
        FolderRequest* next = r->next;
        freeFolderRequest(r);
        r = next;
    }
}

void stopFolderWorker()
{
    if (!lockMade)
        return;
    EnterCriticalSection(&folderLock);
    generation++;
    for (FolderWorker& w : workers)
        w.abandoned = 1;
    FolderRequest* queued = queueHead;
    FolderRequest* done = doneHead;
    queueHead = queueTail = doneHead = doneTail = nullptr;
    notified = 0;
    notifyWindow = nullptr;
    int active = activeWorker;
    activeWorker = -1;
    HANDLE thread = active >= 0 ? workers[active].thread : nullptr;
    LeaveCriticalSection(&folderLock);
    freeList(queued);
    freeList(done);
    SetEvent(wakeEvent);
    if (thread && WaitForSingleObject(thread, FOLDER_STOP_WAIT_MS) == WAIT_OBJECT_0) {
        EnterCriticalSection(&folderLock);
        CloseHandle(thread);
        workers[active].thread = nullptr;
        LeaveCriticalSection(&folderLock);
    }
}

void queueFolderRequest(FolderRequest* r, int front, HWND notify)
{
    if (!lockMade)
        return;
    EnterCriticalSection(&folderLock);
    notifyWindow = notify;
    r->generation = generation;
    r->state = FOLDER_REQUEST_QUEUED;
    if (front) {
        r->prev = nullptr;
        r->next = queueHead;
        (queueHead ? queueHead->prev : queueTail) = r;
        queueHead = r;
    } else {
        r->next = nullptr;
        r->prev = queueTail;
        (queueTail ? queueTail->next : queueHead) = r;
        queueTail = r;
    }
    if (activeWorker < 0)
        launchWorker();
    replaceStuckWorker();
    LeaveCriticalSection(&folderLock);
    SetEvent(wakeEvent);
}

FolderRequest* takeFinishedFolderRequests()
{
    if (!lockMade)
        return nullptr;
    EnterCriticalSection(&folderLock);
    FolderRequest* done = doneHead;
    doneHead = doneTail = nullptr;
    notified = 0;
    LeaveCriticalSection(&folderLock);
    return done;
}

int waitForFolderRequests(DWORD ms)
{
    if (!lockMade)
        return 0;
    DWORD start = GetTickCount();
    for (;;) {
        EnterCriticalSection(&folderLock);
        replaceStuckWorker();
        int waiting = doneHead != nullptr;
        LeaveCriticalSection(&folderLock);
        DWORD spent = GetTickCount() - start;
        if (waiting || spent >= ms)
            return waiting;
        DWORD slice = ms - spent < FOLDER_STUCK_MS ? ms - spent : FOLDER_STUCK_MS;
        WaitForSingleObject(doneEvent, slice);
    }
}
