// Start-up and exit of zentor.exe with the default menus against
// minimal_app.exe, and start-up with 400 menus of 99 items against the default
// menus, side by side and taking turns: from CreateProcess to the window
// visible, and from posting the exit to the end of the process. The bar saves
// its data file and its options at exit, so its exit is held against the
// minimal program's exit followed by the same save: the same bytes written
// durably as the bar writes them, and the same registry value. Medians over
// the rounds; goals 1.1 x for start-up, 1.2 x for exit and for the 400 menus.
// bare_app.exe, the minimal program without the system libraries the bar
// loads, and the minimal exit without the save are shown for information.
// Both bars start again with icons off (profiles of their own whose "Icons"
// value is 0): start-up with icons on within 1.05 x of that.
//
// Usage: startup_bench [rounds] (zentor.exe is looked for one folder above
// this program, minimal_app.exe and bare_app.exe beside it).
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/byte_order.h"
#include "app/text.h"
#include "bench_util.h"
#include "big_menus.h"
#include "menus/menu_file.h"
#include "resource.h"

struct Subject {
    const char* label;
    std::string exe;
    std::string arguments;
    const char* windowClass;
    const char* title;
    WPARAM exitCommand;
    const char* dataFile; // deleted before each start (null: none)
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

// A working folder with the benchmarks' large data file, written by the
// program's own saver. The default menus' data file is deleted before each
// start, so that those runs build the default menus as a first start does.
static std::string prepareFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "zentor-bench-startup";
    CreateDirectoryA(folder.c_str(), nullptr);
    formatText(dataFilePath, sizeof dataFilePath, "%s\\big.zt", folder.c_str());
    buildBigMenus();
    int saved = saveMenuFile();
    freeAllMenus();
    // The same menus for the runs without icons, under their own profile.
    saved = saved && CopyFileA(dataFilePath, (folder + "\\bigoff.zt").c_str(), FALSE);
    return saved ? folder : "";
}

// Stores the options of a profile so no first-run greeting comes: always on
// top, memory shown, no auto-hide, no chime; and icons on or off when icons
// is 1 or 0.
static int storeOptions(const char* profile, int icons = -1)
{
    unsigned char block[108] = {};
    putInt32(block + 0, 1);  // alwaysOnTop
    putInt32(block + 12, 1); // displayMemory
    HKEY key;
    std::string name = std::string("Software\\Zentor\\") + profile;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return 0;
    int ok = RegSetValueExA(key, "User_Vars", 0, REG_BINARY, block, sizeof block) ==
             ERROR_SUCCESS;
    DWORD iconsValue = (DWORD)icons;
    if (icons >= 0)
        ok = ok && RegSetValueExA(key, "Icons", 0, REG_DWORD, (const BYTE*)&iconsValue,
                                  sizeof iconsValue) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

// The bytes of a small file; empty when it cannot be read.
static std::vector<char> readFileBytes(const std::string& path)
{
    std::vector<char> bytes;
    FILE* in = fopen(path.c_str(), "rb");
    if (!in)
        return bytes;
    char block[4096];
    size_t got;
    while ((got = fread(block, 1, sizeof block, in)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    fclose(in);
    return bytes;
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
    if (s.dataFile)
        DeleteFileA((folder + "\\" + s.dataFile).c_str());
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
    // Each look asks the Wine server; a look every millisecond leaves it and
    // the processors to the program being started.
    while (!(window = visibleWindow(s))) {
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0 ||
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
    std::string zentorExe = folder + "\\..\\zentor.exe";
    Subject zentor = {"zentor", zentorExe, "bench -a", "ZTClass", "Zentor", CMD_EXIT, "bench.zt",
                      {}, {}};
    Subject big = {"zentor 400 x 99", zentorExe, "big -a", "ZTClass", "Zentor",
                   CMD_EXIT, nullptr, {}, {}};
    // The same two without icons.
    Subject plain = {"zentor without icons", zentorExe, "benchoff -a", "ZTClass", "Zentor",
                     CMD_EXIT, "benchoff.zt", {}, {}};
    Subject bigPlain = {"zentor 400 x 99 without icons", zentorExe, "bigoff -a", "ZTClass",
                        "Zentor", CMD_EXIT, nullptr, {}, {}};
    // The minimal program's save, after its exit, makes its file anew as the
    // bar's does.
    Subject minimal = {"minimal", folder + "\\minimal_app.exe", "", "ZTMinimal", "Minimal",
                       CMD_EXIT, "floor.zt", {}, {}};
    Subject bare = {"bare", folder + "\\bare_app.exe", "", "ZTMinimal", "Minimal", CMD_EXIT,
                    nullptr, {}, {}};

    if (FindWindowA("ZTClass", "Zentor")) {
        printf("start-up: a Zentor bar is already running; close it first\n");
        return 2;
    }
    if (!storeOptions("bench", 1) || !storeOptions("big", 1) || !storeOptions("benchoff", 0) ||
        !storeOptions("bigoff", 0)) {
        printf("start-up: cannot store the options of the profiles\n");
        return 2;
    }
    std::string work = prepareFolder();
    if (work.empty()) {
        printf("start-up: cannot write the large data file\n");
        return 2;
    }

    // One unmeasured round each loads the programs, DLLs and files into the
    // caches; then each round starts the six in a different order.
    Subject* subjects[] = {&zentor, &minimal, &bare, &big, &plain, &bigPlain};
    const int count = sizeof subjects / sizeof subjects[0];
    for (Subject* s : subjects)
        if (!runOnce(*s, work, 0))
            return 2;
    long bigSize = fileSize(dataFilePath);
    // What the bar saved at the exit of its first round: the default menus.
    std::vector<char> defaultFile = readFileBytes(work + "\\" + zentor.dataFile);
    std::string floorFile = work + "\\" + minimal.dataFile;
    if (defaultFile.empty()) {
        printf("start-up: cannot read the default menus' data file\n");
        return 2;
    }
    // Each start waits a moment after the last exit: the large file's save
    // at the exit goes on being written to disk after the process has ended,
    // and whichever program starts next would pay for it. The minimal
    // program's exit is followed by the bar's save at once.
    std::vector<double> savedExitMs;
    for (int r = 0; r < rounds; r++)
        for (int turn = 0; turn < count; turn++) {
            Sleep(300);
            Subject* s = subjects[(r + turn) % count];
            if (!runOnce(*s, work, 1))
                return 2;
            if (s != &minimal)
                continue;
            double t0 = nowMs();
            int saved = writeDurably(floorFile.c_str(), defaultFile.data(), defaultFile.size()) &&
                        storeOptions("bench");
            double t1 = nowMs();
            if (!saved) {
                printf("start-up: the minimal program's save failed\n");
                return 2;
            }
            savedExitMs.push_back(minimal.exitMs.back() + t1 - t0);
        }
    // Each exit saves the menus the bar read: a smaller file means the bar
    // did not read the large one.
    if (fileSize(dataFilePath) != bigSize) {
        printf("start-up: the large data file was not read (%ld bytes, not %ld)\n",
               fileSize(dataFilePath), bigSize);
        return 2;
    }

    printf("start-up and exit: %d rounds, medians; zentor runs as \"zentor bench -a\" "
           "(stored options, no auto-hide) with the default menus, and as \"zentor big -a\" "
           "with %d menus of %d items\n",
           rounds, BIG_MENUS, BIG_ITEMS);
    int met = reportRatio("start-up", "zentor", median(zentor.startMs),
                          "minimal with the same system libraries", median(minimal.startMs), 1.1);
    reportYardstick("  start-up", "zentor", median(zentor.startMs),
                    "bare (user32 and kernel32 only)", median(bare.startMs));
    met &= reportRatio("exit", "zentor", median(zentor.exitMs),
                       "minimal with the same save (data file and options)",
                       median(savedExitMs), 1.2);
    reportYardstick("  exit", "zentor", median(zentor.exitMs), "minimal saving nothing",
                    median(minimal.exitMs));
    met &= reportRatio("start-up 400 x 99", "zentor with 400 x 99", median(big.startMs),
                       "with the default menus", median(zentor.startMs), 1.2);
    met &= reportRatio("start-up with icons, default menus", "icons on", median(zentor.startMs),
                       "icons off", median(plain.startMs), 1.05);
    met &= reportRatio("start-up with icons, 400 x 99", "icons on", median(big.startMs),
                       "icons off", median(bigPlain.startMs), 1.05);
    return met ? 0 : 1;
}
