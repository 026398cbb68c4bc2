#include "shell_call.h"

#ifndef ZENTOR_NT3
BOOL shellExecuteEx(SHELLEXECUTEINFOA* request)
{
    return ShellExecuteExA(request);
}
#else
HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show)
{
    return ShellExecuteA(owner, verb, file, parameters, directory, show);
}
#endif
