// The shell's query of a drop's files. Tests link their own version in its place.
#include "dropped_files.h"

UINT queryDroppedFile(HDROP drop, UINT i, char* path, UINT size)
{
    return DragQueryFileA(drop, i, path, size);
}
