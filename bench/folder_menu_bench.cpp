// Opening a folder entry's menu on a folder of 10,000 files (500 shown),
// from the key press to the menu drawn, against listing the same folder with
// FindFirstFileW/FindNextFileW alone (goal 2 x, and under 100 ms). The two
// take turns at coming first; medians over the rounds.
//
// The bar runs on the main thread as it does in the program, icons on; a
// second thread presses the keys as a user would: Alt+F opens the bar's
// "&Folders" menu, then B opens "&Big", the folder's menu. The menu counts as
// drawn when its window has handled its first WM_PAINT. The program's own
// steps are timed too: the filling (WM_INITMENUPOPUP) and what follows it.
//
// Usage: folder_menu_bench [rounds]
#include <windows.h>

#include <stdio.h>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "bar/bar_window.h"
#include "bench_util.h"
#include "menus/menu_bar.h"
#include "menus/menu_icons.h"
#include "options/settings.h"
#include "resource.h"
#include "test_support.h"

namespace {

constexpr int FILES = 10000;
constexpr double GOAL_RATIO = 2.0;
constexpr double GOAL_MS = 100;
constexpr DWORD DEADLINE_MS = 15000;

std::wstring folder;
DWORD barThread;
HHOOK before, after;

// Set by the hooks on the bar's thread, read by the driver.
volatile double fillStart, fillEnd, drawn;

HMENU folderMenu()
{
    return GetSubMenu(GetSubMenu(menuBar, 0), 0);
}

bool isFolderMenuWindow(HWND window)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return !strcmp(name, "#32768") && (HMENU)SendMessageA(window, MN_GETHMENU, 0, 0) == folderMenu();
}

LRESULT CALLBACK beforeSent(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* m = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && m->message == WM_INITMENUPOPUP && (HMENU)m->wParam == folderMenu())
        fillStart = nowMs();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK afterSent(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* m = (const CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && m->message == WM_INITMENUPOPUP && (HMENU)m->wParam == folderMenu())
        fillEnd = nowMs();
    if (code == HC_ACTION && m->message == WM_PAINT && !drawn && isFolderMenuWindow(m->hwnd))
        drawn = nowMs();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool waitUntil(bool (*pred)())
{
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start >= DEADLINE_MS)
            return false;
        Sleep(1);
    }
    return true;
}

int openMenus()
{
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == barThread)
            count++;
    return count;
}

bool barMenuOpen() { return openMenus() == 1; }
bool menusClosed() { return openMenus() == 0; }
bool folderDrawn() { return drawn != 0; }

// The floor: the same folder listed with the plain calls, nothing kept.
double listAlone()
{
    double start = nowMs();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    int count = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do
            count++;
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    double spent = nowMs() - start;
    return count >= FILES ? spent : -1;
}

struct Round {
    double total, floor, fill, afterFill;
};

// Opens the folder's menu by its key and closes it again; 0 when it did not
// open in time.
int openFolderMenu(Round* round)
{
    PostMessageA(barWindow, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    if (!waitUntil(barMenuOpen))
        return 0;
    Sleep(50); // the bar's menu settles before the key, as between a user's keys
    fillStart = fillEnd = drawn = 0;
    double pressed = nowMs();
    PostMessageA(barWindow, WM_CHAR, 'b', 0);
    int opened = waitUntil(folderDrawn);
    PostMessageA(barWindow, WM_CANCELMODE, 0, 0);
    if (!opened || !waitUntil(menusClosed))
        return 0;
    round->total = drawn - pressed;
    round->fill = fillEnd - fillStart;
    round->afterFill = drawn - fillEnd;
    return 1;
}

std::vector<Round> rounds;
int roundCount;
int failed = 0;

DWORD WINAPI drive(void*)
{
    for (int r = 0; r <= roundCount && !failed; r++) {
        Round round = {};
        // The first opening fills the bar's popup and warms the caches: not counted.
        for (int turn = 0; turn < 2; turn++) {
            Sleep(100);
            if ((turn + r) % 2 == 0) {
                if (!openFolderMenu(&round))
                    failed = 1;
            } else {
                round.floor = listAlone();
                if (round.floor < 0)
                    failed = 2;
            }
        }
        if (r > 0)
            rounds.push_back(round);
    }
    PostMessageA(barWindow, WM_NULL, 0, 0);
    PostThreadMessageA(barThread, WM_QUIT, 0, 0);
    return 0;
}

// The folder of 10,000 files, made once and kept for later runs.
int makeFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"zentor-bench-folder";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < FILES; i++) {
        // Numbers out of order, as names come.
        std::wstring name = folder + L"\\Document " + std::to_wstring(i * 7919 % FILES) + L".txt";
        if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 0;
        CloseHandle(file);
    }
    return 1;
}

std::vector<double> column(double Round::*field)
{
    std::vector<double> values;
    for (const Round& r : rounds)
        values.push_back(r.*field);
    return values;
}

}  // namespace

int main(int argc, char** argv)
{
    roundCount = roundsArgument(argc, argv, 21);
    enterBenchFolder("zentor-bench-folders");
    if (!makeFolder()) {
        printf("folder menu: cannot make the folder of %d files\n", FILES);
        return 2;
    }
    resetProgramState();
    barSettings.showIcons = 1;
    barSettings.folderMenus = 1;
    MenuNode* menu = newMenuNode();
    copyField(menu->name, "&Folders");
    appendMenu(menu);
    AppNode* entry = newAppNode();
    copyField(entry->name, "&Big");
    WideCharToMultiByte(CP_ACP, 0, folder.c_str(), -1, entry->path, APP_PATH_SIZE, nullptr,
                        nullptr);
    appendApp(menu, entry);
    popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
    if (!registerBarClass() || !createBar()) {
        printf("folder menu: no bar\n");
        return 2;
    }
    barThread = GetCurrentThreadId();
    before = SetWindowsHookExA(WH_CALLWNDPROC, beforeSent, nullptr, barThread);
    after = SetWindowsHookExA(WH_CALLWNDPROCRET, afterSent, nullptr, barThread);
    HANDLE driver = CreateThread(nullptr, 0, drive, nullptr, 0, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    WaitForSingleObject(driver, INFINITE);
    UnhookWindowsHookEx(before);
    UnhookWindowsHookEx(after);
    removeBar();
    resetProgramState();
    if (failed) {
        printf("folder menu: %s\n", failed == 1 ? "the folder's menu did not open and draw"
                                                : "the folder did not list whole");
        return 2;
    }

    double total = median(column(&Round::total));
    printf("folder menu: %d files, %d shown, %d rounds, medians; the filling %.1f ms, from "
           "its end to the menu drawn %.1f ms\n",
           FILES, 500, roundCount, median(column(&Round::fill)),
           median(column(&Round::afterFill)));
    int met = reportRatio("folder menu", "key press to menu drawn", total,
                          "FindFirstFile/FindNextFile alone", median(column(&Round::floor)),
                          GOAL_RATIO);
    int fast = total < GOAL_MS;
    printf("folder menu: key press to menu drawn %.1f ms (goal < %.0f ms)%s\n", total, GOAL_MS,
           fast ? "" : "  MISSED");
    return met && fast ? 0 : 1;
}
