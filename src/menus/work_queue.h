// A queue of requests that worker threads answer away from the bar's
// thread, handing the answers back with a message to the bar: a slow disk,
// an unreachable network share or a hanging shell extension then costs the
// user an answer at most, never a frozen bar. The icon lookups and the
// folder menus' listings have a queue each (icon_worker, folder_worker).
//
// A request belongs to the bar until it is queued, to the queue until a
// worker takes it, to the worker until it is answered, and to the bar again
// afterwards. Only the bar's thread touches menus, windows and the menu
// lists; the workers own nothing the bar frees.
#ifndef ZENTOR_WORK_QUEUE_H
#define ZENTOR_WORK_QUEUE_H

#include <windows.h>

// The head of every request: the request types begin with it.
struct WorkItem {
    WorkItem* prev; // in the queue, or the list of answered requests
    WorkItem* next;
    void* owner;    // the bar's record it answers; the workers never touch it
    int generation; // the queue's generation it was queued in
    int state;      // WORK_NEW, _QUEUED, _TAKEN or _DONE (changed under the lock)
};

constexpr int WORK_NEW = 0;
constexpr int WORK_QUEUED = 1;
constexpr int WORK_TAKEN = 2;
constexpr int WORK_DONE = 3;

// What a queue's workers do with a request.
constexpr int WORK_ICONS = 1;   // look up an icon (IconRequest)
constexpr int WORK_FOLDERS = 2; // check or list a folder (FolderRequest)

// Workers given up on a stuck request stay until it returns: room for a
// few at a time. With every room taken, the queue waits for the one that
// takes it.
constexpr int MAX_QUEUE_WORKERS = 8;

struct WorkQueue;

struct QueueWorker {
    WorkQueue* queue;
    HANDLE thread;      // null: the room is free
    int abandoned;      // 1: end after the request under way
    int busy;           // 1 while a request runs
    DWORD busySince;    // when it began
    WorkItem* current;  // the request being answered
};

// Everything a queue holds is shared between the bar's thread and its
// workers, and touched only under its lock, which lives as long as the
// process: a stuck worker may come back at any time.
struct WorkQueue {
    int kind;            // WORK_ICONS or WORK_FOLDERS
    UINT readyMessage;   // posted to the notify window when answers wait
    int priority;        // of the workers' threads
    int lockMade;
    CRITICAL_SECTION lock;
    HANDLE wakeEvent;    // set when the queue gains requests, or on stop
    HANDLE doneEvent;    // set when a request is answered
    WorkItem* head;
    WorkItem* tail;
    WorkItem* doneHead;
    WorkItem* doneTail;
    HWND notifyWindow;
    int notified;        // 1 while a readyMessage is on its way
    int generation;      // requests of an older one are dropped
    QueueWorker workers[MAX_QUEUE_WORKERS];
    int active;          // the room of the worker taking the queue; -1 none
    int paused;          // 1: no new request begins
    DWORD pausedSince;
};

// How long a queue stays paused at most.
constexpr DWORD WORK_PAUSE_MS = 300;

// Starts a worker when none takes the queue, its thread at priority, doing
// the kind's work; answers are told to notify with readyMessage (notify
// unchanged when null). Returns the generation the requests queued now get.
int startWorkQueue(WorkQueue* q, int kind, UINT readyMessage, int priority, HWND notify);
// The window told of answers (the bar is made anew at times); a null one
// holds the news until there is one again.
void setWorkNotifyWindow(WorkQueue* q, HWND notify);
// Stops the workers: the queue and the answered requests are freed; a
// request under way is waited for at most waitMs. A worker stuck in one
// frees it itself when it comes back.
void stopWorkQueue(WorkQueue* q, DWORD waitMs);

// Queues requests, in the given order: at the end, the new ones; at the
// front, the new ones and those still waiting in the queue. Those taken
// already stay as they are.
void queueWork(WorkQueue* q, WorkItem** items, int count, int front);
// The answered requests, oldest first, linked by next; the bar owns them.
WorkItem* takeFinishedWork(WorkQueue* q);

// When the worker has spent more than stuckMs on one request (and only
// while others wait, unless evenWhenNoneWait), a new worker takes the queue
// and the stuck one finishes that request alone; its owner is returned
// (the answer may still come, late). Null otherwise, and when there is no
// room for another worker: the queue then waits for the stuck one.
void* giveUpStuckWork(WorkQueue* q, DWORD stuckMs, int evenWhenNoneWait);
// Waits until an answer waits to be taken or ms pass (1: one waits), giving
// up a worker stuck meanwhile for another.
int waitForFinishedWork(WorkQueue* q, DWORD ms, DWORD stuckMs);

// No new request begins until resumed, or WORK_PAUSE_MS pass; one under
// way runs on.
void pauseWork(WorkQueue* q);
void resumeWork(WorkQueue* q);

#endif
