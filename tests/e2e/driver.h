// Drives the built programs from outside: starts them in a fresh directory,
// finds their windows, reads and answers their message boxes, and waits for
// them to end. Nothing of the program is linked in.
#ifndef ZENTOR_E2E_DRIVER_H
#define ZENTOR_E2E_DRIVER_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The program under test: "zentor" or "zentornt3".
std::string programPath(const std::string& variant);

// One started copy of a program.
struct Running {
    PROCESS_INFORMATION info{};
    bool ended = false;
    DWORD exitCode = 0;
};

// A message box as the user sees it; icon is the standard icon it shows
// (MB_ICONINFORMATION, MB_ICONWARNING, MB_ICONERROR), 0 when none matched.
struct Box {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    UINT icon = 0;
};

// Polls pred every few milliseconds until it holds or ms pass; returns pred().
bool waitFor(const std::function<bool()>& pred, DWORD ms = 20000);

// The visible top-level windows of the process of class cls (any when null).
std::vector<HWND> windowsOf(const Running& program, const char* cls);
HWND findWindowOf(const Running& program, const char* cls);
// Waits for the program's dialog or box of that caption; null when none came.
HWND waitForDialog(const Running& program, const char* caption, DWORD ms = 20000);
// A window's text, also of another process's window.
std::string windowText(HWND window);

// Whole files.
std::vector<unsigned char> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool fileExists(const std::string& path);
// "" when the bytes are the same, else where and how they first differ.
std::string byteDifference(const std::vector<unsigned char>& wanted,
                           const std::vector<unsigned char>& got);

// HKCU\Software\Zentor\<key>: remove it, read or write its "User_Vars".
void deleteOptions(const char* key);
bool readOptions(const char* key, std::vector<unsigned char>* value, DWORD* type);
void writeOptions(const char* key, const std::vector<unsigned char>& value);
// The 108-byte block a first run stores.
std::vector<unsigned char> defaultOptions();
// One menu of a data file: its name and its items' names and paths.
struct FileMenu {
    std::string name;
    std::vector<std::pair<std::string, std::string>> items;
};
// A data file of these menus, every other field zero.
std::vector<unsigned char> dataFileOf(const std::vector<FileMenu>& menus);
// The 1284-byte data file of the default menus.
std::vector<unsigned char> defaultDataFile();

// Each test starts its programs in a fresh directory and leaves nothing
// running behind it.
class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the variant with args in the test's directory.
    Running& start(const std::string& variant, const std::string& args);
    // Answers every box of the program (any dialog window not in dialogs)
    // with OK, recording it in boxes, until
    // stop holds or the program ends or ms pass; returns stop().
    bool driveUntil(Running& program, const std::function<bool()>& stop, DWORD ms = 20000);
    // Drives the program until its bar is shown; returns the bar.
    HWND waitForBar(Running& program);
    // Drives the program until it ends; returns whether it did.
    bool waitForEnd(Running& program, DWORD ms = 20000);
    std::string file(const std::string& name) const { return dir + "\\" + name; }

    std::string dir;
    std::vector<Box> boxes;
    std::vector<HWND> dialogs; // the programs' own dialogs: driveUntil leaves them alone
    std::vector<Running*> started;
};

#endif
