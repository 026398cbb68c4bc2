// The bar window: its class and window record, where it stands, how it docks
// with the shell, and the commands of its window procedure.
#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "bar/auto_hide.h"
#include "bar/bar_dpi.h"
#include "bar/bar_window.h"
#include "bar/full_screen.h"
#include "menus/menu_bar.h"
#include "options/options.h"
#include "resource.h"
#include "object_counts.h"
#include "test_support.h"

#ifndef ZENTOR_NT3
struct DockCall {
    DWORD message;
    APPBARDATA data;
};
extern std::vector<DockCall> dockCalls;
extern UINT_PTR dockNewAnswer;
extern UINT_PTR dockAutoHideAnswer;
extern LONG dockQueryTop;
extern LONG dockQueryBottom;
void resetFakeDock();
extern SYSTEM_POWER_STATUS fakePowerStatus;
#endif

namespace {

const int M = GetSystemMetrics(SM_CYMENU);
const int W = GetSystemMetrics(SM_CXSCREEN);

class BarWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
#ifndef ZENTOR_NT3
        resetFakeDock();
#endif
    }
    void TearDown() override
    {
        removeBar();
        resetProgramState();
    }

    // Start-up's part: the popup menu, the class, then the bar.
    static int makeBar()
    {
        popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
        if (!popupMenu || !registerBarClass())
            return 0;
        return createBar();
    }

    static RECT barRect()
    {
        RECT r = {0, 0, 0, 0};
        GetWindowRect(barWindow, &r);
        return r;
    }
};

TEST_F(BarWindowTest, ClassAndWindowRecord)
{
    struct Case {
        int alwaysOnTop, bottom;
        LONG exStyle;
    } cases[] = {{1, 0, 0x88}, {0, 0, 0x80}, {1, 1, 0x88}, {0, 1, 0x80}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alwaysOnTop " << c.alwaysOnTop << " bottom " << c.bottom);
        userOptions.alwaysOnTop = c.alwaysOnTop;
        userOptions.bottom = c.bottom;
        userOptions.autoHide = 1;
        ASSERT_EQ(1, makeBar());

        WNDCLASSA cls;
        ASSERT_TRUE(GetClassInfoA(appInstance, "ZTClass", &cls));
        EXPECT_EQ(0u, cls.style);
        EXPECT_EQ((WNDPROC)barWndProc, cls.lpfnWndProc);
        EXPECT_EQ(0, cls.cbClsExtra + cls.cbWndExtra);
        EXPECT_NE(nullptr, cls.hIcon);
        EXPECT_EQ(nullptr, cls.hCursor);
#ifdef ZENTOR_NT3
        EXPECT_EQ(nullptr, cls.hbrBackground);
#else
        EXPECT_EQ((HBRUSH)(COLOR_MENU + 1), cls.hbrBackground);
#endif
        EXPECT_EQ(105u, (UINT_PTR)cls.lpszMenuName);

        char text[64] = "";
        GetClassNameA(barWindow, text, sizeof text);
        EXPECT_STREQ("ZTClass", text);
        GetWindowTextA(barWindow, text, sizeof text);
        EXPECT_STREQ("Zentor", text);
        EXPECT_EQ(barWindow, FindWindowA("ZTClass", "Zentor"));
        // The system adds WS_VISIBLE, WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE itself.
        LONG style = GetWindowLongA(barWindow, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS);
        EXPECT_EQ((LONG)0x80480000, style);
        EXPECT_EQ(c.exStyle, GetWindowLongA(barWindow, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE);
        EXPECT_EQ(nullptr, GetParent(barWindow));
        EXPECT_TRUE(IsWindowVisible(barWindow));
        EXPECT_EQ(menuBar, GetMenu(barWindow));

        RECT r = barRect();
        EXPECT_EQ(0, r.left);
        EXPECT_EQ(W, r.right - r.left);
        EXPECT_EQ(M + BAR_EXTRA_HEIGHT, r.bottom - r.top);
#ifdef ZENTOR_NT3
        // This build hides the new bar at once; 2 rows stay on the screen.
        EXPECT_EQ(0, barShown);
        EXPECT_EQ(c.bottom ? screenHeight - 2 : -M - 8, r.top);
#else
        EXPECT_EQ(1, barShown);
        EXPECT_EQ(c.bottom ? screenHeight - M - 5 : 0, r.top);
#endif
        removeBar();
        EXPECT_FALSE(IsWindow(barWindow));
        EXPECT_FALSE(GetClassInfoA(appInstance, "ZTClass", &cls)) << "class left registered";
        resetProgramState();
    }
}

#ifndef ZENTOR_NT3
// The calls to the shell, without the notifications the window's moves cause.
std::vector<DockCall> dockingCalls()
{
    std::vector<DockCall> out;
    for (const DockCall& c : dockCalls)
        if (c.message != ABM_WINDOWPOSCHANGED)
            out.push_back(c);
    return out;
}

std::vector<DWORD> messagesOf(const std::vector<DockCall>& calls)
{
    std::vector<DWORD> out;
    for (const DockCall& c : calls)
        out.push_back(c.message);
    return out;
}

// The old bar leaves the shell before the new one comes; the new one stands
// shown and nothing of the old one's menus is left behind.
TEST_F(BarWindowTest, DisplayChangeMakesTheBarAnew)
{
    for (int autoHide = 1; autoHide >= 0; autoHide--) {
        SCOPED_TRACE(testing::Message() << "autoHide " << autoHide);
        userOptions.autoHide = autoHide;
        ASSERT_EQ(1, makeBar());
        const int menusBefore = countUserObjects().menus;
        HWND old = barWindow;
        barShown = 0;
        dockCalls.clear();
        SendMessageA(old, WM_DISPLAYCHANGE, 32, MAKELPARAM(W, GetSystemMetrics(SM_CYSCREEN)));
        ASSERT_NE(old, barWindow);
        std::vector<DWORD> want = {ABM_SETAUTOHIDEBAR, ABM_REMOVE, ABM_NEW};
        if (autoHide)
            want.push_back(ABM_SETAUTOHIDEBAR);
        else
            want.insert(want.end(), {ABM_QUERYPOS, ABM_SETPOS});
        want.push_back(ABM_ACTIVATE);
        std::vector<DockCall> calls = dockingCalls();
        ASSERT_EQ(want, messagesOf(calls));
        EXPECT_EQ(0, calls[0].data.lParam) << "auto-hide not unregistered";
        for (size_t i = 0; i < calls.size(); i++)
            EXPECT_EQ(i < 2 ? old : barWindow, calls[i].data.hWnd) << "call " << i;
        EXPECT_EQ(1, barShown);
        for (int i = 0; i < 10; i++)
            SendMessageA(barWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(W, GetSystemMetrics(SM_CYSCREEN)));
        EXPECT_EQ(menusBefore, countUserObjects().menus);
        removeBar();
        resetProgramState();
        resetFakeDock();
    }
}

TEST_F(BarWindowTest, PowerBroadcastReadsTheACLine)
{
    ASSERT_EQ(1, makeBar());
    const struct {
        BYTE acLine;
        int onBattery;
    } cases[] = {{0, 1}, {1, 0}};
    for (const auto& c : cases) {
        fakePowerStatus.ACLineStatus = c.acLine;
        SendMessageA(barWindow, WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0);
        EXPECT_EQ(c.onBattery, onBattery) << "AC line status " << (int)c.acLine;
    }
}

TEST_F(BarWindowTest, DocksWithTheShell)
{
    const int H = M + 5;
    const int screen = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        const char* name;
        int autoHide, bottom;
        UINT_PTR newAnswer, autoHideAnswer;
        LONG queryTop, queryBottom;
        std::vector<DWORD> messages;
        int top;           // where the bar stands afterwards
        int autoHideAfter; // the option afterwards
        bool warned;
    } cases[] = {
        {"auto-hide accepted", 1, 0, 1, 1, -1, -1, {ABM_NEW, ABM_SETAUTOHIDEBAR}, 0, 1, false},
        {"auto-hide accepted, bottom", 1, 1, 1, 1, -1, -1, {ABM_NEW, ABM_SETAUTOHIDEBAR},
         screenHeight - H, 1, false},
        {"auto-hide refused", 1, 0, 1, 0, -1, -1, {ABM_NEW, ABM_SETAUTOHIDEBAR}, 0, 0, true},
        {"below a top task bar", 0, 0, 1, 1, 30, -1, {ABM_NEW, ABM_QUERYPOS, ABM_SETPOS}, 30, 0,
         false},
        {"above a bottom task bar", 0, 1, 1, 1, -1, screen - 28,
         {ABM_NEW, ABM_QUERYPOS, ABM_SETPOS}, screen - 28 - H, 0, false},
        {"shell refuses the bar", 1, 0, 0, 1, -1, -1, {ABM_NEW}, 0, 1, false},
        {"shell refuses the bar, bottom", 0, 1, 0, 1, -1, 500, {ABM_NEW}, screenHeight - H, 0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        userOptions.alwaysOnTop = 1;
        userOptions.autoHide = c.autoHide;
        userOptions.bottom = c.bottom;
        dockNewAnswer = c.newAnswer;
        dockAutoHideAnswer = c.autoHideAnswer;
        dockQueryTop = c.queryTop;
        dockQueryBottom = c.queryBottom;
        ASSERT_EQ(1, makeBar());

        // Shown, the new bar is the active window, and the shell hears of it.
        std::vector<DWORD> messages = c.messages;
        messages.push_back(ABM_ACTIVATE);
        std::vector<DockCall> calls = dockingCalls();
        EXPECT_EQ(messages, messagesOf(calls));
        for (const DockCall& call : calls) {
            EXPECT_EQ(sizeof(APPBARDATA), call.data.cbSize);
            EXPECT_EQ(barWindow, call.data.hWnd);
            // The bar takes the shell's notices, with a message of its own.
            EXPECT_GE(call.data.uCallbackMessage, (UINT)WM_USER);
            EXPECT_EQ(c.bottom ? (UINT)ABE_BOTTOM : (UINT)ABE_TOP, call.data.uEdge);
            if (call.message == ABM_SETAUTOHIDEBAR)
                EXPECT_EQ(1, call.data.lParam);
            if (call.message == ABM_QUERYPOS) {
                RECT want = {0, 0, W, screen};
                EXPECT_TRUE(EqualRect(&want, &call.data.rc))
                    << "queried " << call.data.rc.left << "," << call.data.rc.top << ","
                    << call.data.rc.right << "," << call.data.rc.bottom;
            }
            if (call.message == ABM_SETPOS) {
                RECT want = {0, c.top, W, c.top + H};
                EXPECT_TRUE(EqualRect(&want, &call.data.rc))
                    << "reserved " << call.data.rc.left << "," << call.data.rc.top << ","
                    << call.data.rc.right << "," << call.data.rc.bottom;
            }
        }
        RECT r = barRect();
        EXPECT_EQ(c.top, r.top);
        EXPECT_EQ(H, r.bottom - r.top);
        EXPECT_EQ(W, r.right - r.left);
        EXPECT_EQ(c.autoHideAfter, userOptions.autoHide);
        if (c.warned) {
            ASSERT_EQ(1u, recordedBoxes.size());
            EXPECT_EQ("Error autohiding!  Is\nthe Start Menu there?", recordedBoxes[0].text);
            EXPECT_EQ("Zentor", recordedBoxes[0].caption);
            EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
            EXPECT_EQ(barWindow, recordedBoxes[0].owner);
        } else {
            EXPECT_EQ(0u, recordedBoxes.size()) << recordedBoxes[0].text;
        }
        removeBar();
        resetProgramState();
        resetFakeDock();
    }
}

// The bar comes to a monitor of another DPI (Wine has one DPI for all, so
// the test sends what Windows would): it is made anew at the height of the
// menu bar at that DPI, in its place at its edge, reserving that strip or
// hidden to its 2 rows, and its menus' icons take that DPI's size. Back at
// the first DPI it is as it was.
TEST_F(BarWindowTest, NewDpiGivesTheBarItsSizeThere)
{
    typedef int(WINAPI * MetricsForDpi)(int, UINT);
    MetricsForDpi metricsForDpi =
        (MetricsForDpi)GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi");
    ASSERT_NE(nullptr, metricsForDpi) << "no GetSystemMetricsForDpi";
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY), newDpi = dpi * 3 / 2;
    ReleaseDC(nullptr, screen);
    const int screenBottom = GetSystemMetrics(SM_CYSCREEN);
    for (int autoHide : {0, 1}) {
        SCOPED_TRACE(autoHide ? "hidden auto-hide bar at the top" : "bar with its strip at the bottom");
        userOptions.autoHide = autoHide;
        userOptions.bottom = !autoHide;
        ASSERT_EQ(1, makeBar());
        if (autoHide)
            setBarHidden(1);
        const RECT before = barRect();
        for (int d : {newDpi, dpi}) {
            dockCalls.clear();
            RECT suggested = before;
            SendMessageA(barWindow, WM_DPICHANGED, MAKEWPARAM(d, d), (LPARAM)&suggested);
            RECT r = barRect();
            const int height = r.bottom - r.top;
            const int menuGrowth = metricsForDpi(SM_CYMENU, d) - metricsForDpi(SM_CYMENU, dpi);
            EXPECT_GE(height - (before.bottom - before.top), menuGrowth) << "at " << d << " dpi";
            EXPECT_EQ(W, r.right - r.left);
            EXPECT_EQ(autoHide ? 2 : screenBottom, r.bottom) << "at " << d << " dpi, bar top " << r.top;
            if (!autoHide) {
                std::vector<DockCall> calls = dockingCalls();
                ASSERT_FALSE(calls.empty());
                EXPECT_EQ((DWORD)ABM_SETPOS, calls.back().message);
                EXPECT_TRUE(EqualRect(&r, &calls.back().data.rc))
                    << "reserved " << calls.back().data.rc.top << ".." << calls.back().data.rc.bottom
                    << " at " << d << " dpi, bar " << r.top << ".." << r.bottom;
            }
            EXPECT_EQ(metricsForDpi(SM_CXSMICON, d), barSmallIconSize()) << "at " << d << " dpi";
        }
        RECT after = barRect();
        EXPECT_TRUE(EqualRect(&before, &after)) << "back at " << dpi << " dpi, top " << after.top
                                                << " height " << after.bottom - after.top;
        removeBar();
        resetProgramState();
        resetFakeDock();
    }
}

// Whether window a stands above window b.
bool standsAbove(HWND a, HWND b)
{
    for (HWND w = GetWindow(a, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == b)
            return true;
    return false;
}

// The shell says a full-screen program covers the bar's monitor, with the
// message the bar gave it: a bar on top goes beneath the other windows, also
// when it is made anew meanwhile, and comes back on top when the program
// leaves full screen. A bar that is not on top stays where it is. (Wine's
// shell sends no such notice.)
TEST_F(BarWindowTest, FullScreenProgramTakesTheTopFromTheBarWhileItIsOpen)
{
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100,
                                 nullptr, nullptr, appInstance, nullptr);
    ASSERT_NE(nullptr, other);
    for (int onTop : {1, 0}) {
        SCOPED_TRACE(onTop ? "always on top" : "not on top");
        userOptions.alwaysOnTop = onTop;
        userOptions.autoHide = 0;
        ASSERT_EQ(1, makeBar());
        ASSERT_FALSE(dockCalls.empty());
        const UINT notice = dockCalls[0].data.uCallbackMessage;
        ASSERT_TRUE(standsAbove(barWindow, other));
        for (int open : {1, 0, 1}) {
            SendMessageA(barWindow, notice, ABN_FULLSCREENAPP, open);
            const bool top = onTop && !open;
            EXPECT_EQ(top, (GetWindowLongA(barWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0)
                << (open ? "full screen" : "full screen left");
            EXPECT_EQ(!(onTop && open), standsAbove(barWindow, other))
                << (open ? "full screen" : "full screen left");
        }
        // Made anew while the program is still in full screen.
        SendMessageA(barWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(W, GetSystemMetrics(SM_CYSCREEN)));
        EXPECT_EQ(!onTop, standsAbove(barWindow, other)) << "made anew";
        EXPECT_EQ(0, GetWindowLongA(barWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) << "made anew";
        SendMessageA(barWindow, notice, ABN_FULLSCREENAPP, 0);
        EXPECT_EQ(onTop != 0, (GetWindowLongA(barWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
        removeBar();
        resetProgramState();
        resetFakeDock();
    }
    DestroyWindow(other);
}
#endif

TEST_F(BarWindowTest, CommandsWithoutAnItemWarn)
{
    ASSERT_EQ(1, makeBar());
    for (int id : {1, 101, 12345, 40002, 65535}) {
        clearBoxes();
        EXPECT_EQ(0, SendMessageA(barWindow, WM_COMMAND, id, 0)) << "id " << id;
        ASSERT_EQ(1u, recordedBoxes.size()) << "id " << id;
        EXPECT_EQ("Menu item not found.", recordedBoxes[0].text);
        EXPECT_EQ("Zentor", recordedBoxes[0].caption);
        EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
        EXPECT_EQ(barWindow, recordedBoxes[0].owner);
    }
    EXPECT_TRUE(IsWindow(barWindow));
}

TEST_F(BarWindowTest, MouseOverTheFrameIsSwallowedWithAutoHideOff)
{
    userOptions.autoHide = 0;
    ASSERT_EQ(1, makeBar());
    barShown = 0; // were the handler to act, it would move the bar
    RECT before = barRect();
    EXPECT_EQ(0, SendMessageA(barWindow, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(10, 2)));
    RECT after = barRect();
    EXPECT_TRUE(EqualRect(&before, &after)) << "bar moved to top " << after.top;
    EXPECT_EQ(0u, hideTimerId);
    EXPECT_EQ(0, barShown);
}

TEST_F(BarWindowTest, CloseAndExitEndTheProgram)
{
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        int bottom, autoHide; // an auto-hide bar and bars with a reserved strip
    } cases[] = {
        {"WM_CLOSE", WM_CLOSE, 0, 0, 1},
        {"E&xit Zentor", WM_COMMAND, CMD_EXIT, 1, 0},
        {"double click on the frame", WM_NCLBUTTONDBLCLK, HTCAPTION, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string dir = enterFreshDirectory("bar-close");
        copyField(profileName, "zentor-bar-close");
        copyField(dataFilePath, "bar-close.zt");
        deleteOptionsKey(profileName);
        userOptions.autoHide = c.autoHide;
        userOptions.bottom = c.bottom;
        ASSERT_EQ(1, makeBar());
        HWND bar = barWindow;
#ifndef ZENTOR_NT3
        dockCalls.clear();
#endif

        EXPECT_EQ(0, SendMessageA(bar, c.message, c.wParam, 0));
        EXPECT_FALSE(IsWindow(bar));
        EXPECT_EQ(nullptr, popupMenu);
#ifndef ZENTOR_NT3
        // The bar leaves the shell: auto-hide off whatever it was, then removed.
        std::vector<DockCall> calls = dockingCalls();
        ASSERT_EQ((std::vector<DWORD>{ABM_SETAUTOHIDEBAR, ABM_REMOVE}), messagesOf(calls));
        EXPECT_EQ(0, calls[0].data.lParam);
        for (const DockCall& call : calls) {
            EXPECT_EQ(bar, call.data.hWnd);
            EXPECT_EQ(sizeof(APPBARDATA), call.data.cbSize);
            EXPECT_EQ(c.bottom ? (UINT)ABE_BOTTOM : (UINT)ABE_TOP, call.data.uEdge);
        }
#endif
        MSG quit;
        ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "no quit message posted";
        EXPECT_EQ(0u, quit.wParam);
        std::vector<unsigned char> file = readFileBytes(dir + "\\bar-close.zt");
        ASSERT_GE(file.size(), 4u) << "data file not saved";
        EXPECT_EQ(102, file[0] | file[1] << 8);
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Zentor\\zentor-bar-close", 0,
                                KEY_READ, &key))
            << "options not saved";
        RegCloseKey(key);
        deleteOptionsKey(profileName);
        EXPECT_EQ(0u, recordedBoxes.size()) << recordedBoxes[0].text;
        resetProgramState();
#ifndef ZENTOR_NT3
        resetFakeDock();
#endif
    }
}

// Refuses every window's creation, noting the menu bar handle at the first.
HMENU menuBarWhenRefused = (HMENU)1;

LRESULT CALLBACK refuseWindows(int code, WPARAM wParam, LPARAM lParam)
{
    if (code != HCBT_CREATEWND)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    if (menuBarWhenRefused == (HMENU)1)
        menuBarWhenRefused = menuBar;
    return 1;
}

// A bar that cannot be made again after a display change: the user is told,
// the menus are saved and the program ends with an exit code that says so,
// and the menu bar that died with the old window is not held on to.
TEST_F(BarWindowTest, BarThatCannotBeMadeAgainEndsTheProgramWithAWarning)
{
    std::string dir = enterFreshDirectory("bar-remake");
    copyField(profileName, "zentor-bar-remake");
    copyField(dataFilePath, "bar-remake.zt");
    ASSERT_EQ(1, makeBar());
    HHOOK hook = SetWindowsHookExA(WH_CBT, refuseWindows, nullptr, GetCurrentThreadId());
    SendMessageA(barWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(W, GetSystemMetrics(SM_CYSCREEN)));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(nullptr, barWindow);
    EXPECT_EQ(nullptr, menuBarWhenRefused) << "the old bar's menu bar is still held";
    ASSERT_EQ(1u, recordedBoxes.size());
    EXPECT_EQ("The bar could not be made again.\nZentor saves your menus and options and ends.",
              recordedBoxes[0].text);
    EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program runs on";
    EXPECT_NE(0u, quit.wParam);
    EXPECT_GE(readFileBytes(dir + "\\bar-remake.zt").size(), 4u) << "data file not saved";
    deleteOptionsKey(profileName);
}

}  // namespace

// The right-click menu comes from resource 105: one container item "§"
// whose submenu holds the bar's own commands in their order.
TEST(BarPopupMenuResource, HoldsTheBarCommandsInOrder)
{
    HMENU resource = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_BAR_POPUP));
    ASSERT_NE(nullptr, resource);
    char text[64] = "";
    GetMenuStringA(resource, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("\xA7", text);
    HMENU popup = GetSubMenu(resource, 0);
    ASSERT_NE(nullptr, popup);

    struct Item {
        const char* text;
        UINT id;
    } const items[] = {{"&Edit Menus...", CMD_EDIT_MENUS},
                       {"&Options...", CMD_OPTIONS},
                       {"", 0},
                       {"&About Zentor...", CMD_INFO},
                       {"E&xit Zentor", CMD_EXIT}};
    ASSERT_EQ(5, GetMenuItemCount(popup));
    for (int i = 0; i < 5; i++) {
        text[0] = '\0';
        GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(items[i].text, text) << "item " << i;
        if (items[i].id)
            EXPECT_EQ(items[i].id, GetMenuItemID(popup, i)) << "item " << i;
        else
            EXPECT_TRUE(GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) << "item " << i;
    }
    DestroyMenu(resource);
}
