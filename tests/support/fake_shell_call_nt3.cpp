// Stands in for the zentornt3 build's shell call: records what the program
// asks for, then passes it to ShellExecuteA, or answers with shellAnswer
// without starting anything when that is set.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "launch/shell_call.h"
#include "fake_shell_call_nt3.h"

std::vector<RecordedShellCall> recordedShellCalls;
int shellAnswer = -1;

HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show)
{
    recordedShellCalls.push_back({owner, verb ? verb : "(null)", file ? file : "(null)",
                                  parameters ? parameters : "(null)",
                                  directory ? directory : "(null)", show});
    if (shellAnswer >= 0)
        return (HINSTANCE)(INT_PTR)shellAnswer;
    return ShellExecuteA(owner, verb, file, parameters, directory, show);
}
