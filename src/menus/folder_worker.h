// The thread that asks the disk for the folder menus, so that a slow disk or
// an unreachable network share never holds the bar's thread for long: the
// bar waits a bounded time for an answer, and shows what it has when the
// answer is late.
//
// The bar's thread takes the finished requests back when the worker posts
// WM_FOLDERS_READY (bar_window.h) to the bar, or while it waits. The queue
// and its workers are a WorkQueue (work_queue.h).
#ifndef ZENTOR_FOLDER_WORKER_H
#define ZENTOR_FOLDER_WORKER_H

#include <windows.h>

#include "folder_listing.h"
#include "work_queue.h"

// A worker that has spent this long on one request while others wait is
// given up for another, which takes the rest of the queue.
constexpr DWORD FOLDER_STUCK_MS = 50;

// What a request asks.
constexpr int FOLDER_CHECK = 1; // is an entry's path a folder, or a shortcut to one?
constexpr int FOLDER_LIST = 2;  // what does a folder hold?

struct FolderRequest {
    WorkItem work;       // its place in the queue; work.owner is the bar's record
    int kind;            // FOLDER_CHECK or FOLDER_LIST
    int limit;           // FOLDER_LIST: the items kept at most
    wchar_t path[MAX_PATH]; // the entry's path (expanded), or the folder
    // Filled by the worker.
    int found;           // FOLDER_CHECK: 1 for a folder; FOLDER_LIST: FOLDER_LISTED or _UNREADABLE
    wchar_t folder[MAX_PATH];  // FOLDER_CHECK: the folder it opens as (a shortcut's target)
    char codeFolder[MAX_PATH]; // that folder in the code page; "" when it cannot be named so
    FolderListing* listing;    // FOLDER_LIST: on the heap, freed with the request
};

// A new request, not yet queued; the program ends when memory runs out.
FolderRequest* newFolderRequest(void* owner, int kind);
// Frees a request the bar holds, with its listing.
void freeFolderRequest(FolderRequest* request);
// Answers the request: on a worker's thread.
void answerFolderRequest(FolderRequest* request);

// Starts the worker when it does not run.
void startFolderWorker();
// Stops the worker: the queue and the finished requests are freed; a request
// under way is waited for a short while. A worker that is stuck in one frees
// its request itself when it comes back.
void stopFolderWorker();

// Puts a request at the front or the end of the queue; notify is told when
// it is finished.
void queueFolderRequest(FolderRequest* request, int front, HWND notify);
// The finished requests, oldest first, linked by work.next; the bar owns them.
FolderRequest* takeFinishedFolderRequests();
// The next finished request after r.
inline FolderRequest* nextFolderRequest(FolderRequest* r)
{
    return (FolderRequest*)r->work.next;
}
// Waits until a finished request waits to be taken or ms pass (1: one
// waits). A worker stuck meanwhile is given up for another.
int waitForFolderRequests(DWORD ms);

#endif
