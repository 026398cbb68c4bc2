// zentornt3 shows no icons: none of this is in that build.
#ifndef ZENTOR_NT3
#include "icon_worker.h"

#include <stdlib.h>

#include "icon_lookup.h"
#include "../app/app.h"
#include "../bar/bar_window.h"

// How long stopping waits for a lookup under way.
constexpr DWORD ICON_STOP_WAIT_MS = 1000;

static WorkQueue iconQueue;

IconRequest* newIconRequest(void* owner)
{
    IconRequest* request = (IconRequest*)calloc(1, sizeof(IconRequest));
    if (!request)
        fatalError("Out of memory.");
    request->work.owner = owner;
    return request;
}

void freeIconRequest(IconRequest* request)
{
    if (!request)
        return;
    free(request->pixels);
    free(request);
}

void answerIconRequest(IconRequest* r)
{
    if (r->ofType) {
        r->pixels = lookUpTypeIcon(r->path, r->size);
        r->found = r->pixels ? ICON_OWN : ICON_NOTHING;
    } else {
        r->found = lookUpFileIcon(r->path, r->size, &r->pixels);
    }
}

int startIconWorker(HWND notify)
{
    // Icons may wait; the user's clicks may not.
    return startWorkQueue(&iconQueue, WORK_ICONS, WM_ICONS_READY, THREAD_PRIORITY_BELOW_NORMAL,
                          notify);
}

void setIconNotifyWindow(HWND notify)
{
    setWorkNotifyWindow(&iconQueue, notify);
}

void stopIconWorker()
{
    stopWorkQueue(&iconQueue, ICON_STOP_WAIT_MS);
}

void queueIconRequests(WorkItem** requests, int count)
{
    queueWork(&iconQueue, requests, count, 0);
}

void putIconRequestsFirst(WorkItem** requests, int count)
{
    queueWork(&iconQueue, requests, count, 1);
}

IconRequest* takeFinishedIconRequests()
{
    return (IconRequest*)takeFinishedWork(&iconQueue);
}

void pauseIconLookups()
{
    pauseWork(&iconQueue);
}

void resumeIconLookups()
{
    resumeWork(&iconQueue);
}

void* giveUpStuckIconLookup()
{
    return giveUpStuckWork(&iconQueue, ICON_LOOKUP_STUCK_MS, 1);
}

#endif
