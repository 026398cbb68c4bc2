// The Options dialog and the About box, made from their templates and worked
// from inside their modal loops; the shell's docking calls, the sound and the
// file dialog are recording fakes.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "bar/auto_hide.h"
#include "bar/bar_window.h"
#include "dialogs/about_box.h"
#include "dialogs/file_browse.h"
#include "dialogs/options_dialog.h"
#include "app/start_paths.h"
#include "menus/menu_file.h"
#include "options/options.h"
#include "resource.h"
#include "test_support.h"

#ifndef ZENTOR_NT3
struct DockCall {
    DWORD message;
    APPBARDATA data;
};
extern std::vector<DockCall> dockCalls;
extern UINT_PTR dockAutoHideAnswer;
extern LONG dockQueryTop;
extern LONG dockQueryBottom;
void resetFakeDock();
#endif

static BOOL soundAnswer = TRUE;
static std::string played;

BOOL playWavFile(const char* path)
{
    played = path;
    return soundAnswer;
}

// Set to make the file dialog's stand-in end the program while it "browses",
// as a log-off or the installer closing the bar would; it notes the folder
// it browses in.
static bool exitWhileBrowsing = false;
static std::string browsedIn;

BOOL getOpenFileName(OPENFILENAMEW* request, DWORD* error)
{
    *error = 0;
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    browsedIn = dir;
    if (exitWhileBrowsing) {
        shutdownApp(0);
        return FALSE;
    }
    static const WCHAR chosen[] = L"C:\\sounds\\gong.wav";
    memcpy(request->lpstrFile, chosen, sizeof chosen);
    return TRUE;
}

namespace {

const char* const NO_WAV = "Please enter a WAV filename.";
const char* const REFUSED = "Error autohiding Zentor!\nIs the Start Menu there?";
// The check boxes and options in the order of the cases' flag strings.
const int BOXES[6] = {IDC_ALWAYS_ON_TOP, IDC_CHIME,  IDC_DISPLAY_DATE,
                      IDC_DISPLAY_MEMORY, IDC_BOTTOM, IDC_AUTO_HIDE};
int32_t* const OPTIONS[6] = {&userOptions.alwaysOnTop, &userOptions.chimeHourly,
                             &userOptions.displayDate, &userOptions.displayMemory,
                             &userOptions.bottom,      &userOptions.autoHide};

// The six flags of the dialog's boxes, or of the options when dialog is null.
std::string flagsOf(HWND dialog)
{
    std::string flags;
    for (int i = 0; i < 6; i++)
        flags += (dialog ? IsDlgButtonChecked(dialog, BOXES[i]) : *OPTIONS[i]) ? '1' : '0';
    return flags;
}

// The one box a case expects, or none.
std::vector<std::string> boxesOf(const char* box)
{
    return box ? std::vector<std::string>{box} : std::vector<std::string>{};
}

std::vector<std::string> boxTexts()
{
    std::vector<std::string> texts;
    for (const RecordedBox& box : recordedBoxes)
        texts.push_back(box.text);
    return texts;
}

// Repaints of the bar's frame, which carries the status text.
int framePaints = 0;

LRESULT CALLBACK countFramePaints(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && sent->message == WM_NCPAINT && sent->hwnd == barWindow)
        framePaints++;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

const char* dialogCaption;
std::function<void(HWND)> inDialog;

void CALLBACK actInDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (HWND dialog = FindWindowA("#32770", dialogCaption))
        inDialog(dialog);
}

// Opens a dialog as the bar's command does; act works it from inside its
// modal loop and must close it.
void runDialog(void (*open)(), const char* caption, const std::function<void(HWND)>& act)
{
    bool acted = false;
    dialogCaption = caption;
    inDialog = [&](HWND dialog) {
        acted = true;
        act(dialog);
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 0, actInDialog);
    open();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(acted) << "the dialog never stood";
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override
    {
        removeBar();
        reset();
    }
    static void reset()
    {
        resetProgramState();
#ifndef ZENTOR_NT3
        resetFakeDock();
        // A task bar at each edge: the shell grants strips inside them.
        dockQueryTop = 30;
        dockQueryBottom = GetSystemMetrics(SM_CYSCREEN) - 28;
#endif
    }

    // A running bar with the options given as flags; an auto-hide bar is
    // hidden, as it is once a dialog has taken the activation.
    static void makeBar(const char* flags)
    {
        for (int i = 0; i < 6; i++)
            *OPTIONS[i] = flags[i] - '0';
        copyField(userOptions.wavFile, "old.wav");
        popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
        ASSERT_TRUE(registerBarClass());
        ASSERT_EQ(1, createBar());
        if (userOptions.autoHide)
            setBarHidden(1);
#ifndef ZENTOR_NT3
        dockCalls.clear();
#endif
        clearBoxes();
    }

#ifndef ZENTOR_NT3
    // The docking calls, without the notifications of moves and activation.
    static std::vector<DockCall> dockingCalls()
    {
        std::vector<DockCall> calls;
        for (const DockCall& call : dockCalls)
            if (call.message != ABM_WINDOWPOSCHANGED && call.message != ABM_ACTIVATE)
                calls.push_back(call);
        return calls;
    }
#endif
};

TEST_F(DialogTest, OkAppliesTheOptionsToTheRunningBar)
{
    const int H = GetSystemMetrics(SM_CYMENU) + BAR_EXTRA_HEIGHT;
    const int screen = GetSystemMetrics(SM_CYSCREEN);
    const int KEPT = -9999; // the bar stands where it stood
    struct Case {
        const char* name;
        const char* before;
        const char* dialog; // the boxes as the user leaves them
        const char* wav;    // the WAV edit as the user leaves it
        const char* after;  // the options afterwards; null: as in the dialog
        const char* box;
        int top;
#ifndef ZENTOR_NT3
        std::vector<DWORD> calls; // the old bar's calls end with ABM_REMOVE
#endif
    } cases[] = {
#ifndef ZENTOR_NT3
        {"nothing changed", "100101", "100101", "old.wav", nullptr, nullptr, KEPT, {}},
        {"chime without a WAV file", "100101", "011010", "", "100101", NO_WAV, KEPT, {}},
        {"chime off, WAV emptied, date", "110101", "101001", "", nullptr, nullptr, KEPT, {}},
        {"always on top off", "100101", "000101", "new.wav", nullptr, nullptr, KEPT, {}},
        {"memory off, in view", "100100", "100000", "old.wav", nullptr, nullptr, KEPT, {}},
        {"auto-hide off, on top", "100101", "100100", "old.wav", nullptr, nullptr, 30,
         {ABM_QUERYPOS, ABM_SETPOS, ABM_SETAUTOHIDEBAR}},
        {"auto-hide off, on top, bottom", "100011", "100010", "old.wav", nullptr, nullptr,
         screen - 28 - H, {ABM_QUERYPOS, ABM_SETPOS, ABM_SETAUTOHIDEBAR}},
        {"auto-hide off, not on top", "000101", "000100", "old.wav", nullptr, nullptr, 0,
         {ABM_SETAUTOHIDEBAR}},
        {"auto-hide on", "100100", "100101", "old.wav", nullptr, nullptr, 30,
         {ABM_SETPOS, ABM_SETAUTOHIDEBAR}},
        {"auto-hide refused", "100100", "100101", "old.wav", "100100", REFUSED, 30,
         {ABM_SETPOS, ABM_SETAUTOHIDEBAR, ABM_QUERYPOS, ABM_SETPOS}},
        {"to the bottom", "100101", "100111", "old.wav", nullptr, nullptr, screen - H,
         {ABM_SETAUTOHIDEBAR, ABM_REMOVE, ABM_NEW, ABM_SETAUTOHIDEBAR}},
        {"to the bottom, auto-hide off", "100101", "100110", "old.wav", nullptr, nullptr,
         screen - 28 - H,
         {ABM_SETAUTOHIDEBAR, ABM_SETAUTOHIDEBAR, ABM_REMOVE, ABM_NEW, ABM_QUERYPOS, ABM_SETPOS}},
        {"to the top, auto-hide on", "100010", "100001", "old.wav", nullptr, nullptr, 0,
         {ABM_SETPOS, ABM_SETAUTOHIDEBAR, ABM_SETAUTOHIDEBAR, ABM_REMOVE, ABM_NEW,
          ABM_SETAUTOHIDEBAR}},
#else
#define NT3_BOX "AutoHide must always be on in Windows NT v3!"
        {"nothing changed", "100101", "100101", "old.wav", nullptr, NT3_BOX, KEPT},
        {"auto-hide unchecked", "100101", "000100", "", "000101", NT3_BOX, KEPT},
        {"chime without a WAV file", "100101", "011010", "", "100101", NO_WAV, KEPT},
        {"to the bottom", "100101", "100111", "old.wav", nullptr, NT3_BOX, screen - 2},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeBar(c.before);
        HWND old = barWindow;
        RECT before, after;
        GetWindowRect(old, &before);
#ifndef ZENTOR_NT3
        dockAutoHideAnswer = c.box != REFUSED;
#endif
        runDialog(openOptionsDialog, "Zentor Options", [&](HWND dialog) {
            EXPECT_EQ(c.before, flagsOf(dialog)) << "the dialog opened with other options";
            EXPECT_EQ(79, SendDlgItemMessageA(dialog, IDC_WAV_FILE, EM_GETLIMITTEXT, 0, 0));
            for (int i = 0; i < 6; i++)
                CheckDlgButton(dialog, BOXES[i], c.dialog[i] - '0');
            SetDlgItemTextA(dialog, IDC_WAV_FILE, c.wav);
            HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, countFramePaints, nullptr,
                                           GetCurrentThreadId());
            framePaints = 0;
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            UnhookWindowsHookEx(hook);
            // Date and memory show at once on a bar in view.
            if (barShown && c.box != NO_WAV && strncmp(c.before + 2, c.dialog + 2, 2))
                EXPECT_LT(0, framePaints) << "the status text was not redrawn";
            if (IsWindowVisible(dialog))
                SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        const char* want = c.after ? c.after : c.dialog;
        EXPECT_EQ(want, flagsOf(nullptr));
        EXPECT_STREQ(c.box == NO_WAV ? "old.wav" : c.wav, userOptions.wavFile);
        EXPECT_EQ(boxesOf(c.box), boxTexts());
        bool remade = c.before[4] != want[4];
        EXPECT_EQ(remade, barWindow != old);
        EXPECT_EQ(!remade, (bool)IsWindow(old));
        EXPECT_EQ(barWindow, FindWindowA("ZTClass", "Zentor"));
        GetWindowRect(barWindow, &after);
        if (c.top == KEPT)
            EXPECT_TRUE(EqualRect(&before, &after)) << "the bar moved to " << after.top;
        else
            EXPECT_EQ(c.top, after.top);
        EXPECT_EQ(want[0] == '1', (GetWindowLongA(barWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
#ifndef ZENTOR_NT3
        std::vector<DWORD> calls;
        HWND window = old;
        for (const DockCall& call : dockingCalls()) {
            calls.push_back(call.message);
            EXPECT_EQ(window, call.data.hWnd) << "call " << calls.size();
            if (call.message == ABM_REMOVE)
                window = barWindow;
            if (call.message != ABM_SETAUTOHIDEBAR)
                continue;
            // Each bar registers and withdraws at the edge it stands at;
            // the old bar's first call makes the dialog's change, if any.
            const char* edge = window == old ? c.before : want;
            EXPECT_EQ(edge[4] == '1' ? ABE_BOTTOM : ABE_TOP, (int)call.data.uEdge)
                << "call " << calls.size();
            if (window == old && c.before[5] != c.dialog[5] &&
                count(calls.begin(), calls.end(), ABM_SETAUTOHIDEBAR) == 1)
                EXPECT_EQ(c.dialog[5] - '0', call.data.lParam);
        }
        EXPECT_EQ(c.calls, calls);
#endif
        removeBar();
        reset();
    }
}

TEST_F(DialogTest, TestAndFindChangeNoOption)
{
    makeBar("100101");
    const UserOptions before = userOptions;
    struct Case {
        const char* wav;
        BOOL answer;
        const char* box;
    } cases[] = {{"", TRUE, NO_WAV},
                 {"C:\\x\\bell.wav", FALSE, "Error playing WAV file.\nCheck path and filename."},
                 {"C:\\x\\bell.wav", TRUE, nullptr}};
    runDialog(openOptionsDialog, "Zentor Options", [&](HWND dialog) {
        for (const Case& c : cases) {
            clearBoxes();
            played.clear();
            soundAnswer = c.answer;
            SetDlgItemTextA(dialog, IDC_WAV_FILE, c.wav);
            SendMessageA(dialog, WM_COMMAND, IDC_WAV_TEST, 0);
            EXPECT_EQ(boxesOf(c.box), boxTexts());
            EXPECT_EQ(c.wav, played);
        }
        SendMessageA(dialog, WM_COMMAND, IDC_WAV_FIND, 0);
        char text[WAV_FILE_SIZE] = "";
        GetDlgItemTextA(dialog, IDC_WAV_FILE, text, sizeof text);
        EXPECT_STREQ("C:\\sounds\\gong.wav", text);
        for (int id : BOXES)
            CheckDlgButton(dialog, id, !IsDlgButtonChecked(dialog, id));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(0, memcmp(&before, &userOptions, sizeof before))
        << "options now " << flagsOf(nullptr) << " " << userOptions.wavFile;
#ifndef ZENTOR_NT3
    EXPECT_EQ(0u, dockingCalls().size()) << "message " << dockingCalls()[0].message;
#endif
}

// A relative data file stays in the folder the bar started in, whatever
// folder the file dialog has made current when the program ends; options
// chosen after a start that could not read the stored ones are saved.
TEST_F(DialogTest, ExitWhileBrowsingSavesInTheStartFolder)
{
    std::string start = enterFreshDirectory("browse-exit");
    const std::string stray = "C:\\default.zt";
    DeleteFileA(stray.c_str());
    deleteOptionsKey("");
    copyField(dataFilePath, "default.zt");
    rememberStartPaths();
    ASSERT_EQ(1, loadMenuFile());
    optionsUnreadable = 1;
    makeBar("100101");
    runDialog(openOptionsDialog, "Zentor Options",
              [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDOK, 0); });
    clearBoxes();
    exitWhileBrowsing = true;
    runDialog(openOptionsDialog, "Zentor Options",
              [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDC_WAV_FIND, 0); });
    exitWhileBrowsing = false;
    EXPECT_EQ("C:\\", browsedIn);
    EXPECT_LT(4u, readFileBytes(start + "\\default.zt").size()) << "no menus saved in " << start;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(stray.c_str())) << "menus saved in C:\\";
    EXPECT_EQ(108u, readStoredOptions("").size()) << "the options chosen were not saved";
    EXPECT_EQ(std::vector<std::string>{}, boxTexts());
}

TEST_F(DialogTest, AboutBoxShowsBothIconsAndClosesOnOkOnly)
{
    makeBar("100101");
    runDialog(openAboutBox, "About Zentor", [](HWND box) {
        int icons = 0;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            icons += (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                     SendMessageA(child, STM_GETICON, 0, 0);
        EXPECT_EQ(2, icons);
        SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(IsWindowVisible(box)) << "IDCANCEL closed the box";
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_FALSE(IsWindowVisible(box)) << "OK left the box open";
        EndDialog(box, 0);
    });
}

}  // namespace
