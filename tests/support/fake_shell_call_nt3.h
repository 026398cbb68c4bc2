// The recording shellExecute of the zentornt3 launch tests.
#ifndef ZENTOR_FAKE_SHELL_CALL_NT3_H
#define ZENTOR_FAKE_SHELL_CALL_NT3_H

#include <windows.h>

#include <string>
#include <vector>

// One shellExecute call, as the program made it.
struct RecordedShellCall {
    HWND owner;
    std::string verb;
    std::string file;
    std::string parameters;
    std::string directory;
    int show;
};

extern std::vector<RecordedShellCall> recordedShellCalls;
// -1: the call goes to ShellExecuteA; else the call returns this number and
// starts nothing.
extern int shellAnswer;

#endif
