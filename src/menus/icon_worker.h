// The thread that looks up icons, so that no lookup ever runs on the bar's
// thread: a slow disk, an unreachable network share or a hanging shell
// extension costs the user an icon at most, never a frozen menu.
//
// The bar's thread puts requests into a queue and takes the finished ones
// back when the worker posts WM_ICONS_READY to the bar. A request belongs to
// the bar until it is queued, to the queue until the worker takes it, to
// the worker until it is finished, and to the bar again afterwards. Only the
// bar's thread touches menus, windows and the menu lists; the worker owns
// nothing the bar frees.
#ifndef ZENTOR_ICON_WORKER_H
#define ZENTOR_ICON_WORKER_H

#include <stdint.h>
#include <windows.h>

// WM_ICONS_READY (bar_window.h) is posted to the notify window when
// finished requests wait.

// How long one lookup may take before the worker is given up for another.
constexpr DWORD ICON_LOOKUP_STUCK_MS = 1000;

struct IconRequest {
    IconRequest* prev; // in the queue, or the list of finished requests
    IconRequest* next;
    void* owner;       // the bar's record this answers; the worker never touches it
    int generation;    // the worker's generation it was queued in
    int state;         // REQUEST_NEW, _QUEUED, _TAKEN or _DONE (changed under the lock)
    int generic;       // 1: the generic icon, not a file's
    int size;          // pixels a side
    int wantTypeIcon;  // for a document: 0 when its type's icon is known already
    char path[MAX_PATH];
    // Filled by the worker.
    int found;         // ICON_NOTHING, ICON_OWN or ICON_OF_TYPE
    uint32_t* pixels;  // size x size, or null
};

constexpr int REQUEST_NEW = 0;
constexpr int REQUEST_QUEUED = 1;
constexpr int REQUEST_TAKEN = 2;
constexpr int REQUEST_DONE = 3;

// A new request, not yet queued; the program ends when memory runs out.
IconRequest* newIconRequest(void* owner);
// Frees a request the bar holds (with its pixels).
void freeIconRequest(IconRequest* request);

// Starts the worker, which posts WM_ICONS_READY to notify; returns the
// generation its requests must carry. Harmless when it runs.
int startIconWorker(HWND notify);
// The window that is told of finished requests (the bar is made anew at
// times); a null window holds the news until there is one again.
void setIconNotifyWindow(HWND notify);
// Stops the worker: the queue and the finished requests are freed; a lookup
// under way is waited for a short while. A worker that is stuck in one
// frees its request itself when it comes back.
void stopIconWorker();

// Puts requests at the end of the queue.
void queueIconRequests(IconRequest** requests, int count);
// Puts requests at the front of the queue, in the given order: new ones,
// and those still waiting in the queue; those taken already stay as they are.
void putIconRequestsFirst(IconRequest** requests, int count);
// The finished requests, oldest first, linked by next; the bar owns them.
IconRequest* takeFinishedIconRequests();

// While the bar opens a popup, the worker takes no new lookup: the popup's
// drawing has the processor and the window system to itself. A lookup under
// way runs on. Paused until resumed, at most ICON_PAUSE_MS.
void pauseIconLookups();
void resumeIconLookups();
constexpr DWORD ICON_PAUSE_MS = 300;

// Called now and then by the bar while requests are out: when a lookup has
// taken longer than ICON_LOOKUP_STUCK_MS, its worker is given up, another
// takes the rest of the queue, and the stuck request's owner is returned
// (its result may still come, late). Null otherwise.
void* giveUpStuckIconLookup();

#endif
