#include "driver.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <set>

std::string programPath(const std::string& variant)
{
    // ctest passes both programs as arguments, in the host's spelling.
    const std::string wanted = variant + ".exe";
    for (int i = 1; i < __argc; i++) {
        std::string path = __argv[i];
        size_t slash = path.find_last_of("/\\");
        if (path.substr(slash == std::string::npos ? 0 : slash + 1) != wanted)
            continue;
        if (path[0] == '/')
            path = "Z:" + path;
        for (char& c : path)
            if (c == '/')
                c = '\\';
        return path;
    }
    return wanted;
}

bool waitFor(const std::function<bool()>& pred, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start >= ms)
            return pred();
        Sleep(10);
    }
    return true;
}

// ---- windows of another process ----

struct WindowSearch {
    DWORD pid;
    const char* cls;
    std::vector<HWND> found;
};

static BOOL CALLBACK collectWindow(HWND window, LPARAM param)
{
    WindowSearch* search = (WindowSearch*)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid == search->pid && IsWindowVisible(window) && (!search->cls || !strcmp(cls, search->cls)))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> windowsOf(const Running& program, const char* cls)
{
    WindowSearch search{program.info.dwProcessId, cls, {}};
    EnumWindows(collectWindow, (LPARAM)&search);
    return search.found;
}

HWND findWindowOf(const Running& program, const char* cls)
{
    std::vector<HWND> found = windowsOf(program, cls);
    return found.empty() ? nullptr : found[0];
}

HWND waitForDialog(const Running& program, const char* caption, DWORD ms)
{
    HWND found = nullptr;
    waitFor([&] {
        for (HWND window : windowsOf(program, "#32770"))
            if (windowText(window) == caption)
                found = window;
        return found != nullptr;
    }, ms);
    return found;
}

// Text of a window of another process; the wide call, since Wine hands
// another process's text over as UTF-16.
std::string windowText(HWND window)
{
    wchar_t wide[512] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 512, (LPARAM)wide, SMTO_ABORTIFHUNG, 2000, nullptr);
    char text[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

static BOOL CALLBACK findIconControl(HWND child, LPARAM param)
{
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *(HWND*)param = child;
        return FALSE;
    }
    return TRUE;
}

// Pixels of a screen rectangle as 32-bit values.
static std::vector<uint32_t> pixelsOf(HDC source, int x, int y, int w, int h)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels((uint32_t*)bits, (uint32_t*)bits + w * h);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

// The other process's icon handle means nothing here, so the icon is told by
// its looks: the control's pixels on screen against each standard icon drawn
// the same way on the same background.
static UINT iconShown(HWND control)
{
    RECT rc;
    GetWindowRect(control, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0)
        return 0;
    const struct { LPCSTR id; UINT type; } icons[] = {
        {IDI_ASTERISK, MB_ICONINFORMATION}, {IDI_EXCLAMATION, MB_ICONWARNING},
        {IDI_HAND, MB_ICONERROR}, {IDI_QUESTION, MB_ICONQUESTION}};
    UINT shown = 0;
    waitFor([&] {
        HDC screen = GetDC(nullptr);
        std::vector<uint32_t> seen = pixelsOf(screen, rc.left, rc.top, w, h);
        for (const auto& icon : icons) {
            HDC memory = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
            HGDIOBJ old = SelectObject(memory, bitmap);
            HBRUSH background = CreateSolidBrush(seen[0]);
            RECT all{0, 0, w, h};
            FillRect(memory, &all, background);
            DeleteObject(background);
            DrawIconEx(memory, 0, 0, LoadIconA(nullptr, icon.id), w, h, 0, nullptr, DI_NORMAL);
            bool same = pixelsOf(memory, 0, 0, w, h) == seen;
            SelectObject(memory, old);
            DeleteObject(bitmap);
            DeleteDC(memory);
            if (same)
                shown = icon.type;
        }
        ReleaseDC(nullptr, screen);
        return shown != 0;
    }, 3000);
    return shown;
}

static Box readBox(HWND window)
{
    Box box;
    box.window = window;
    box.caption = windowText(window);
    HWND text = GetDlgItem(window, 0xFFFF);
    if (text)
        box.text = windowText(text);
    HWND icon = nullptr;
    EnumChildWindows(window, findIconControl, (LPARAM)&icon);
    if (icon)
        box.icon = iconShown(icon);
    return box;
}

// ---- files and registry ----

std::vector<unsigned char> readBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    int c;
    while ((c = fgetc(f)) != EOF)
        bytes.push_back((unsigned char)c);
    fclose(f);
    return bytes;
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string byteDifference(const std::vector<unsigned char>& wanted,
                           const std::vector<unsigned char>& got)
{
    size_t i = 0;
    while (i < wanted.size() && i < got.size() && wanted[i] == got[i])
        i++;
    if (i == wanted.size() && i == got.size())
        return "";
    char text[160];
    snprintf(text, sizeof text, "%u bytes wanted, %u got; first difference at offset %u: %d vs %d",
             (unsigned)wanted.size(), (unsigned)got.size(), (unsigned)i,
             i < wanted.size() ? wanted[i] : -1, i < got.size() ? got[i] : -1);
    return text;
}

static std::string keyName(const char* key)
{
    return std::string("Software\\Zentor\\") + key;
}

void deleteOptions(const char* key)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, keyName(key).c_str());
}

bool readOptions(const char* key, std::vector<unsigned char>* value, DWORD* type)
{
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName(key).c_str(), 0, KEY_READ, &opened))
        return false;
    unsigned char data[512];
    DWORD size = sizeof data;
    LONG result = RegQueryValueExA(opened, "User_Vars", nullptr, type, data, &size);
    RegCloseKey(opened);
    if (result)
        return false;
    value->assign(data, data + size);
    return true;
}

void writeOptions(const char* key, const std::vector<unsigned char>& value)
{
    HKEY opened;
    ASSERT_EQ(0, RegCreateKeyExA(HKEY_CURRENT_USER, keyName(key).c_str(), 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &opened, nullptr));
    RegSetValueExA(opened, "User_Vars", 0, REG_BINARY, value.data(), (DWORD)value.size());
    RegCloseKey(opened);
}

static void putInt(std::vector<unsigned char>& bytes, size_t at, int32_t value)
{
    for (int b = 0; b < 4; b++)
        bytes[at + b] = (unsigned char)((uint32_t)value >> (8 * b));
}

static void putText(std::vector<unsigned char>& bytes, size_t at, const std::string& text)
{
    memcpy(&bytes[at], text.c_str(), text.size() + 1);
}

std::vector<unsigned char> defaultOptions()
{
    // alwaysOnTop, chimeHourly, displayDate, displayMemory, bottom, autoHide;
    // the reserved word and the WAV file stay zero.
    std::vector<unsigned char> block(108, 0);
    const int flags[] = {1, 0, 0, 1, 0, 1};
    for (int i = 0; i < 6; i++)
        putInt(block, 4 * i, flags[i]);
    return block;
}

std::vector<unsigned char> dataFileOf(const std::vector<FileMenu>& menus)
{
    // Version word, then per menu a 48-byte record (name at 0, count at 32)
    // and its 296-byte item records (path at 0, name at 250).
    std::vector<unsigned char> bytes(4, 0);
    putInt(bytes, 0, 102);
    for (const FileMenu& menu : menus) {
        size_t at = bytes.size();
        bytes.resize(at + 48 + 296 * menu.items.size(), 0);
        putText(bytes, at, menu.name);
        putInt(bytes, at + 32, (int32_t)menu.items.size());
        at += 48;
        for (const auto& item : menu.items) {
            putText(bytes, at, item.second);
            putText(bytes, at + 250, item.first);
            at += 296;
        }
    }
    return bytes;
}

std::vector<unsigned char> defaultDataFile()
{
    char windows[80];
    GetWindowsDirectoryA(windows, sizeof windows);
    return dataFileOf({{"&Apps", {{"Visual &C++ v4.0", "c:\\vc40\\bin\\msdev.exe"},
                                  {"&Word v7.0", "c:\\winword\\winword.exe"}}},
                       {"&Games", {{"&Minesweeper", std::string(windows) + "\\winmine.exe"},
                                   {"&Solitaire", std::string(windows) + "\\sol.exe"}}}});
}

// ---- the fixture ----

static std::string testDirectory()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name)
        if (c == '/')
            c = '-';
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "zentor-e2e";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\" + name;
}

static void emptyDirectory(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((dir + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Ends a program that still runs: by WM_CLOSE to its bar when it has one,
// as the user would, so that it takes its bar off the shell; killed only
// when that does not end it.
static void endProgram(HANDLE process, HWND bar)
{
    if (WaitForSingleObject(process, 0) != WAIT_TIMEOUT)
        return;
    if (bar)
        PostMessageA(bar, WM_CLOSE, 0, 0);
    if (!bar || WaitForSingleObject(process, 5000) == WAIT_TIMEOUT) {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
    }
}

void E2eTest::SetUp()
{
    // A bar left running by an earlier test would make every later one
    // fail; it is ended, and reported by the test that finds it.
    HWND stray;
    while ((stray = FindWindowA("ZTClass", "Zentor")) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(stray, &pid);
        ADD_FAILURE() << "a bar left running elsewhere (process " << pid << ") was ended";
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        ASSERT_NE(nullptr, process) << "cannot end it";
        endProgram(process, stray);
        CloseHandle(process);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(stray); }, 5000)) << "it did not end";
    }
    dir = testDirectory();
    CreateDirectoryA(dir.c_str(), nullptr);
    emptyDirectory(dir);
    deleteOptions("default");
}

void E2eTest::TearDown()
{
    for (Running* program : started) {
        endProgram(program->info.hProcess, findWindowOf(*program, "ZTClass"));
        CloseHandle(program->info.hThread);
        CloseHandle(program->info.hProcess);
        delete program;
    }
    started.clear();
}

Running& E2eTest::start(const std::string& variant, const std::string& args)
{
    Running* program = new Running;
    started.push_back(program);
    std::string exe = programPath(variant);
    std::string command = "\"" + exe + "\" " + args;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    BOOL ok = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             dir.c_str(), &startup, &program->info);
    EXPECT_TRUE(ok) << "cannot start " << command << ", error " << GetLastError();
    if (!ok)
        program->ended = true;
    return *program;
}

bool E2eTest::driveUntil(Running& program, const std::function<bool()>& stop, DWORD ms)
{
    std::set<HWND> answered(dialogs.begin(), dialogs.end());
    for (const Box& box : boxes)
        answered.insert(box.window);
    return waitFor([&] {
        for (HWND window : windowsOf(program, "#32770")) {
            if (answered.count(window))
                continue;
            boxes.push_back(readBox(window));
            answered.insert(window);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
        if (stop())
            return true;
        if (!program.ended && WaitForSingleObject(program.info.hProcess, 0) == WAIT_OBJECT_0) {
            program.ended = true;
            GetExitCodeProcess(program.info.hProcess, &program.exitCode);
        }
        return program.ended;
    }, ms) && stop();
}

HWND E2eTest::waitForBar(Running& program)
{
    HWND bar = nullptr;
    driveUntil(program, [&] { return (bar = findWindowOf(program, "ZTClass")) != nullptr; });
    return bar;
}

bool E2eTest::waitForEnd(Running& program, DWORD ms)
{
    return driveUntil(program, [&] { return program.ended; }, ms);
}
