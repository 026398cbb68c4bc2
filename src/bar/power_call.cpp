// The system's power status. Kept in its own file so tests can put a
// version with a chosen status in its place.
#include "bar_window.h"

#ifndef ZENTOR_NT3
BOOL getPowerStatus(SYSTEM_POWER_STATUS* status)
{
    return GetSystemPowerStatus(status);
}
#endif
