#include "command_line.h"

#include <string.h>

#include "file_names.h"
#include "text.h"
#include "warning.h"

unsigned switchesGiven = 0;

static int32_t* flagOf(UserOptions* o, char letter, unsigned* bit)
{
    switch (letter) {
    case 's': *bit = 1u << 0; return &o->alwaysOnTop;
    case 'c': *bit = 1u << 1; return &o->chimeHourly;
    case 'd': *bit = 1u << 2; return &o->displayDate;
    case 'm': *bit = 1u << 3; return &o->displayMemory;
    case 'b': *bit = 1u << 4; return &o->bottom;
    case 'a': *bit = 1u << 5; return &o->autoHide;
    default: return nullptr;
    }
}

void applyCommandLineSwitches(const UserOptions* given)
{
    UserOptions switched = *given;
    for (const char* letter = "scdmba"; *letter; letter++) {
        unsigned bit = 0;
        int32_t* to = flagOf(&userOptions, *letter, &bit);
        if (switchesGiven & bit)
            *to = *flagOf(&switched, *letter, &bit);
    }
}

static int isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Takes the word after -f/+f; returns how many arguments it used (0 or 1).
static int takeDataFile(int argc, char** argv, int i)
{
    if (i + 1 >= argc) {
        showWarning("Missing or invalid filename on command line!");
        return 0;
    }
    const char* name = argv[i + 1];
    if (!isAsciiLetter(name[0]) && name[0] != '.') {
        showWarning("Missing or invalid filename on command line!");
        return 1;
    }
    if (strlen(name) >= sizeof dataFilePath)
        showWarningf("The data file name is too long (at most %d characters):\n%s",
                     (int)sizeof dataFilePath - 1, name);
    else
        copyField(dataFilePath, name);
    return 1;
}

// A name that cannot be a file would only fail later, at the load, for
// reasons that would name the wrong cause.
static int nameCanBeStored()
{
    char why[96];
    if (profileName[0] && !canNameFile(profileName, 0, why, sizeof why)) {
        showWarningf("The profile name \"%s\" cannot name a file:\n%s.\nZentor ends.",
                     profileName, why);
        return 0;
    }
    if (!profileName[0] && dataFilePath[0] && !canNameFile(dataFilePath, 1, why, sizeof why)) {
        showWarningf("The data file name \"%s\" cannot name a file:\n%s.\nZentor ends.",
                     dataFilePath, why);
        return 0;
    }
    return 1;
}

int parseArguments(int argc, char** argv)
{
    profileName[0] = '\0';
    dataFilePath[0] = '\0';
    switchesGiven = 0;
    for (int i = 1; i < argc; i++) {
        const char* word = argv[i];
        if (word[0] == '-' || word[0] == '+') {
            int32_t value = word[0] == '+';
            unsigned bit = 0;
            int32_t* flag = flagOf(&userOptions, word[1], &bit);
            if (flag) {
                *flag = value;
                switchesGiven |= bit;
            } else if (word[1] == 'f') {
                i += takeDataFile(argc, argv, i);
            } else {
                showWarningf("Unknown option: %s", word);
            }
        } else if (strlen(word) >= sizeof profileName) {
            showWarningf("The profile name is too long (at most %d characters):\n%s",
                         (int)sizeof profileName - 1, word);
        } else {
            copyField(profileName, word);
        }
    }
    if (!nameCanBeStored())
        return 0;
    if (profileName[0])
        formatText(dataFilePath, sizeof dataFilePath, "%s.zt", profileName);
    return 1;
}
