// Stands in for the system's power status: answers with the status the test
// sets. Tests that set it declare fakePowerStatus themselves.
#include "bar/bar_window.h"

#ifndef ZENTOR_NT3
// On the AC line, charge unknown: what Wine reports.
SYSTEM_POWER_STATUS fakePowerStatus = {1, 0, 255, 0, (DWORD)-1, (DWORD)-1};

BOOL getPowerStatus(SYSTEM_POWER_STATUS* status)
{
    *status = fakePowerStatus;
    return TRUE;
}
#endif
