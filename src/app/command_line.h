// The command line: option switches, a data file name and a profile word.
#ifndef ZENTOR_COMMAND_LINE_H
#define ZENTOR_COMMAND_LINE_H

#include "../options/options.h"

// Which of the six option flags a switch set on this command line, one bit
// each in the order of UserOptions (alwaysOnTop = bit 0 ... autoHide = bit 5).
extern unsigned switchesGiven;

// Puts the flags that switches set (taken from given) into userOptions, so the
// switches win over the stored options for this run.
void applyCommandLineSwitches(const UserOptions* given);

#endif
