// The icon lookups' queue: no lookup ever runs on the bar's thread, so a
// slow disk, an unreachable network share or a hanging shell extension
// costs the user an icon at most, never a frozen menu. The queue and its
// workers are a WorkQueue (work_queue.h); WM_ICONS_READY (bar_window.h) is
// posted to the bar when answers wait.
#ifndef ZENTOR_ICON_WORKER_H
#define ZENTOR_ICON_WORKER_H

#include <stdint.h>
#include <windows.h>

#include "work_queue.h"

// How long one lookup may take before its worker is given up for another.
constexpr DWORD ICON_LOOKUP_STUCK_MS = 1000;

struct IconRequest {
    WorkItem work;     // its place in the queue; work.owner is the bar's entry
    int ofType;        // 1: a type's icon; path holds its extension ("" for the generic icon)
    int size;          // pixels a side
    char path[MAX_PATH];
    // Filled by the worker.
    int found;         // ICON_NOTHING, ICON_OWN or ICON_OF_TYPE
    uint32_t* pixels;  // size x size, or null
};

// A new request, not yet queued; the program ends when memory runs out.
IconRequest* newIconRequest(void* owner);
// Frees a request the bar holds (with its pixels).
void freeIconRequest(IconRequest* request);
// Looks the request up: on a worker's thread.
void answerIconRequest(IconRequest* request);

// Starts the worker, which posts WM_ICONS_READY to notify; returns the
// generation of the requests queued now. Harmless when it runs.
int startIconWorker(HWND notify);
// The window told of answers; a null one holds the news until there is one.
void setIconNotifyWindow(HWND notify);
// Stops the worker, waiting a short while for a lookup under way.
void stopIconWorker();

// Puts new requests (their work items) at the end of the queue.
void queueIconRequests(WorkItem** requests, int count);
// Puts requests at the front of the queue, in the given order: new ones,
// and those still waiting in the queue; those taken already stay as they are.
void putIconRequestsFirst(WorkItem** requests, int count);
// The answered requests, oldest first, linked by work.next; the bar owns them.
IconRequest* takeFinishedIconRequests();
// The next answered request after r.
inline IconRequest* nextIconRequest(IconRequest* r)
{
    return (IconRequest*)r->work.next;
}

// While the bar opens a popup, no new lookup begins: the popup's drawing
// has the processor and the window system to itself.
void pauseIconLookups();
void resumeIconLookups();

// Called now and then by the bar while requests are out: a lookup that has
// taken longer than ICON_LOOKUP_STUCK_MS is given up, another worker takes
// the rest of the queue, and the stuck request's owner is returned (its
// answer may still come, late). Null otherwise.
void* giveUpStuckIconLookup();

#endif
