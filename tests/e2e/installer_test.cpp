// The installer as a user runs it silently: what it leaves on the system
// (the build for this Windows), the bar started from its Start-menu
// shortcut, and what the silent uninstaller takes away and what it keeps.
// The installer is a 32-bit program; where this machine cannot run one, the
// tests say so and are skipped.
// Usage: installer_test Zentor-<version>-setup.exe
#include "driver.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

const char* const UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zentor";

std::string shellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool startProcess(const std::string& command, const char* folder, PROCESS_INFORMATION* info)
{
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                          &startup, info);
}

// Runs a command line to its end; returns its exit code, or -1.
int run(const std::string& command)
{
    PROCESS_INFORMATION info{};
    if (!startProcess(command, nullptr, &info))
        return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return (int)code;
}

// True when 32-bit programs run here. Wine reports exit code 0 for a 32-bit
// program its loader could not start, so a program that ends with another
// code is the proof.
bool runs32BitPrograms()
{
    if (sizeof(void*) == 4)
        return true;
    char folder[MAX_PATH] = "";
    if (!GetSystemWow64DirectoryA(folder, sizeof folder))
        return false;
    return run("\"" + std::string(folder) + "\\cmd.exe\" /c exit 7") == 7;
}

bool windowsIs64Bit()
{
    SYSTEM_INFO system;
    GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

// The machine a program is built for, from its PE header; 0 when unreadable.
WORD programMachine(const std::string& path)
{
    std::vector<unsigned char> bytes = readBytes(path);
    if (bytes.size() < 0x40)
        return 0;
    size_t header = bytes[0x3C] | bytes[0x3D] << 8 | bytes[0x3E] << 16 | (size_t)bytes[0x3F] << 24;
    return header + 6 <= bytes.size() ? (WORD)(bytes[header + 4] | bytes[header + 5] << 8) : 0;
}

std::string installerPath()
{
    std::string installer = __argc > 1 ? __argv[1] : "";
    return !installer.empty() && installer[0] == '/' ? "Z:" + installer : installer;
}

std::string registryText(const char* key, const char* name)
{
    char value[512] = "";
    DWORD size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size)
               ? "(none)" : value;
}

// The target and the "Start in" folder of a shortcut, as stored.
struct Shortcut {
    std::string target, folder;
};

Shortcut readShortcut(const std::string& link)
{
    Shortcut read;
    CoInitialize(nullptr);
    IShellLinkA* shortcut = nullptr;
    IPersistFile* file = nullptr;
    std::wstring wide(link.begin(), link.end());
    char text[MAX_PATH] = "";
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   (void**)&shortcut)) &&
        SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, (void**)&file)) &&
        SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
        if (SUCCEEDED(shortcut->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)))
            read.target = text;
        if (SUCCEEDED(shortcut->GetWorkingDirectory(text, MAX_PATH)))
            read.folder = text;
    }
    if (file)
        file->Release();
    if (shortcut)
        shortcut->Release();
    CoUninitialize();
    return read;
}

class Installer : public E2eTest {
protected:
    void SetUp() override
    {
        if (!runs32BitPrograms())
            GTEST_SKIP() << "this machine cannot run 32-bit programs, and the installer is one";
        E2eTest::SetUp();
    }
    void TearDown() override
    {
        E2eTest::TearDown();
        DeleteFileA(dataFile.c_str());
        RemoveDirectoryA(userFolder.c_str());
        deleteOptions("default");
    }

    // Starts the shortcut's program in its folder, with the variables in it
    // filled in as the shell does (Wine's ShellExecuteEx hands back no
    // process for a shortcut).
    Running& startShortcut(const Shortcut& shortcut)
    {
        Running* program = new Running;
        started.push_back(program);
        char folder[MAX_PATH] = "";
        ExpandEnvironmentStringsA(shortcut.folder.c_str(), folder, sizeof folder);
        program->ended = !startProcess("\"" + shortcut.target + "\"", folder, &program->info);
        EXPECT_FALSE(program->ended) << "cannot start " << shortcut.target << " in " << folder;
        return *program;
    }

    std::string userFolder = shellFolder(CSIDL_APPDATA) + "\\Zentor";
    std::string dataFile = userFolder + "\\default.zt";
};

TEST_F(Installer, InstallsRunsFromItsShortcutAndUninstallsKeepingTheUsersData)
{
    std::string installer = installerPath();
    std::string folder = dir + "\\Zentor";
    std::string startMenuLink = shellFolder(CSIDL_PROGRAMS) + "\\Zentor.lnk";
    std::string logOnLink = shellFolder(CSIDL_STARTUP) + "\\Zentor.lnk";
    DeleteFileA(dataFile.c_str());

    ASSERT_EQ(0, run("\"" + installer + "\" /S /D=" + folder)) << installer;
    for (const char* name : {"zentor.exe", "README.md", "LICENSE", "docs\\bar.png", "Uninstall.exe"})
        EXPECT_TRUE(fileExists(folder + "\\" + name)) << name << " not installed";
    // The build for this Windows: the 64-bit zentor.exe alone on 64-bit
    // Windows, both 32-bit programs elsewhere.
    EXPECT_EQ(windowsIs64Bit() ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386,
              programMachine(folder + "\\zentor.exe"));
    EXPECT_EQ(!windowsIs64Bit(), fileExists(folder + "\\zentornt3.exe"));
    EXPECT_TRUE(fileExists(logOnLink)) << "log-on start is on by default: " << logOnLink;
    EXPECT_EQ("\"" + folder + "\\Uninstall.exe\" /CurrentUser",
              registryText(UNINSTALL_KEY, "UninstallString"));
    Shortcut shortcut = readShortcut(startMenuLink);
    EXPECT_EQ(folder + "\\zentor.exe", shortcut.target) << startMenuLink;
    EXPECT_EQ("%APPDATA%\\Zentor", shortcut.folder) << "each user's own folder";

    // A first run: the bar greets, and writes its menus into the user's folder.
    Running& bar = startShortcut(shortcut);
    HWND window = waitForBar(bar);
    ASSERT_NE(nullptr, window);
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
    EXPECT_TRUE(readOptions("default", &options, &type) && options.size() == 108)
        << "the options went with the program";
}

// For all users the program goes into the Program Files of its own build:
// the 64-bit one on 64-bit Windows.
TEST_F(Installer, ForAllUsersGoesIntoTheProgramFilesOfItsBuild)
{
    char programFiles[MAX_PATH] = "";
    GetEnvironmentVariableA(windowsIs64Bit() ? "ProgramW6432" : "ProgramFiles", programFiles,
                            sizeof programFiles);
    std::string folder = std::string(programFiles) + "\\Zentor";
    ASSERT_EQ(0, run("\"" + installerPath() + "\" /S /AllUsers"));
    EXPECT_EQ(windowsIs64Bit() ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386,
              programMachine(folder + "\\zentor.exe")) << folder;
    ASSERT_EQ(0, run("\"" + folder + "\\Uninstall.exe\" /AllUsers /S"));
    EXPECT_TRUE(waitFor([&] { return !fileExists(folder); }, 60000)) << folder << " stays";
}

} // namespace
