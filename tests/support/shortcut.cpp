#include "shortcut.h"

#include <objbase.h>
#include <shlobj.h>

bool makeShortcut(const std::string& linkPath, const std::string& target,
                  const std::string& arguments, const std::string& directory, int show)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, (void**)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        link->SetPath(target.c_str());
        link->SetArguments(arguments.c_str());
        link->SetWorkingDirectory(directory.c_str());
        link->SetShowCmd(show);
        std::wstring wide(linkPath.begin(), linkPath.end());
        saved = SUCCEEDED(file->Save(wide.c_str(), TRUE));
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return saved;
}
