// The thread that asks the disk for the folder menus, so that a slow disk or
// an unreachable network share never holds the bar's thread for long: the
// bar waits a bounded time for an answer, and shows what it has when the
// answer is late.
//
// The bar's thread puts requests into a queue and takes the finished ones
// back when the worker posts WM_FOLDERS_READY to the bar, or while it waits.
// A request belongs to the bar until it is queued, to the queue until a
// worker takes it, to the worker until it is finished, and to the bar again
// afterwards. Only the bar's thread touches menus, windows and the menu
// lists; the worker owns nothing the bar frees.
#ifndef ZENTOR_FOLDER_WORKER_H
#define ZENTOR_FOLDER_WORKER_H

#include <windows.h>

#include "folder_listing.h"

// WM_FOLDERS_READY (bar_window.h) is posted to the bar when finished
// requests wait.

// A worker that has spent this long on one request while others wait is
// given up for another, which takes the rest of the queue.
constexpr DWORD FOLDER_STUCK_MS = 50;

// What a request asks.
constexpr int FOLDER_CHECK = 1; // is an entry's path a folder, or a shortcut to one?
constexpr int FOLDER_LIST = 2;  // what does a folder hold?

struct FolderRequest {
    FolderRequest* prev; // in the queue, or the list of finished requests
    FolderRequest* next;
    void* owner;         // the bar's record this answers; the worker never touches it
    int generation;      // the worker's generation it was queued in (set by the queue)
    int state;           // FOLDER_REQUEST_NEW, _QUEUED, _TAKEN or _DONE (changed under the lock)
    int kind;            // FOLDER_CHECK or FOLDER_LIST
    int limit;           // FOLDER_LIST: the items kept at most
    wchar_t path[MAX_PATH]; // the entry's path (expanded), or the folder
    // Filled by the worker.
    int found;           // FOLDER_CHECK: 1 for a folder; FOLDER_LIST: FOLDER_LISTED or _UNREADABLE
    wchar_t folder[MAX_PATH];  // FOLDER_CHECK: the folder it opens as (a shortcut's target)
    char codeFolder[MAX_PATH]; // that folder in the code page; "" when it cannot be named so
    FolderListing* listing;    // FOLDER_LIST: on the heap, freed with the request
};

constexpr int FOLDER_REQUEST_NEW = 0;
constexpr int FOLDER_REQUEST_QUEUED = 1;
constexpr int FOLDER_REQUEST_TAKEN = 2;
constexpr int FOLDER_REQUEST_DONE = 3;

// A new request, not yet queued; the program ends when memory runs out.
FolderRequest* newFolderRequest(void* owner, int kind);
// Frees a request the bar holds, with its listing.
void freeFolderRequest(FolderRequest* request);

// Starts the worker when it does not run.
void startFolderWorker();
// Stops the worker: the queue and the finished requests are freed; a request
// under way is waited for a short while. A worker that is stuck in one frees
// its request itself when it comes back.
void stopFolderWorker();

// Puts a request at the front or the end of the queue; notify is told when
// it is finished.
void queueFolderRequest(FolderRequest* request, int front, HWND notify);
// The finished requests, oldest first, linked by next; the bar owns them.
FolderRequest* takeFinishedFolderRequests();
// Waits until a finished request waits to be taken or ms pass (1: one
// waits). A worker stuck meanwhile is given up for another.
int waitForFolderRequests(DWORD ms);

#endif
