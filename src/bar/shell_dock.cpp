// The shell's docking service. Kept in its own file so tests can put a
// recording version in its place.
#include "bar_window.h"

#ifndef ZENTOR_NT3
UINT_PTR SHZentorMessage(DWORD message, APPBARDATA* data)
{
    return SHAppBarMessage(message, data);
}
#endif
