// Start-up and exit of zentor.exe against minimal_app.exe, side by side and
// alternating: from CreateProcess to the window visible, and from posting the
// exit to the end of the process. Medians over the rounds; goal 1.2 x.
//
// Usage: startup_bench [rounds] (zentor.exe is looked for one folder above
// this program, minimal_app.exe beside it).
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

#include "bench_util.h"
#include "resource.h"

struct Subject {
    const char* label;
    std::string exe;
    std::string arguments;
    const char* windowClass;
    const char* title;
    WPARAM exitCommand;
    std::vector<double> startMs;
    std::vector<double> exitMs;
};

static std::string ownFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/"));
}

static void putInt32(unsigned char* at, int32_t value)
{
    for (int b = 0; b < 4; b++)
        at[b] = (unsigned char)((uint32_t)value >> (8 * b));
}

// A working folder holding a small data file (one menu, two items), so that
// zentor reads a file as a user's start does.
static std::string prepareFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "zentor-bench-startup";
    CreateDirectoryA(folder.c_str(), nullptr);

    std::vector<unsigned char> bytes(4 + 48 + 2 * 296, 0);
    putInt32(&bytes[0], 102);
    memcpy(&bytes[4], "&Apps", 5);
    putInt32(&bytes[4 + 32], 2);
    for (int i = 0; i < 2; i++) {
        unsigned char* app = &bytes[52 + 296 * i];
        const char path[] = "c:\\windows\\notepad.exe";
        memcpy(app, path, sizeof path);
        memcpy(app + 250, i ? "&Second" : "&First", i ? 8 : 7);
    }
    FILE* file = fopen((folder + "\\bench.zt").c_str(), "wb");
    if (file) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return folder;
}

// Stores the options of profile "bench" so no first-run greeting comes:
// always on top, memory shown, no auto-hide, no chime.
static int storeOptions()
{
    unsigned char block[108] = {};
    putInt32(block + 0, 1);  // alwaysOnTop
    putInt32(block + 12, 1); // displayMemory
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zentor\\bench", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 0;
    int ok = RegSetValueExA(key, "User_Vars", 0, REG_BINARY, block, sizeof block) ==
             ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

static HWND visibleWindow(const Subject& s)
{
    HWND window = FindWindowA(s.windowClass, s.title);
    return window && IsWindowVisible(window) ? window : nullptr;
}

// One start and exit; returns 0 (and says why) when the program misbehaves.
static int runOnce(Subject& s, const std::string& folder, int record)
{
    std::string commandLine = "\"" + s.exe + "\" " + s.arguments;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};

    double started = nowMs();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        printf("%s: cannot start %s (error %lu)\n", s.label, s.exe.c_str(), GetLastError());
        return 0;
    }
    HWND window = nullptr;
    while (!(window = visibleWindow(s))) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 ||
            nowMs() - started > 10000)
            break;
    }
    double shown = nowMs();
    if (!window) {
        printf("%s: no visible window within 10 s (a message box?)\n", s.label);
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return 0;
    }
    // Exit from a settled program, as a user would.
    WaitForInputIdle(process.hProcess, 5000);

    double exiting = nowMs();
    PostMessageA(window, WM_COMMAND, s.exitCommand, 0);
    DWORD waited = WaitForSingleObject(process.hProcess, 10000);
    double ended = nowMs();
    CloseHandle(process.hThread);
    if (waited != WAIT_OBJECT_0) {
        printf("%s: still running 10 s after the exit command\n", s.label);
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        return 0;
    }
    CloseHandle(process.hProcess);
    if (record) {
        s.startMs.push_back(shown - started);
        s.exitMs.push_back(ended - exiting);
    }
    return 1;
}

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? atoi(argv[1]) : 15;
    if (rounds < 1)
        rounds = 15;
    std::string folder = ownFolder();
    // -a: no auto-hide, so the bar stays in view and "visible" means shown.
    Subject zentor = {"zentor", folder + "\\..\\zentor.exe", "bench -a", "ZTClass", "Zentor",
                      CMD_EXIT, {}, {}};
    Subject minimal = {"minimal", folder + "\\minimal_app.exe", "", "ZTMinimal", "Minimal",
                       CMD_EXIT, {}, {}};

    if (FindWindowA("ZTClass", "Zentor")) {
        printf("start-up: a Zentor bar is already running; close it first\n");
        return 2;
    }
    if (!storeOptions()) {
        printf("start-up: cannot store the options of profile \"bench\"\n");
        return 2;
    }
    std::string work = prepareFolder();

    // One unmeasured round each loads the programs and DLLs into the caches.
    if (!runOnce(zentor, work, 0) || !runOnce(minimal, work, 0))
        return 2;
    for (int r = 0; r < rounds; r++) {
        Subject& first = r % 2 ? minimal : zentor;
        Subject& second = r % 2 ? zentor : minimal;
        if (!runOnce(first, work, 1) || !runOnce(second, work, 1))
            return 2;
    }

    printf("start-up and exit: %d rounds, medians; zentor runs as \"zentor bench -a\" "
           "(stored options, no auto-hide)\n",
           rounds);
    int met = reportRatio("start-up", "zentor", median(zentor.startMs), "minimal",
                          median(minimal.startMs), 1.2);
    met &= reportRatio("exit", "zentor", median(zentor.exitMs), "minimal",
                       median(minimal.exitMs), 1.2);
    return met ? 0 : 1;
}
