// Stands in for the shell's docking service: records every call with a copy
// of the record it got, and answers as the test asks. Tests that read the
// recording declare the names below themselves.
#include <vector>

#include "bar/bar_window.h"

#ifndef ZENTOR_NT3
struct DockCall {
    DWORD message;
    APPBARDATA data; // as the program passed it, before the answer
};

std::vector<DockCall> dockCalls;
// Answers: ABM_NEW and ABM_SETAUTOHIDEBAR return these, every other message 1.
UINT_PTR dockNewAnswer = 1;
UINT_PTR dockAutoHideAnswer = 1;
// What ABM_QUERYPOS hands back in rc.top and rc.bottom; a negative value
// leaves that field as the program sent it.
LONG dockQueryTop = -1;
LONG dockQueryBottom = -1;

void resetFakeDock()
{
    dockCalls.clear();
    dockNewAnswer = 1;
    dockAutoHideAnswer = 1;
    dockQueryTop = -1;
    dockQueryBottom = -1;
}

UINT_PTR SHZentorMessage(DWORD message, APPBARDATA* data)
{
    dockCalls.push_back({message, *data});
    switch (message) {
    case ABM_NEW:
        return dockNewAnswer;
    case ABM_SETAUTOHIDEBAR:
        return data->lParam ? dockAutoHideAnswer : 1;
    case ABM_QUERYPOS:
        if (dockQueryTop >= 0)
            data->rc.top = dockQueryTop;
        if (dockQueryBottom >= 0)
            data->rc.bottom = dockQueryBottom;
        return 1;
    default:
        return 1;
    }
}
#endif
