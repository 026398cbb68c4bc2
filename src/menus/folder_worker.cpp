#include "folder_worker.h"

#include <stdlib.h>

#include "../app/app.h"
#include "../bar/bar_window.h"

// How long stopping waits for a request under way.
constexpr DWORD FOLDER_STOP_WAIT_MS = 1000;

static WorkQueue folderQueue;

static void startQueue(HWND notify)
{
    startWorkQueue(&folderQueue, WORK_FOLDERS, WM_FOLDERS_READY, THREAD_PRIORITY_NORMAL, notify);
}

FolderRequest* newFolderRequest(void* owner, int kind)
{
    FolderRequest* request = (FolderRequest*)calloc(1, sizeof(FolderRequest));
    if (!request)
        fatalError("Out of memory.");
    request->work.owner = owner;
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

void answerFolderRequest(FolderRequest* r)
{
    if (r->kind == FOLDER_CHECK) {
        r->found = findEntryFolder(r->path, r->folder, MAX_PATH);
        if (r->found)
            codePagePath(r->folder, r->codeFolder, MAX_PATH);
    } else {
        r->found = listFolder(r->path, r->limit, &r->listing);
    }
}

void startFolderWorker()
{
    prepareFolderListing();
    startQueue(nullptr);
}

void stopFolderWorker()
{
    stopWorkQueue(&folderQueue, FOLDER_STOP_WAIT_MS);
}

// A request that waits while the worker has spent long on another (a share
// that does not answer, say) gets a new worker; the stuck one finishes its
// request alone.
void queueFolderRequest(FolderRequest* r, int front, HWND notify)
{
    startQueue(notify);
    WorkItem* item = &r->work;
    queueWork(&folderQueue, &item, 1, front);
    giveUpStuckWork(&folderQueue, FOLDER_STUCK_MS, 0);
}

FolderRequest* takeFinishedFolderRequests()
{
    return (FolderRequest*)takeFinishedWork(&folderQueue);
}

int waitForFolderRequests(DWORD ms)
{
    return waitForFinishedWork(&folderQueue, ms, FOLDER_STUCK_MS);
}
