#include "work_queue.h"

#include <objbase.h>

#include "folder_worker.h"
#include "icon_worker.h"

// Each kind's own answer and release of a request.
static void answer(WorkQueue* q, WorkItem* item)
{
    switch (q->kind) {
#ifndef ZENTOR_NT3
    case WORK_ICONS:
        answerIconRequest((IconRequest*)item);
        break;
#endif
    case WORK_FOLDERS:
        answerFolderRequest((FolderRequest*)item);
        break;
    }
}

static void release(WorkQueue* q, WorkItem* item)
{
    switch (q->kind) {
#ifndef ZENTOR_NT3
    case WORK_ICONS:
        freeIconRequest((IconRequest*)item);
        break;
#endif
    case WORK_FOLDERS:
        freeFolderRequest((FolderRequest*)item);
        break;
    }
}

static void releaseList(WorkQueue* q, WorkItem* item)
{
    while (item) {
        WorkItem* next = item->next;
        release(q, item);
        item = next;
    }
}

static void unlinkQueued(WorkQueue* q, WorkItem* r)
{
    (r->prev ? r->prev->next : q->head) = r->next;
    (r->next ? r->next->prev : q->tail) = r->prev;
    r->prev = r->next = nullptr;
}

static void pushQueued(WorkQueue* q, WorkItem* r, int front)
{
    r->state = WORK_QUEUED;
    if (front) {
        r->prev = nullptr;
        r->next = q->head;
        (q->head ? q->head->prev : q->tail) = r;
        q->head = r;
    } else {
        r->next = nullptr;
        r->prev = q->tail;
        (q->tail ? q->tail->next : q->head) = r;
        q->tail = r;
    }
}

// Under the lock: an answered request goes to the bar, which is told once
// until it takes them. Returns the window to post to, or null.
static HWND finish(WorkQueue* q, WorkItem* r)
{
    r->state = WORK_DONE;
    r->next = nullptr;
    r->prev = q->doneTail;
    (q->doneTail ? q->doneTail->next : q->doneHead) = r;
    q->doneTail = r;
    if (q->notified || !q->notifyWindow)
        return nullptr;
    q->notified = 1;
    return q->notifyWindow;
}

static void tellBar(WorkQueue* q, HWND window)
{
    SetEvent(q->doneEvent);
    if (window && !PostMessageA(window, q->readyMessage, 0, 0)) {
        EnterCriticalSection(&q->lock);
        q->notified = 0;
        LeaveCriticalSection(&q->lock);
    }
}

// An idle worker waits for requests and keeps its messages moving: it is a
// single-threaded apartment, and the shell's objects may rely on that.
static void waitForWork(WorkQueue* q, int paused)
{
    MsgWaitForMultipleObjects(1, &q->wakeEvent, FALSE, paused ? WORK_PAUSE_MS : INFINITE,
                              QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static DWORD WINAPI workerMain(void* param)
{
    QueueWorker* self = (QueueWorker*)param;
    WorkQueue* q = self->queue;
#ifndef ZENTOR_NT3
    // The shell finds some icons wrongly, and reads some shortcuts not at
    // all, on any other kind of thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
#endif
    SetThreadPriority(GetCurrentThread(), q->priority);
    for (;;) {
        EnterCriticalSection(&q->lock);
        int leave = self->abandoned;
        if (q->paused && GetTickCount() - q->pausedSince > WORK_PAUSE_MS)
            q->paused = 0;
        int paused = q->paused;
        WorkItem* r = leave || paused ? nullptr : q->head;
        if (r) {
            unlinkQueued(q, r);
            r->state = WORK_TAKEN;
            self->current = r;
            self->busy = 1;
            self->busySince = GetTickCount();
        }
        LeaveCriticalSection(&q->lock);
        if (leave)
            break;
        if (!r) {
            waitForWork(q, paused);
            continue;
        }
        answer(q, r);
        EnterCriticalSection(&q->lock);
        self->busy = 0;
        self->current = nullptr;
        int wanted = r->generation == q->generation;
        HWND tell = wanted ? finish(q, r) : nullptr;
        leave = self->abandoned;
        LeaveCriticalSection(&q->lock);
        if (wanted)
            tellBar(q, tell);
        else
            release(q, r); // the bar stopped asking since
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
static int launchWorker(WorkQueue* q)
{
    q->active = -1;
    for (int i = 0; i < MAX_QUEUE_WORKERS; i++) {
        QueueWorker* w = &q->workers[i];
        if (w->thread && WaitForSingleObject(w->thread, 0) == WAIT_OBJECT_0) {
            CloseHandle(w->thread);
            w->thread = nullptr;
        }
        if (w->thread)
            continue;
        w->queue = q;
        w->abandoned = 0;
        w->busy = 0;
        w->current = nullptr;
        w->thread = CreateThread(nullptr, 0, workerMain, w, 0, nullptr);
        if (!w->thread)
            return 0;
        q->active = i;
        return 1;
    }
    return 0;
}

int startWorkQueue(WorkQueue* q, int kind, UINT readyMessage, int priority, HWND notify)
{
    if (!q->lockMade) {
        q->kind = kind;
        q->readyMessage = readyMessage;
        q->priority = priority;
        InitializeCriticalSection(&q->lock);
        q->wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        q->doneEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        q->active = -1;
        q->lockMade = 1;
    }
    EnterCriticalSection(&q->lock);
    if (notify)
        q->notifyWindow = notify;
    if (q->active < 0)
        launchWorker(q);
    int generation = q->generation;
    LeaveCriticalSection(&q->lock);
    return generation;
}

void setWorkNotifyWindow(WorkQueue* q, HWND notify)
{
    if (!q->lockMade)
        return;
    EnterCriticalSection(&q->lock);
    q->notifyWindow = notify;
    q->notified = 0;
    HWND tell = nullptr;
    if (q->doneHead && notify) {
        q->notified = 1;
        tell = notify;
    }
    LeaveCriticalSection(&q->lock);
    if (tell)
        tellBar(q, tell);
}

void stopWorkQueue(WorkQueue* q, DWORD waitMs)
{
    if (!q->lockMade)
        return;
    EnterCriticalSection(&q->lock);
    q->generation++;
    for (QueueWorker& w : q->workers)
        w.abandoned = 1;
    WorkItem* queued = q->head;
    WorkItem* done = q->doneHead;
    q->head = q->tail = q->doneHead = q->doneTail = nullptr;
    q->notified = 0;
    q->notifyWindow = nullptr;
    q->paused = 0;
    int active = q->active;
    q->active = -1;
    HANDLE thread = active >= 0 ? q->workers[active].thread : nullptr;
    LeaveCriticalSection(&q->lock);
    releaseList(q, queued);
    releaseList(q, done);
    SetEvent(q->wakeEvent);
    if (thread && WaitForSingleObject(thread, waitMs) == WAIT_OBJECT_0) {
        EnterCriticalSection(&q->lock);
        CloseHandle(thread);
        q->workers[active].thread = nullptr;
        LeaveCriticalSection(&q->lock);
    }
}

void queueWork(WorkQueue* q, WorkItem** items, int count, int front)
{
    if (!q->lockMade || count <= 0)
        return;
    EnterCriticalSection(&q->lock);
    for (int n = 0; n < count; n++) {
        // At the front, the last goes in first so that they stand in order.
        WorkItem* r = items[front ? count - 1 - n : n];
        if (front && r->state == WORK_QUEUED)
            unlinkQueued(q, r);
        else if (r->state != WORK_NEW)
            continue;
        r->generation = q->generation;
        pushQueued(q, r, front);
    }
    if (q->active < 0)
        launchWorker(q);
    LeaveCriticalSection(&q->lock);
    SetEvent(q->wakeEvent);
}

WorkItem* takeFinishedWork(WorkQueue* q)
{
    if (!q->lockMade)
        return nullptr;
    EnterCriticalSection(&q->lock);
    WorkItem* done = q->doneHead;
    q->doneHead = q->doneTail = nullptr;
    q->notified = 0;
    LeaveCriticalSection(&q->lock);
    return done;
}

// Under the lock.
static void* replaceStuckWorker(WorkQueue* q, DWORD stuckMs, int evenWhenNoneWait)
{
    if (q->active < 0 || (!q->head && !evenWhenNoneWait))
        return nullptr;
    int stuck = q->active;
    QueueWorker* w = &q->workers[stuck];
    if (!w->busy || GetTickCount() - w->busySince <= stuckMs)
        return nullptr;
    if (!launchWorker(q)) {
        q->active = stuck; // no room: the queue waits for it
        return nullptr;
    }
    w->abandoned = 1;
    return w->current->owner;
}

void* giveUpStuckWork(WorkQueue* q, DWORD stuckMs, int evenWhenNoneWait)
{
    if (!q->lockMade)
        return nullptr;
    EnterCriticalSection(&q->lock);
    void* owner = replaceStuckWorker(q, stuckMs, evenWhenNoneWait);
    LeaveCriticalSection(&q->lock);
    if (owner)
        SetEvent(q->wakeEvent);
    return owner;
}

int waitForFinishedWork(WorkQueue* q, DWORD ms, DWORD stuckMs)
{
    if (!q->lockMade)
        return 0;
    DWORD start = GetTickCount();
    for (;;) {
        EnterCriticalSection(&q->lock);
        replaceStuckWorker(q, stuckMs, 0);
        int waiting = q->doneHead != nullptr;
        LeaveCriticalSection(&q->lock);
        DWORD spent = GetTickCount() - start;
        if (waiting || spent >= ms)
            return waiting;
        DWORD slice = ms - spent < stuckMs ? ms - spent : stuckMs;
        WaitForSingleObject(q->doneEvent, slice);
    }
}

void pauseWork(WorkQueue* q)
{
    if (!q->lockMade)
        return;
    EnterCriticalSection(&q->lock);
    q->paused = 1;
    q->pausedSince = GetTickCount();
    LeaveCriticalSection(&q->lock);
}

void resumeWork(WorkQueue* q)
{
    if (!q->lockMade)
        return;
    EnterCriticalSection(&q->lock);
    int was = q->paused;
    q->paused = 0;
    LeaveCriticalSection(&q->lock);
    if (was)
        SetEvent(q->wakeEvent);
}
