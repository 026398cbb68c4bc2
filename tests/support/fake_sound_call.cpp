// Stands in for the sound call: records every file it is asked to play and
// answers as the test asks. Tests that read them declare the names below.
#include <string>
#include <vector>

#include "bar/status.h"

std::vector<std::string> playedSounds;
BOOL playAnswer = TRUE;

BOOL playWavFile(const char* path)
{
    playedSounds.push_back(path);
    return playAnswer;
}
