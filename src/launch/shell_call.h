// The two shell calls that start programs, each in a file of its own so a
// test can link a recording version in its place.
#ifndef ZENTOR_SHELL_CALL_H
#define ZENTOR_SHELL_CALL_H

#include <windows.h>
#include <shellapi.h>

#ifndef ZENTOR_NT3
BOOL shellExecuteEx(SHELLEXECUTEINFOA* request);
#else
HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show);
#endif

#endif
