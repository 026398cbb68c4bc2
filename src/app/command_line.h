// The command line: option switches, a data file name and a profile word.
#ifndef ZENTOR_COMMAND_LINE_H
#define ZENTOR_COMMAND_LINE_H

#include "../options/option_block.h"

constexpr int PROFILE_NAME_SIZE = 20;
constexpr int DATA_PATH_SIZE = 80;

extern char profileName[PROFILE_NAME_SIZE]; // profile word from the command line; "" = none
extern char dataFilePath[DATA_PATH_SIZE];   // menu data file; settled by parseCommandLine and loadOptions

// Which of the six option flags a switch set on this command line, one bit
// each in the order of UserOptions (alwaysOnTop = bit 0 ... autoHide = bit 5).
extern unsigned switchesGiven;

// Puts the flags that switches set (taken from given) into userOptions, so the
// switches win over the stored options for this run.
void applyCommandLineSwitches(const UserOptions* given);

// Takes profileName, dataFilePath and the switched flags from an argument
// vector (argument 0 is the program), warning about what it cannot use.
// Returns 0 when the profile or data file name can never name a file: the
// user has been told, and the program must end without writing anything.
int parseArguments(int argc, char** argv);

#endif
