// zentornt3 shows no icons: none of this is in that build.
#ifndef ZENTOR_NT3
#include "icon_worker.h"

#include <objbase.h>
#include <stdlib.h>

#include "icon_lookup.h"
#include "../app/app.h"
#include "../bar/bar_window.h"

// How long stopping waits for a lookup under way.
constexpr DWORD ICON_STOP_WAIT_MS = 1000;
// Workers given up on a stuck lookup stay until it returns: room for a few
// at a time. With every room taken, the shell is past helping, and the
// rest of the queue gets the generic icon.
constexpr int MAX_ICON_WORKERS = 8;

struct IconWorker {
    HANDLE thread;         // null: the room is free
    int abandoned;         // 1: end after the lookup under way
    int busy;              // 1 while a lookup runs
    DWORD busySince;       // when it began
    IconRequest* current;  // the request being looked up
};

// Everything below is shared between the bar's thread and the workers, and
// touched only under iconLock, which lives as long as the process: a stuck
// worker may come back at any time.
static CRITICAL_SECTION iconLock;
static int lockMade = 0;
static HANDLE wakeEvent = nullptr;   // set when the queue gains requests, or on stop
static IconRequest* queueHead = nullptr;
static IconRequest* queueTail = nullptr;
static IconRequest* doneHead = nullptr;
static IconRequest* doneTail = nullptr;
static HWND notifyWindow = nullptr;
static int notified = 0;             // 1 while a WM_ICONS_READY is on its way
static int generation = 0;           // requests of an older one are dropped
static IconWorker workers[MAX_ICON_WORKERS];
static int activeWorker = -1;        // the one taking the queue; -1 none
static int paused = 0;               // 1: no new lookup begins
static DWORD pausedSince = 0;

IconRequest* newIconRequest(void* owner)
{
    IconRequest* request = (IconRequest*)calloc(1, sizeof(IconRequest));
    if (!request)
        fatalError("Out of memory.");
    request->owner = owner;
    return request;
}

void freeIconRequest(IconRequest* request)
{
    if (!request)
        return;
    free(request->pixels);
    free(request);
}

static void unlinkQueued(IconRequest* r)
{
    (r->prev ? r->prev->next : queueHead) = r->next;
    (r->next ? r->next->prev : queueTail) = r->prev;
    r->prev = r->next = nullptr;
}

static void pushQueued(IconRequest* r, int front)
{
    r->state = REQUEST_QUEUED;
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
}

// Under the lock: a finished request goes to the bar, which is told once
// until it takes them. Returns the window to post to, or null.
static HWND finish(IconRequest* r)
{
    r->state = REQUEST_DONE;
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
    if (window && !PostMessageA(window, WM_ICONS_READY, 0, 0)) {
        EnterCriticalSection(&iconLock);
        notified = 0;
        LeaveCriticalSection(&iconLock);
    }
}

// An idle worker waits for requests and keeps its messages moving: it is a
// single-threaded apartment, and the shell's objects may rely on that.
static void waitForWork()
{
    MsgWaitForMultipleObjects(1, &wakeEvent, FALSE, paused ? ICON_PAUSE_MS : INFINITE, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static void lookUp(IconRequest* r)
{
    if (r->generic) {
        r->pixels = lookUpGenericIcon(r->size);
        r->found = r->pixels ? ICON_OWN : ICON_NOTHING;
    } else {
        r->found = lookUpFileIcon(r->path, r->size, r->wantTypeIcon, &r->pixels);
    }
}

static DWORD WINAPI iconWorkerMain(void* room)
{
    IconWorker* self = &workers[(INT_PTR)room];
    // The shell finds some icons wrongly on any other kind of thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // Icons may wait; the user's clicks may not.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    for (;;) {
        EnterCriticalSection(&iconLock);
        int leave = self->abandoned;
        if (paused && GetTickCount() - pausedSince > ICON_PAUSE_MS)
            paused = 0;
        IconRequest* r = leave || paused ? nullptr : queueHead;
        if (r) {
            unlinkQueued(r);
            r->state = REQUEST_TAKEN;
            self->current = r;
            self->busy = 1;
            self->busySince = GetTickCount();
        }
        LeaveCriticalSection(&iconLock);
        if (leave)
            break;
        if (!r) {
            waitForWork();
            continue;
        }
        lookUp(r);
        EnterCriticalSection(&iconLock);
        self->busy = 0;
        self->current = nullptr;
        int wanted = r->generation == generation;
        HWND tell = wanted ? finish(r) : nullptr;
        leave = self->abandoned;
        LeaveCriticalSection(&iconLock);
        if (!wanted)
            freeIconRequest(r); // the bar stopped looking up since
        tellBar(tell);
        if (leave)
            break;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

// Under the lock: a new worker in a free room takes the queue; 0 when
// there is none.
static int launchWorker()
{
    activeWorker = -1;
    for (int i = 0; i < MAX_ICON_WORKERS; i++) {
        IconWorker* w = &workers[i];
        if (w->thread && WaitForSingleObject(w->thread, 0) == WAIT_OBJECT_0) {
            CloseHandle(w->thread);
            w->thread = nullptr;
        }
        if (w->thread)
            continue;
        w->abandoned = 0;
        w->busy = 0;
        w->current = nullptr;
        w->thread = CreateThread(nullptr, 0, iconWorkerMain, (void*)(INT_PTR)i, 0, nullptr);
        if (!w->thread)
            return 0;
        activeWorker = i;
        return 1;
    }
    return 0;
}

// Under the lock: with no worker to take them, the queued requests end
// with nothing found, which gives them the generic icon.
static HWND failQueue()
{
    HWND tell = nullptr;
    while (queueHead) {
        IconRequest* r = queueHead;
        unlinkQueued(r);
        r->found = ICON_NOTHING;
        HWND window = finish(r);
        tell = window ? window : tell;
    }
    return tell;
}

int startIconWorker(HWND notify)
{
    if (!lockMade) {
        InitializeCriticalSection(&iconLock);
        wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        lockMade = 1;
    }
    EnterCriticalSection(&iconLock);
    notifyWindow = notify;
    if (activeWorker < 0)
        launchWorker();
    int current = generation;
    LeaveCriticalSection(&iconLock);
    return current;
}

void setIconNotifyWindow(HWND notify)
{
    if (!lockMade)
        return;
    EnterCriticalSection(&iconLock);
    notifyWindow = notify;
    notified = 0;
    HWND tell = nullptr;
    if (doneHead && notify) {
        notified = 1;
        tell = notify;
    }
    LeaveCriticalSection(&iconLock);
    tellBar(tell);
}

static void freeList(IconRequest* r)
{
    while (r) {
        IconRequest* next = r->next;
        freeIconRequest(r);
        r = next;
    }
}

void stopIconWorker()
{
    if (!lockMade)
        return;
    EnterCriticalSection(&iconLock);
    generation++;
    for (IconWorker& w : workers)
        w.abandoned = 1;
    IconRequest* queued = queueHead;
    IconRequest* done = doneHead;
    queueHead = queueTail = doneHead = doneTail = nullptr;
    notified = 0;
    notifyWindow = nullptr;
    int active = activeWorker;
    activeWorker = -1;
    HANDLE thread = active >= 0 ? workers[active].thread : nullptr;
    LeaveCriticalSection(&iconLock);
    freeList(queued);
    freeList(done);
    SetEvent(wakeEvent);
    if (thread && WaitForSingleObject(thread, ICON_STOP_WAIT_MS) == WAIT_OBJECT_0) {
        EnterCriticalSection(&iconLock);
        CloseHandle(thread);
        workers[active].thread = nullptr;
        LeaveCriticalSection(&iconLock);
    }
}

void queueIconRequests(IconRequest** requests, int count)
{
    if (!lockMade || count <= 0)
        return;
    EnterCriticalSection(&iconLock);
    for (int i = 0; i < count; i++)
        if (requests[i]->state == REQUEST_NEW)
            pushQueued(requests[i], 0);
    LeaveCriticalSection(&iconLock);
    SetEvent(wakeEvent);
}

void putIconRequestsFirst(IconRequest** requests, int count)
{
    if (!lockMade || count <= 0)
        return;
    EnterCriticalSection(&iconLock);
    for (int i = count; i-- > 0;) {
        IconRequest* r = requests[i];
        if (r->state == REQUEST_QUEUED)
            unlinkQueued(r);
        if (r->state == REQUEST_QUEUED || r->state == REQUEST_NEW)
            pushQueued(r, 1);
    }
    LeaveCriticalSection(&iconLock);
    SetEvent(wakeEvent);
}

IconRequest* takeFinishedIconRequests()
{
    if (!lockMade)
        return nullptr;
    EnterCriticalSection(&iconLock);
    IconRequest* done = doneHead;
    doneHead = doneTail = nullptr;
    notified = 0;
    LeaveCriticalSection(&iconLock);
    return done;
}

void pauseIconLookups()
{
    if (!lockMade)
        return;
    EnterCriticalSection(&iconLock);
    paused = 1;
    pausedSince = GetTickCount();
    LeaveCriticalSection(&iconLock);
}

void resumeIconLookups()
{
    if (!lockMade)
        return;
    EnterCriticalSection(&iconLock);
    int was = paused;
    paused = 0;
    LeaveCriticalSection(&iconLock);
    if (was)
        SetEvent(wakeEvent);
}

void* giveUpStuckIconLookup()
{
    if (!lockMade)
        return nullptr;
    EnterCriticalSection(&iconLock);
    void* owner = nullptr;
    HWND tell = nullptr;
    IconWorker* w = activeWorker >= 0 ? &workers[activeWorker] : nullptr;
    if (w && w->busy && GetTickCount() - w->busySince > ICON_LOOKUP_STUCK_MS) {
        w->abandoned = 1;
        owner = w->current->owner;
        if (!launchWorker())
            tell = failQueue();
    }
    LeaveCriticalSection(&iconLock);
    tellBar(tell);
    return owner;
}

#endif
