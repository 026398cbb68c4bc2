// Auto-hide: where the bar goes, how it slides, and what hides and shows it.
#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "bar/auto_hide.h"
#include "bar/bar_window.h"
#include "options/options.h"
#include "resource.h"
#include "test_support.h"

namespace {

const int M = GetSystemMetrics(SM_CYMENU);
const int W = GetSystemMetrics(SM_CXSCREEN);
const int H = M + BAR_EXTRA_HEIGHT;

// What the bar window went through, seen from a subclass in front of barWndProc.
std::vector<int> movedTo; // the top of every move
int hideTicks = 0;

LRESULT CALLBACK recordingWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGED) {
        const WINDOWPOS* pos = (const WINDOWPOS*)lParam;
        if (!(pos->flags & SWP_NOMOVE))
            movedTo.push_back(pos->y);
    } else if (message == WM_TIMER && wParam == HIDE_TIMER) {
        hideTicks++;
    }
    return CallWindowProcA(barWndProc, window, message, wParam, lParam);
}

class AutoHideTest : public ::testing::Test {
protected:
    BOOL fullDrag = FALSE;
    HWND other = nullptr;

    void SetUp() override
    {
        resetProgramState();
        SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
        setFullDrag(FALSE);
        movedTo.clear();
        hideTicks = 0;
    }
    void TearDown() override
    {
        if (other)
            DestroyWindow(other);
        removeBar();
        resetProgramState();
        setFullDrag(fullDrag);
    }

    static void setFullDrag(BOOL on)
    {
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, on, nullptr, 0);
    }

    static void makeBar(int bottom, int autoHide = 1)
    {
        userOptions.alwaysOnTop = 1;
        userOptions.bottom = bottom;
        userOptions.autoHide = autoHide;
        popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
        ASSERT_TRUE(registerBarClass());
        ASSERT_EQ(1, createBar());
        SetWindowLongPtrA(barWindow, GWLP_WNDPROC, (LONG_PTR)recordingWndProc);
    }

    // Another top-level window of ours, shown and so activated.
    void activateAnother()
    {
        other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 300,
                                300, 200, nullptr, nullptr, appInstance, nullptr);
        SetForegroundWindow(other);
        SetActiveWindow(other);
    }

    // Shows the bar and makes it the active window; false when it does not become it.
    static bool activateBar()
    {
        setBarHidden(0); // one build starts hidden
        SetForegroundWindow(barWindow);
        return until([] { return GetActiveWindow() == barWindow; }, 3000);
    }

    // Puts the cursor at x, y and waits until the system reports it there.
    static bool cursorAt(int x, int y)
    {
        POINT p;
        GetCursorPos(&p);
        if (p.x == x && p.y == y)
            return true;
        SetCursorPos(x, y);
        return false;
    }

    static RECT barRect()
    {
        RECT r = {0, 0, 0, 0};
        GetWindowRect(barWindow, &r);
        return r;
    }
    static int barTop() { return barRect().top; }
};

TEST_F(AutoHideTest, ShownAndHiddenTopsAtBothEdges)
{
    const int realHeight = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        int bottom, height;
    } cases[] = {{0, realHeight}, {1, realHeight}, {1, 700}, {0, 700}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bottom " << c.bottom << ", start-up height " << c.height);
        // Bottom positions come from the height read at start-up, not the live one.
        screenHeight = c.height;
#ifdef ZENTOR_NT3
        int shown = c.bottom ? c.height - M - 10 : 0;
        int hidden = c.bottom ? c.height - 2 : -M - 8;
#else
        int shown = c.bottom ? c.height - M - 5 : 0;
        int hidden = c.bottom ? c.height - 2 : -M - 3;
#endif
        makeBar(c.bottom);
        EXPECT_EQ(shown, shownTop());
        EXPECT_EQ(hidden, hiddenTop());
        for (int hide : {1, 1, 0, 1, 0, 0}) {
            setBarHidden(hide);
            EXPECT_EQ(hide ? hidden : shown, barTop()) << "after setBarHidden(" << hide << ")";
            EXPECT_EQ(!hide, barShown);
        }
        // Hidden, two rows of the bar stay on the screen.
        setBarHidden(1);
        RECT r = barRect();
        EXPECT_EQ(2, c.bottom ? c.height - r.top : r.bottom) << "rows left on the screen";
        removeBar();
        resetProgramState();
    }
}

TEST_F(AutoHideTest, SlideTopInterpolatesWithTruncation)
{
    struct Case {
        int top0, y;
        DWORD elapsed, duration;
        int top;
    } cases[] = {
        {0, -22, 0, 300, 0},       {0, -22, 150, 300, -11},  {0, -22, 299, 300, -21},
        {-22, 0, 100, 200, -11},   {-22, 0, 199, 200, -1},   {745, 766, 150, 300, 755},
        {766, 745, 299, 300, 746}, {-22, -22, 150, 200, -22}, {10, -22, 1, 300, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.top, slideTop(c.top0, c.y, c.elapsed, c.duration))
            << "from " << c.top0 << " to " << c.y << " after " << c.elapsed << " of "
            << c.duration << " ms";
}

TEST_F(AutoHideTest, ShowingAShownBarDoesNothing)
{
    makeBar(0);
    // The mouse brings out a bar that starts hidden (one build does).
    SendMessageA(barWindow, WM_NCMOUSEMOVE, HTBORDER, 0);
    ASSERT_EQ(1, barShown);
    SetWindowPos(barWindow, nullptr, 0, 37, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    movedTo.clear();
    setBarHidden(0);
    EXPECT_EQ(37, barTop());
    EXPECT_TRUE(movedTo.empty()) << "moved " << movedTo.size() << " times";
}

TEST_F(AutoHideTest, WithoutFullWindowDragTheBarMovesInOneStep)
{
    for (int bottom = 0; bottom <= 1; bottom++) {
        SCOPED_TRACE(testing::Message() << "bottom " << bottom);
        makeBar(bottom);
        SetWindowPos(barWindow, nullptr, 0, 100, 300, 10, SWP_NOZORDER | SWP_NOACTIVATE);
        movedTo.clear();
        setBarHidden(1);
        RECT r = barRect();
        EXPECT_EQ(hiddenTop(), r.top);
#ifdef ZENTOR_NT3
        // This build never asks and always slides, keeping the size.
        EXPECT_EQ(300, r.right - r.left);
        EXPECT_EQ(10, r.bottom - r.top);
#else
        EXPECT_EQ(1u, movedTo.size()) << "moves: " << movedTo.size();
        EXPECT_EQ(0, r.left);
        EXPECT_EQ(W, r.right - r.left);
        EXPECT_EQ(H, r.bottom - r.top);
#endif
        removeBar();
        resetProgramState();
    }
}

TEST_F(AutoHideTest, SlideEndsExactlyOnItsTarget)
{
    setFullDrag(TRUE);
    BOOL on = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
    ASSERT_TRUE(on) << "could not turn on dragging with window contents";
    struct Case {
        int bottom, start, hide;
    } cases[] = {{0, 0, 1}, {0, -M - 3, 0}, {0, -5, 1}, {1, 700, 1}, {1, 740, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bottom " << c.bottom << " from " << c.start
                                        << (c.hide ? " hiding" : " showing"));
        makeBar(c.bottom);
        barShown = c.hide;
        SetWindowPos(barWindow, nullptr, 0, c.start, 300, H, SWP_NOZORDER | SWP_NOACTIVATE);
        movedTo.clear();
        setBarHidden(c.hide);
        int target = c.hide ? hiddenTop() : shownTop();
        RECT r = barRect();
        EXPECT_EQ(target, r.top);
        EXPECT_EQ(300, r.right - r.left) << "a slide keeps the size";
        EXPECT_EQ(H, r.bottom - r.top);
        ASSERT_FALSE(movedTo.empty());
        EXPECT_EQ(target, movedTo.back());
        int low = c.start < target ? c.start : target;
        int high = c.start < target ? target : c.start;
        for (size_t i = 0; i < movedTo.size(); i++) {
            EXPECT_TRUE(movedTo[i] >= low && movedTo[i] <= high)
                << "step " << i << " at " << movedTo[i] << ", outside " << low << ".." << high;
            if (i > 0)
                EXPECT_TRUE(target < c.start ? movedTo[i] <= movedTo[i - 1]
                                             : movedTo[i] >= movedTo[i - 1])
                    << "step " << i << " went back from " << movedTo[i - 1] << " to "
                    << movedTo[i];
        }
        removeBar();
        resetProgramState();
    }
}

TEST_F(AutoHideTest, DeactivationHidesAtOnce)
{
    for (int autoHide = 1; autoHide >= 0; autoHide--) {
        SCOPED_TRACE(testing::Message() << "autoHide " << autoHide);
        makeBar(0, autoHide);
        ASSERT_TRUE(activateBar());
        ASSERT_EQ(1, barShown);
        ASSERT_EQ(0, barTop());
        activateAnother();
        ASSERT_TRUE(until([&] { return GetActiveWindow() == other; }, 3000));
        if (autoHide) {
            EXPECT_TRUE(until([] { return barShown == 0 && barTop() == hiddenTop(); }, 3000))
                << "top " << barTop() << ", barShown " << barShown;
        } else {
            EXPECT_EQ(1, barShown);
            EXPECT_EQ(0, barTop());
        }
        DestroyWindow(other);
        other = nullptr;
        removeBar();
        resetProgramState();
    }
}

TEST_F(AutoHideTest, PollHidesOnceTheCursorIsAway)
{
    makeBar(0);
    // The bar loses the activation to another window and withdraws.
    ASSERT_TRUE(activateBar());
    activateAnother();
    ASSERT_TRUE(until([&] { return GetActiveWindow() == other && barShown == 0; }, 3000))
        << "deactivation did not hide";

    // The cursor reaches the strip: the bar comes out and the poll starts.
    ASSERT_TRUE(until([] { return cursorAt(W / 2, 1); }, 3000));
    SendMessageA(barWindow, WM_NCMOUSEMOVE, HTBORDER, MAKELPARAM(W / 2, 1));
    EXPECT_EQ(1, barShown);
    EXPECT_EQ(0, barTop());
    EXPECT_NE(0u, hideTimerId);

    // While the cursor stays over the bar, the ticks leave it where it is.
    ASSERT_TRUE(until([] { return cursorAt(W / 2, H / 2); }, 3000));
    hideTicks = 0;
    ASSERT_TRUE(until([] { return hideTicks >= 2 || !barShown; }, 5000)) << "the poll does not tick";
    EXPECT_EQ(1, barShown);
    EXPECT_EQ(0, barTop());

    // The cursor goes: the next tick hides the bar. The cursor is put back
    // where it should be on every turn, in case a late pointer event moved it.
    EXPECT_TRUE(until([] { return cursorAt(W / 2, 450) && barShown == 0 && barTop() == hiddenTop(); },
                      5000))
        << "top " << barTop() << ", barShown " << barShown << ", bar active "
        << (GetActiveWindow() == barWindow);
    EXPECT_EQ(0u, hideTimerId);
}

TEST_F(AutoHideTest, PollLeavesTheActiveBarShown)
{
    makeBar(0);
    ASSERT_TRUE(activateBar());
    SendMessageA(barWindow, WM_NCMOUSEMOVE, HTBORDER, MAKELPARAM(W / 2, 1));
    ASSERT_NE(0u, hideTimerId);
    // Cursor away, but the bar is the active window (one of its menus may be open).
    ASSERT_TRUE(until([] { return cursorAt(W / 2, 450); }, 3000));
    hideTicks = 0;
    ASSERT_TRUE(until([] { return hideTicks >= 2 || !barShown; }, 5000)) << "the poll does not tick";
    EXPECT_EQ(barWindow, GetActiveWindow());
    EXPECT_EQ(1, barShown);
    EXPECT_EQ(0, barTop());
    EXPECT_NE(0u, hideTimerId);
}

}  // namespace
