// The real sound call. Tests link their own version in its place.
#include "status.h"

#include <mmsystem.h>

BOOL playWavFile(const char* path)
{
    return PlaySoundA(path, nullptr, SND_FILENAME | SND_ASYNC);
}
