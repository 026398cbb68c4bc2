#include "launch.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

#include "../app/message_box.h"
#include "shell_call.h"
#include "../app/text.h"
#include "../bar/bar_window.h"

int launchShowCommand(int32_t showCommand)
{
    return showCommand == 0 ? SW_RESTORE : showCommand;
}

#ifndef ZENTOR_NT3

void launchErrorText(char* text, size_t size, int err)
{
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
        copyText(text, size, "File/Executable not found.\nCheck menuitem setup.");
        break;
    case ERROR_PATH_NOT_FOUND:
        copyText(text, size, "Path not found.\nCheck menuitem setup.");
        break;
    case ERROR_NOT_ENOUGH_MEMORY:
        copyText(text, size, "Insufficient memory to start application.");
        break;
    case ERROR_DLL_NOT_FOUND:
        copyText(text, size, "A required DLL necessary to start\nthis application was not found.");
        break;
    default:
        formatText(text, size, "ShellExecuteEx returned error code: %d", err);
        break;
    }
}

// The error of a failed ShellExecuteExA. Some shells clear the thread's last
// error while they show their own error box; the request's hInstApp still
// holds the shell's code then, which is taken instead of reporting error 0.
static int launchErrorCode(const SHELLEXECUTEINFOA* request)
{
    DWORD error = GetLastError();
    if (error != 0)
        return (int)error;
    int shellCode = (int)(INT_PTR)request->hInstApp;
    if (shellCode == SE_ERR_DLLNOTFOUND)
        return ERROR_DLL_NOT_FOUND;
    return shellCode;
}

int isShortcut(const char* path)
{
    size_t length = strlen(path);
    return length >= 4 && lstrcmpiA(path + length - 4, ".lnk") == 0;
}

HRESULT resolveShortcut(HWND owner, const char* linkPath, char* target, char* workingDir,
                        char* arguments, int* showCommand)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkA, (void**)&link);
    if (SUCCEEDED(result))
        result = link->QueryInterface(IID_IPersistFile, (void**)&file);
    if (SUCCEEDED(result)) {
        WCHAR widePath[MAX_PATH];
        if (!MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH))
            widePath[0] = L'\0';
        result = file->Load(widePath, STGM_READ);
    }
    if (SUCCEEDED(result))
        result = link->Resolve(owner, SLR_NO_UI | SLR_ANY_MATCH);
    if (SUCCEEDED(result)) {
        WIN32_FIND_DATAA found;
        link->GetPath(target, SHORTCUT_TEXT_SIZE, &found, SLGP_SHORTPATH);
        link->GetWorkingDirectory(workingDir, SHORTCUT_TEXT_SIZE);
        link->GetArguments(arguments, SHORTCUT_TEXT_SIZE);
        result = link->GetShowCmd(showCommand);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return result;
}

int launchFile(const char* path, const char* parameters, const char* directory,
               int32_t storedShow)
{
    char target[SHORTCUT_TEXT_SIZE] = "";
    char workingDir[SHORTCUT_TEXT_SIZE] = "";
    char arguments[SHORTCUT_TEXT_SIZE] = "";
    int showCommand = 0;

    SHELLEXECUTEINFOA request;
    memset(&request, 0, sizeof request);
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_DOENVSUBST;
    request.hwnd = barWindow;
    request.lpVerb = "open";
    if (isShortcut(path)) {
        if (FAILED(resolveShortcut(barWindow, path, target, workingDir, arguments,
                                   &showCommand))) {
            showWarning("Error executing link.");
            return 0;
        }
        request.lpFile = target;
        request.lpParameters = arguments;
        request.lpDirectory = workingDir;
        request.nShow = showCommand;
    } else {
        request.lpFile = path;
        request.lpParameters = parameters;
        request.lpDirectory = directory;
        request.nShow = launchShowCommand(storedShow);
    }
    if (shellExecuteEx(&request))
        return 1;
    char text[128];
    launchErrorText(text, sizeof text, launchErrorCode(&request));
    showWarning(text);
    return 0;
}

#else

void launchErrorText(char* text, size_t size, int err)
{
    switch (err) {
    case 2:
        copyText(text, size, "File not found.");
        break;
    case 3:
        copyText(text, size, "Path not found.");
        break;
    case 11:
        copyText(text, size, "Error in executable file.");
        break;
    default:
        formatText(text, size, "ShellExecute returned error code: %d", err);
        break;
    }
}

int launchFile(const char* path, const char* parameters, const char* directory,
               int32_t storedShow)
{
    HINSTANCE result = shellExecute(barWindow, "open", path, parameters, directory,
                                    launchShowCommand(storedShow));
    int code = (int)(INT_PTR)result;
    if (code > 32)
        return 1;
    char text[128];
    launchErrorText(text, sizeof text, code);
    showWarning(text);
    return 0;
}

#endif

int launchApp(const AppNode* app)
{
    return launchFile(app->path, app->parameters, app->workingDir, app->showCommand);
}
