// A day at the bar in minutes. The program itself (its start-up, message
// loop and shutdown, with the real message boxes, shell and file calls) runs
// on the main thread of this process, while a second thread gives it a day's
// work as the clock and a user would: 8,640 status refreshes (one every 10
// s), 1,000 hide-and-show slides, 1,000 editor sessions that change a menu
// and press OK, 200 openings each of the Options dialog and the About box,
// 1,000 launches of a small program from the bar's menu by keyboard, and
// 1,000 openings of a folder entry's menu and of its subfolder's (every
// tenth choosing the small program there), spread evenly over the day. USER objects, GDI objects and private bytes of
// the process after the first 10% of the day and at its end must not grow
// beyond a small allowance.
// Argument: the share of the day to run, in percent (default 100).
#include <windows.h>
#include <tlhelp32.h>

#include <functional>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "app/app.h"
#include "bar/bar_window.h"
#include "bench_util.h"
#include "big_menus.h"
#include "menus/menu_file.h"
#include "menus/menu_icons.h"
#include "object_counts.h"
#include "options/options.h"
#include "options/settings.h"
#include "resource.h"

namespace {

constexpr const char* PROFILE = "daysoak";
constexpr const char* DATA_FILE = "daysoak.zt";
constexpr const char* PROBE = "soak_probe.exe";
constexpr const char* SOAK_MENU = "&Soak";
constexpr DWORD DEADLINE_MS = 15000;

constexpr long USER_ALLOWANCE = 2;              // objects
constexpr long GDI_ALLOWANCE = 2;               // objects
constexpr SIZE_T MEMORY_ALLOWANCE = 512 * 1024; // bytes

enum Kind { REFRESH, SLIDE, EDITOR, OPTIONS, ABOUT, LAUNCH, FOLDER, KINDS };
const char* const KIND_NAMES[KINDS] = {"status refreshes", "slides", "editor sessions",
                                       "Options dialogs", "About boxes", "launches",
                                       "folder menus"};
const int FULL_DAY[KINDS] = {8640, 1000, 1000, 200, 200, 1000, 1000};
// The folder entry's folder: files, and a subfolder with the probe in it.
constexpr const char* SOAK_FOLDER = "soak folder";
constexpr int SOAK_FOLDER_FILES = 200;

struct Snapshot {
    UserObjects user;
    GdiObjects gdi;
    SIZE_T memory;
};

// Set up by main, then used by the driving thread alone.
int planned[KINDS];
DWORD programThread;
std::string probeOut;
HWND bar;
// Filled by the driving thread for main's report.
double spentMs[KINDS];
Snapshot early, late;
double dayMs;

// ---- the driving thread's view of the program ----

bool waitUntil(const std::function<bool()>& pred, DWORD ms = DEADLINE_MS)
{
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start >= ms)
            return pred();
        Sleep(1);
    }
    return true;
}

std::string textOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct WindowSearch {
    const char* windowClass;
    std::string caption; // empty: every window of the class
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param)
{
    WindowSearch* search = (WindowSearch*)param;
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (!strcmp(cls, search->windowClass) && IsWindowVisible(window) &&
        (search->caption.empty() || textOf(window) == search->caption))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> programWindows(const char* windowClass, const char* caption)
{
    WindowSearch search{windowClass, caption, {}};
    EnumThreadWindows(programThread, collectWindow, (LPARAM)&search);
    return search.found;
}

std::vector<HWND> programDialogs(const char* caption)
{
    return programWindows("#32770", caption);
}

// A menu of the bar open on the screen.
bool menuOpen()
{
    return !programWindows("#32768", "").empty();
}

// Menus open at once: the bar's, a folder's, a subfolder's.
size_t menusOpen()
{
    return programWindows("#32768", "").size();
}

// Ends the run, naming what went wrong and every box or dialog that is open.
[[noreturn]] void giveUp(const char* what)
{
    printf("day soak: %s\n", what);
    for (HWND dialog : programDialogs(""))
        printf("  open: \"%s\" %s\n", textOf(dialog).c_str(),
               textOf(GetDlgItem(dialog, 0xFFFF)).c_str());
    fflush(stdout);
    ExitProcess(2);
}

HWND waitDialog(const char* caption)
{
    HWND found = nullptr;
    if (!waitUntil([&] {
            std::vector<HWND> dialogs = programDialogs(caption);
            found = dialogs.empty() ? nullptr : dialogs[0];
            return found != nullptr;
        }))
        giveUp((std::string("no dialog \"") + caption + "\"").c_str());
    return found;
}

void waitGone(HWND window, const char* what)
{
    if (!waitUntil([&] { return !IsWindow(window); }))
        giveUp((std::string(what) + " stays open").c_str());
}

// A button whose command opens a window: posted, as the click would not
// return before that window closes.
void press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

HWND openFromBar(UINT command, const char* caption)
{
    PostMessageA(bar, WM_COMMAND, command, 0);
    return waitDialog(caption);
}

int lineCount(HWND dialog, int list)
{
    return (int)SendDlgItemMessageA(dialog, list, LB_GETCOUNT, 0, 0);
}

void waitLines(HWND dialog, int list, int count)
{
    if (!waitUntil([&] { return lineCount(dialog, list) == count; }))
        giveUp("the editor's list did not change");
}

void chooseLine(HWND dialog, int list, int line)
{
    SendDlgItemMessageA(dialog, list, LB_SETCURSEL, (WPARAM)line, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE),
                 (LPARAM)GetDlgItem(dialog, list));
}

// Opens a setup dialog by its button, fills in its edits and presses OK.
void setUp(HWND editor, int button, const char* caption,
           const std::vector<std::pair<int, const char*>>& texts)
{
    press(editor, button);
    HWND setup = waitDialog(caption);
    for (const auto& t : texts)
        SetDlgItemTextA(setup, t.first, t.second);
    press(setup, IDOK);
    waitGone(setup, caption);
}

void touchBar()
{
    SendMessageA(bar, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(40, 4));
}

int topOfBar()
{
    RECT rc{};
    GetWindowRect(bar, &rc);
    return rc.top;
}

// ---- the day's work ----

// The clock timer's tick on a bar in view, so each refresh paints.
void refreshStatus()
{
    touchBar();
    SendMessageA(bar, WM_TIMER, CLOCK_TIMER, 0);
}

// Another window takes the activation, then the pointer comes back.
void slide()
{
    SendMessageA(bar, WM_ACTIVATE, WA_INACTIVE, 0);
    int hidden = topOfBar();
    touchBar();
    if (topOfBar() == hidden)
        giveUp("the bar did not come back");
}

// Even sessions add a menu with one entry at the end, odd ones delete it
// again: each changes the menus and saves them at OK.
void editMenus(int session)
{
    HWND editor = openFromBar(CMD_EDIT_MENUS, "User Menus");
    int menus = lineCount(editor, IDC_MENU_LIST);
    if (session % 2 == 0) {
        setUp(editor, IDC_NEW_MENU, "Menu Setup", {{IDC_MENU_NAME, SOAK_MENU}});
        waitLines(editor, IDC_MENU_LIST, menus + 1);
        chooseLine(editor, IDC_MENU_LIST, menus);
        setUp(editor, IDC_NEW_APP, "Application Setup",
              {{IDC_APP_NAME, "Soak &item"}, {IDC_APP_PATH, "soak.exe"}});
        waitLines(editor, IDC_APP_LIST, 1);
    } else {
        char last[MENU_NAME_SIZE] = "";
        chooseLine(editor, IDC_MENU_LIST, menus - 1);
        SendDlgItemMessageA(editor, IDC_MENU_LIST, LB_GETTEXT, (WPARAM)(menus - 1), (LPARAM)last);
        if (strcmp(last, SOAK_MENU))
            giveUp("the last menu is not the one the last session added");
        press(editor, IDC_DELETE_MENU);
        PostMessageA(waitDialog("Confirm Deletion"), WM_COMMAND, IDYES, 0);
        waitLines(editor, IDC_MENU_LIST, menus - 1);
    }
    press(editor, IDOK);
    waitGone(editor, "the editor");
}

void flipCheck(HWND dialog, int id)
{
    LRESULT checked = SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0);
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
}

// Display Date on and off; every tenth time the bar also goes to the other
// edge, which makes it anew.
void changeOptions(int session)
{
    HWND dialog = openFromBar(CMD_OPTIONS, "Zentor Options");
    int otherEdge = session % 10 == 9;
    flipCheck(dialog, IDC_DISPLAY_DATE);
    if (otherEdge)
        flipCheck(dialog, IDC_BOTTOM);
    HWND old = bar;
    press(dialog, IDOK);
    waitGone(dialog, "the Options dialog");
    if (otherEdge && !waitUntil([&] {
            bar = FindWindowA(BAR_CLASS, BAR_TITLE);
            return !IsWindow(old) && bar && IsWindowVisible(bar);
        }))
        giveUp("the bar was not made anew at the other edge");
}

void showAbout()
{
    HWND about = openFromBar(CMD_INFO, "About Zentor");
    press(about, IDOK);
    waitGone(about, "the About box");
}

// Waits for every copy of the probe to end, so none pile up.
bool probesEnded()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    bool ended = true;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, PROBE))
            continue;
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (process) {
            ended &= WaitForSingleObject(process, DEADLINE_MS) == WAIT_OBJECT_0;
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
    return ended;
}

// The item chosen from the bar's menu with the keys a user presses: Alt+P
// opens "&Probe", the arrow keys go to the next menu and back, and R chooses
// "&Run probe". Each popup is filled the first time it opens after the menus
// were made anew, which the editor sessions do all day. The probe reports
// and ends.
void launchProbe()
{
    DeleteFileA(probeOut.c_str());
    PostMessageA(bar, WM_SYSCOMMAND, SC_KEYMENU, 'p');
    if (!waitUntil(menuOpen))
        giveUp("the bar's menu did not open");
    PostMessageA(bar, WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageA(bar, WM_KEYDOWN, VK_LEFT, 0);
    PostMessageA(bar, WM_CHAR, 'r', 0);
    if (!waitUntil([] { return GetFileAttributesA(probeOut.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        giveUp("the probe did not start");
    if (!waitUntil([] { return !menuOpen(); }))
        giveUp("the bar's menu stays open");
    if (!probesEnded())
        giveUp("a probe did not end");
}

// The folder entry's menu opened with the keys a user presses: Alt+P opens
// "&Probe", F opens "&Folder" on its "Open Folder", Down goes to "Sub" (folders
// come first) and Right opens it. Every tenth time Down and Enter choose the
// probe there; else the menus are left. Each opening lists its folder anew.
void openFolderMenus(int index)
{
    PostMessageA(bar, WM_SYSCOMMAND, SC_KEYMENU, 'p');
    if (!waitUntil(menuOpen))
        giveUp("the bar's menu did not open");
    PostMessageA(bar, WM_CHAR, 'f', 0);
    if (!waitUntil([] { return menusOpen() == 2; }))
        giveUp("the folder's menu did not open");
    PostMessageA(bar, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(bar, WM_KEYDOWN, VK_RIGHT, 0);
    if (!waitUntil([] { return menusOpen() == 3; }))
        giveUp("the subfolder's menu did not open");
    if (index % 10 == 9) {
        DeleteFileA(probeOut.c_str());
        PostMessageA(bar, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(bar, WM_KEYDOWN, VK_RETURN, 0);
        if (!waitUntil([] { return GetFileAttributesA(probeOut.c_str()) != INVALID_FILE_ATTRIBUTES; }))
            giveUp("the probe did not start from the folder's menu");
    } else {
        PostMessageA(bar, WM_CANCELMODE, 0, 0);
    }
    if (!waitUntil([] { return !menuOpen(); }))
        giveUp("the folder's menus stay open");
    if (!probesEnded())
        giveUp("a probe did not end");
}

constexpr int DC_CACHE_SIZE = 64;

void doOne(Kind kind, int index)
{
    switch (kind) {
    case REFRESH: refreshStatus(); break;
    case SLIDE: slide(); break;
    case EDITOR: editMenus(index); break;
    case OPTIONS: changeOptions(index); break;
    case ABOUT: showAbout(); break;
    case LAUNCH: launchProbe(); break;
    case FOLDER: openFolderMenus(index); break;
    default: break;
    }
}

// Objects the system makes once and keeps, which a count would take for
// growth when the day first needs them after the first count:
// - released window DCs (each with its region), kept for reuse up to a fixed
//   number (64 under Wine) and made anew only when that many are in use at
//   once; the dialogs of a day take them up slowly;
// - the pens and brushes of the system colours, made at the first edge or
//   control drawn in them, whenever the day's timing first paints one.
// Making them all before the day leaves in the counts only what the program
// itself holds.
void fillSystemCaches()
{
    HDC held[DC_CACHE_SIZE];
    for (HDC& dc : held)
        dc = GetDC(nullptr);
    HDC screen = held[0];
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int color = 0; color <= COLOR_MENUBAR; color++)
        GetSysColorBrush(color);
    for (UINT edge : {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP}) {
        RECT rc = {0, 0, 32, 32};
        DrawEdge(memory, &rc, edge, BF_RECT | BF_MIDDLE);
    }
    for (UINT state : {DFCS_BUTTONPUSH, DFCS_BUTTONPUSH | DFCS_PUSHED, DFCS_BUTTONCHECK,
                       DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONRADIO,
                       DFCS_BUTTONRADIO | DFCS_CHECKED}) {
        RECT rc = {0, 0, 16, 16};
        DrawFrameControl(memory, &rc, DFC_BUTTON, state);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    for (HDC dc : held)
        if (dc)
            ReleaseDC(nullptr, dc);
}

// Counted while the program waits for its next message.
Snapshot snapshot()
{
    SendMessageA(bar, WM_NULL, 0, 0);
    return Snapshot{countUserObjects(), countGdiObjects(), privateBytes()};
}

DWORD WINAPI driveTheDay(void*)
{
    if (!waitUntil([] {
            bar = FindWindowA(BAR_CLASS, BAR_TITLE);
            return bar && IsWindowVisible(bar);
        }))
        giveUp("the bar did not show");
    // The icon worker makes and frees icons while it looks up: the count is
    // checked once the first icons are in.
    if (!waitUntil([] { return menuIconsRunning() && menuIconLookupsOut() == 0; }))
        giveUp("the menus' icons did not load");
    if (!probesWork("day soak"))
        ExitProcess(2);
    fillSystemCaches();

    // Every kind spread evenly over the refreshes, the day's clock.
    const int ticks = planned[REFRESH];
    int done[KINDS] = {};
    double start = nowMs();
    for (int tick = 0; tick < ticks; tick++) {
        for (int k = 0; k < KINDS; k++) {
            int due = (int)((long long)(tick + 1) * planned[k] / ticks);
            while (done[k] < due) {
                double t0 = nowMs();
                doOne((Kind)k, done[k]++);
                spentMs[k] += nowMs() - t0;
            }
        }
        if (tick + 1 == ticks / 10)
            early = snapshot();
    }
    late = snapshot();
    dayMs = nowMs() - start;
    PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
    return 0;
}

// ---- set-up and report ----

// The probe, copied into the bench folder so its path fits an item's 79
// characters; returns its path there, empty when it cannot be placed.
std::string placeProbe()
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string source = self;
    source = source.substr(0, source.rfind('\\') + 1) + PROBE;
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string target = std::string(folder) + "\\" + PROBE;
    probeOut = std::string(folder) + "\\probe-out.txt";
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", probeOut.c_str());
    if (target.size() >= APP_PATH_SIZE || !CopyFileA(source.c_str(), target.c_str(), FALSE))
        return "";
    return target;
}

std::vector<unsigned char> fileBytes(const char* path)
{
    std::vector<unsigned char> bytes;
    FILE* file = fopen(path, "rb");
    if (!file)
        return bytes;
    int c;
    while ((c = fgetc(file)) != EOF)
        bytes.push_back((unsigned char)c);
    fclose(file);
    return bytes;
}

// The folder of the probe's menu's folder entry; its path, empty when it
// cannot be made.
std::string prepareFolder(const std::string& probe)
{
    char here[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof here, here);
    std::string folder = std::string(here) + "\\" + SOAK_FOLDER;
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\Sub").c_str(), nullptr);
    for (int i = 0; i < SOAK_FOLDER_FILES; i++) {
        FILE* file = fopen((folder + "\\Item " + std::to_string(i) + ".txt").c_str(), "wb");
        if (!file)
            return "";
        fclose(file);
    }
    if (folder.size() >= APP_PATH_SIZE ||
        !CopyFileA(probe.c_str(), (folder + "\\Sub\\" + PROBE).c_str(), FALSE))
        return "";
    return folder;
}

// The profile's options (memory and date shown, auto-hide on, as a user
// keeps them, and the later settings at their defaults: icons and folder
// menus on) and its data file: the probe's menu first, with the probe and a
// folder entry, then 19 menus of 15 items. Written by the program's own
// savers.
std::vector<unsigned char> prepareProfile(const std::string& probe, const std::string& folder)
{
    copyField(profileName, PROFILE);
    setDefaultSettings(); // icons and folder menus on, as a user has them
    userOptions = UserOptions{};
    userOptions.alwaysOnTop = 1;
    userOptions.displayDate = 1;
    userOptions.displayMemory = 1;
    userOptions.autoHide = 1;
    saveOptions();

    copyField(dataFilePath, DATA_FILE);
    MenuNode* menu = newMenuNode();
    copyField(menu->name, "&Probe");
    appendMenu(menu);
    AppNode* item = newAppNode();
    copyField(item->name, "&Run probe");
    copyField(item->path, probe.c_str());
    appendApp(menu, item);
    AppNode* folderEntry = newAppNode();
    copyField(folderEntry->name, "&Folder");
    copyField(folderEntry->path, folder.c_str());
    appendApp(menu, folderEntry);
    buildBigMenus(19, 15);
    saveMenuFile();
    freeAllMenus();
    return fileBytes(DATA_FILE);
}

std::vector<unsigned char> storedOptions()
{
    std::vector<unsigned char> block(OPTIONS_SIZE + 16);
    HKEY key;
    DWORD size = (DWORD)block.size();
    if (RegOpenKeyExA(HKEY_CURRENT_USER, optionsKeyName, 0, KEY_READ, &key))
        return {};
    if (RegQueryValueExA(key, "User_Vars", nullptr, nullptr, block.data(), &size))
        size = 0;
    RegCloseKey(key);
    block.resize(size);
    return block;
}

std::string gdiByType(const GdiObjects& g)
{
    char text[200];
    snprintf(text, sizeof text, "dc %ld, memdc %ld, font %ld, bitmap %ld, brush %ld, pen %ld, region %ld",
             g.byType[OBJ_DC], g.byType[OBJ_MEMDC], g.byType[OBJ_FONT], g.byType[OBJ_BITMAP],
             g.byType[OBJ_BRUSH], g.byType[OBJ_PEN], g.byType[OBJ_REGION]);
    return text;
}

int reportGrowth(const char* what, long early, long late, long allowance, const std::string& detail)
{
    int met = late - early <= allowance;
    printf("%s: after 10%% %ld, at the end %ld, growth %ld (allowance %ld)%s\n%s", what, early,
           late, late - early, allowance, met ? "" : "  MISSED", detail.c_str());
    return met;
}

}  // namespace

int main(int argc, char** argv)
{
    int percent = argc > 1 ? atoi(argv[1]) : 100;
    if (percent < 10 || percent > 100)
        percent = 100;
    for (int k = 0; k < KINDS; k++)
        planned[k] = FULL_DAY[k] * percent / 100;

    enterBenchFolder("zentor-bench-day");
    std::string probe = placeProbe();
    if (probe.empty()) {
        printf("day soak: cannot place %s in the bench folder\n", PROBE);
        return 2;
    }
    std::string folder = prepareFolder(probe);
    if (folder.empty()) {
        printf("day soak: cannot make the folder of the folder menus\n");
        return 2;
    }
    const std::vector<unsigned char> dataBefore = prepareProfile(probe, folder);
    UserOptions optionsAfter = userOptions;
    // Display Date flips at every Options dialog, the edge at every tenth.
    optionsAfter.displayDate ^= planned[OPTIONS] % 2;
    optionsAfter.bottom ^= planned[OPTIONS] / 10 % 2;

    // The program reads its own command line: the profile alone.
    static char* programArguments[] = {argv[0], (char*)PROFILE, nullptr};
    __argc = 2;
    __argv = programArguments;
    programThread = GetCurrentThreadId();
    HANDLE driver = CreateThread(nullptr, 0, driveTheDay, nullptr, 0, nullptr);
    int exitCode = runZentor(GetModuleHandleA(nullptr));
    WaitForSingleObject(driver, INFINITE);

    printf("day soak: %d%% of a day in %.1f s:", percent, dayMs / 1000);
    for (int k = 0; k < KINDS; k++)
        printf("%s %d %s %.1f ms each", k ? "," : "", planned[k], KIND_NAMES[k],
               planned[k] ? spentMs[k] / planned[k] : 0.0);
    int dragFull = 1;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &dragFull, 0);
    printf("\n%s\n", dragFull ? "day soak: slides animate (dragging with window contents is on)"
                              : "day soak: SPI_GETDRAGFULLWINDOWS is 0 here (as under Wine), so "
                                "hides and shows are single moves, not 200-300 ms slides");

    char detail[300];
    snprintf(detail, sizeof detail,
             "  windows %ld -> %ld, menus %ld -> %ld, icons %ld -> %ld\n", early.user.windows,
             late.user.windows, early.user.menus, late.user.menus, early.user.icons,
             late.user.icons);
    int met = reportGrowth("user objects", early.user.total(), late.user.total(), USER_ALLOWANCE,
                           detail);
    met &= reportGrowth("gdi objects", early.gdi.total(), late.gdi.total(), GDI_ALLOWANCE,
                        "  after 10%: " + gdiByType(early.gdi) + "\n  at the end: " +
                            gdiByType(late.gdi) + "\n");
    long memoryGrowth = (long)late.memory - (long)early.memory;
    int memoryMet = early.memory > 0 && memoryGrowth <= (long)MEMORY_ALLOWANCE;
    printf("private bytes: after 10%% %lu KiB, at the end %lu KiB, growth %ld KiB "
           "(allowance %lu KiB)%s\n",
           (unsigned long)(early.memory / 1024), (unsigned long)(late.memory / 1024),
           memoryGrowth / 1024, (unsigned long)(MEMORY_ALLOWANCE / 1024),
           memoryMet ? "" : "  MISSED");
    met &= memoryMet;

    // Nothing lost: an even number of editor sessions ends on the menus of
    // the morning, and the options are saved as the day left them.
    uint8_t wanted[OPTIONS_SIZE];
    packOptions(&optionsAfter, wanted);
    std::vector<unsigned char> dataAfter = fileBytes(DATA_FILE);
    int dataKept = planned[EDITOR] % 2 || dataAfter == dataBefore;
    int optionsKept = storedOptions() == std::vector<unsigned char>(wanted, wanted + OPTIONS_SIZE);
    if (exitCode != 0 || !dataKept || !optionsKept || !probesEnded()) {
        printf("day soak: the evening is wrong: exit code %d, data file %s (%u bytes, %u in the "
               "morning), options %s\n",
               exitCode, dataKept ? "as it was" : "changed", (unsigned)dataAfter.size(),
               (unsigned)dataBefore.size(), optionsKept ? "as the day left them" : "not saved");
        met = 0;
    }
    return met ? 0 : 1;
}
