// The installer as an administrator runs it silently: what it leaves on the
// system, the bar started from its Start-menu shortcut, and what the silent
// uninstaller takes away and what it keeps.
// Usage: installer_test Zentor-<version>-setup.exe
#include "driver.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

const char* const UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zentor";

std::string installerPath()
{
    std::string path = __argc > 1 ? __argv[1] : "";
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    return path;
}

std::string shellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Runs a command line to its end; returns its exit code, or -1.
int run(const std::string& command)
{
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return (int)code;
}

// A string value; "(none)" when it is missing.
std::string registryText(const char* key, const char* name)
{
    char value[512] = "(none)";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size))
        return "(none)";
    return value;
}

bool readShortcut(const std::string& link, std::string* target, std::string* arguments,
                  std::string* folder)
{
    CoInitialize(nullptr);
    IShellLinkA* shortcut = nullptr;
    IPersistFile* file = nullptr;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    char text[MAX_PATH] = "";
    bool read = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkA, (void**)&shortcut)) &&
                SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, (void**)&file)) &&
                SUCCEEDED(file->Load(wide, STGM_READ));
    if (read && SUCCEEDED(shortcut->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)))
        *target = text;
    if (read && SUCCEEDED(shortcut->GetArguments(text, MAX_PATH)))
        *arguments = text;
    if (read && SUCCEEDED(shortcut->GetWorkingDirectory(text, MAX_PATH)))
        *folder = text;
    if (file)
        file->Release();
    if (shortcut)
        shortcut->Release();
    CoUninitialize();
    return read;
}

std::string imageOf(HANDLE process)
{
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    QueryFullProcessImageNameA(process, 0, path, &size);
    return path;
}

class Installer : public E2eTest {
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        folder = dir + "\\Zentor";
        DeleteFileA(dataFile.c_str());
    }
    void TearDown() override
    {
        E2eTest::TearDown();
        DeleteFileA(dataFile.c_str());
        RemoveDirectoryA(userFolder.c_str());
        deleteOptions("default");
    }

    // Starts what the shortcut says in the folder it names, as the shell
    // does (Wine's ShellExecuteEx hands back no process for a shortcut).
    Running& startShortcut(const std::string& link)
    {
        Running* program = new Running;
        started.push_back(program);
        program->ended = true;
        std::string target, arguments, folder;
        EXPECT_TRUE(readShortcut(link, &target, &arguments, &folder)) << link;
        EXPECT_EQ("%APPDATA%\\Zentor", folder) << "the folder must be each user's own";
        char expanded[MAX_PATH] = "";
        ExpandEnvironmentStringsA(folder.c_str(), expanded, sizeof expanded);
        std::string command = "\"" + target + "\" " + arguments;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (CreateProcessA(target.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           expanded, &startup, &program->info))
            program->ended = false;
        else
            ADD_FAILURE() << "cannot start " << command << " in " << expanded << ", error "
                          << GetLastError();
        return *program;
    }

    std::string userFolder = shellFolder(CSIDL_APPDATA) + "\\Zentor";
    std::string dataFile = userFolder + "\\default.zt";
    std::string startMenuLink = shellFolder(CSIDL_PROGRAMS) + "\\Zentor.lnk";
    std::string logOnLink = shellFolder(CSIDL_STARTUP) + "\\Zentor.lnk";
    std::string folder; // where it installs
};

TEST_F(Installer, InstallsRunsFromItsShortcutAndUninstallsKeepingTheUsersData)
{
    ASSERT_EQ(0, run("\"" + installerPath() + "\" /S /D=" + folder)) << installerPath();
    const char* files[] = {"zentor.exe", "zentornt3.exe", "README.md", "LICENSE",
                           "docs\\bar.png", "Uninstall.exe"};
    for (const char* name : files)
        EXPECT_TRUE(fileExists(folder + "\\" + name)) << name << " not installed";
    EXPECT_TRUE(fileExists(startMenuLink)) << startMenuLink;
    EXPECT_TRUE(fileExists(logOnLink)) << "\"Start Zentor when I log on\" is on by default: "
                                       << logOnLink;
    EXPECT_EQ("\"" + folder + "\\Uninstall.exe\" /CurrentUser",
              registryText(UNINSTALL_KEY, "UninstallString"));
    EXPECT_EQ("Zentor", registryText(UNINSTALL_KEY, "DisplayName"));

    // The installed bar, in the user's folder: a first run, so it greets.
    Running& bar = startShortcut(startMenuLink);
    HWND window = waitForBar(bar);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(folder + "\\zentor.exe", imageOf(bar.info.hProcess));
    EXPECT_EQ(1u, boxes.size());
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitForEnd(bar));
    EXPECT_EQ("", byteDifference(defaultDataFile(), readBytes(dataFile)));
    EXPECT_FALSE(fileExists(folder + "\\default.zt"));

    // The uninstaller runs from a copy of itself and returns at once; the
    // uninstall entry goes last.
    ASSERT_EQ(0, run("\"" + folder + "\\Uninstall.exe\" /S"));
    EXPECT_TRUE(waitFor([&] { return registryText(UNINSTALL_KEY, "UninstallString") == "(none)"; },
                        60000)) << "the uninstall entry is still there";
    EXPECT_FALSE(fileExists(folder)) << folder;
    EXPECT_FALSE(fileExists(startMenuLink));
    EXPECT_FALSE(fileExists(logOnLink));
    EXPECT_EQ("", byteDifference(defaultDataFile(), readBytes(dataFile)));
    std::vector<unsigned char> options;
    DWORD type = 0;
    EXPECT_TRUE(readOptions("default", &options, &type)) << "options removed";
    EXPECT_EQ(108u, options.size());
}

} // namespace
