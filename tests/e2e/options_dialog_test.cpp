// The Options dialog and the About box of the running programs, worked from
// outside: what OK changes shows on the bar at once and is saved at exit;
// the About box closes by Enter but not by Escape.
#include "driver.h"

#include "../../res/resource.h"

namespace {

int topOf(HWND window)
{
    RECT rc{};
    GetWindowRect(window, &rc);
    return rc.top;
}

// Left end of the status text: the first column right of the bar's middle
// where a pixel of the middle rows differs from the menu bar at the middle;
// the bar's width when there is no text.
int statusLeft(HWND bar)
{
    RECT rc{};
    GetWindowRect(bar, &rc);
    const int w = rc.right - rc.left, middle = rc.top + (rc.bottom - rc.top) / 2;
    HDC screen = GetDC(nullptr);
    COLORREF empty = GetPixel(screen, rc.left + w / 2, middle);
    int left = w;
    for (int x = w / 2; x < w - 3 && left == w; x++)
        for (int y = middle - 2; y <= middle + 2; y++)
            if (GetPixel(screen, rc.left + x, y) != empty)
                left = x;
    ReleaseDC(nullptr, screen);
    return left;
}

// Text on the bar, read twice a moment apart: a new bar shows other
// pictures while it is first drawn.
bool statusSettled(HWND bar, int* left)
{
    int first = statusLeft(bar);
    Sleep(200);
    *left = statusLeft(bar);
    return *left == first && *left > GetSystemMetrics(SM_CXSCREEN) / 2 &&
           *left < GetSystemMetrics(SM_CXSCREEN);
}

// Opens one of the bar's dialogs as its right-click menu does.
HWND openDialog(const Running& program, HWND bar, UINT command, const char* caption)
{
    PostMessageA(bar, WM_COMMAND, command, 0);
    return waitForDialog(program, caption);
}

class Dialogs : public E2eTest, public ::testing::WithParamInterface<std::string> {};

INSTANTIATE_TEST_SUITE_P(E2e, Dialogs, ::testing::Values("zentor", "zentornt3"));

TEST_P(Dialogs, OptionsShowAtOnceAndAreSavedAboutClosesByEnterOnly)
{
    const bool nt3 = GetParam() == "zentornt3";
    std::vector<unsigned char> block = defaultOptions();
    block[20] = 0; // auto-hide off, so the bar stays in view (zentornt3 turns it on)
    writeOptions("default", block);
    Running& program = start(GetParam(), "");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar);
    int withoutDate = 0, withDate = 0;
    // zentornt3 hides its bar, and a hidden bar shows no text.
    ASSERT_TRUE(nt3 || waitFor([&] { return statusSettled(bar, &withoutDate); })) << "no text";

    HWND dialog = openDialog(program, bar, CMD_OPTIONS, "Zentor Options");
    ASSERT_NE(nullptr, dialog);
    dialogs.push_back(dialog);
    SendMessageA(GetDlgItem(dialog, IDC_DISPLAY_DATE), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(GetDlgItem(dialog, IDC_BOTTOM), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    const int screen = GetSystemMetrics(SM_CYSCREEN);
    const int bottom = nt3 ? screen - 2 : screen - GetSystemMetrics(SM_CYMENU) - 5;
    HWND moved = nullptr;
    ASSERT_TRUE(driveUntil(program, [&] {
        moved = FindWindowA("ZTClass", "Zentor");
        return !IsWindow(bar) && moved && topOf(moved) == bottom;
    })) << "no bar at the bottom edge; top " << (moved ? topOf(moved) : -1);
    if (nt3) {
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("AutoHide must always be on in Windows NT v3!", boxes[0].text);
    } else {
        EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
        // The date joins the time and the memory: the text reaches further left.
        EXPECT_TRUE(waitFor([&] {
            return statusSettled(moved, &withDate) && withDate < withoutDate - 20;
        }))
            << "status text starts at " << withDate << ", without the date at " << withoutDate;
    }

    // A second start still finds the running bar.
    Running& second = start(GetParam(), "");
    ASSERT_TRUE(waitForEnd(second));
    EXPECT_EQ(0u, second.exitCode);
    EXPECT_TRUE(IsWindow(moved));

    HWND about = openDialog(program, moved, CMD_INFO, "About Zentor");
    ASSERT_NE(nullptr, about);
    HWND ok = GetDlgItem(about, IDOK);
    PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0);
    // Posted behind the key: once the button looks pushed, the key has been handled.
    PostMessageA(ok, BM_SETSTATE, TRUE, 0);
    ASSERT_TRUE(waitFor([&] { return (SendMessageA(ok, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }));
    EXPECT_TRUE(IsWindowVisible(about)) << "Escape closed the box";
    PostMessageA(ok, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(about); })) << "Enter left the box open";

    PostMessageA(moved, WM_COMMAND, CMD_EXIT, 0);
    ASSERT_TRUE(waitForEnd(program));
    block[8] = 1;  // displayDate
    block[16] = 1; // bottom
    block[20] = nt3;
    std::vector<unsigned char> saved;
    DWORD type = 0;
    ASSERT_TRUE(readOptions("default", &saved, &type));
    EXPECT_EQ("", byteDifference(block, saved));
}

}  // namespace
