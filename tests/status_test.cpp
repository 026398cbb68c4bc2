// The status text at the right end of the bar and the hourly chime.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "bar/bar_window.h"
#include "bar/status.h"
#include "menus/menu_list.h"
#include "options/options.h"
#include "resource.h"
#include "test_support.h"

namespace {

class StatusTest : public ::testing::Test {
protected:
    void SetUp() override { resetProgramState(); }
    void TearDown() override
    {
        removeBar();
        resetProgramState();
    }
};

struct Composed {
    std::string full, main, battery;
};

// Runs composeStatus on buffers of the program's sizes, each followed by a
// guard zone that must stay untouched.
Composed compose(const char* time, const char* date, long memoryK, int percent)
{
    const char guard = '\x7e';
    char full[STATUS_TEXT_SIZE + 16], main[STATUS_TEXT_SIZE + 16], battery[BATTERY_TEXT_SIZE + 16];
    memset(full, guard, sizeof full);
    memset(main, guard, sizeof main);
    memset(battery, guard, sizeof battery);
    composeStatus(full, STATUS_TEXT_SIZE, main, STATUS_TEXT_SIZE, battery, BATTERY_TEXT_SIZE, time,
                  date, memoryK, percent);
    for (int i = STATUS_TEXT_SIZE; i < STATUS_TEXT_SIZE + 16; i++) {
        EXPECT_EQ(guard, full[i]) << "full text written past its buffer at " << i;
        EXPECT_EQ(guard, main[i]) << "main text written past its buffer at " << i;
    }
    for (int i = BATTERY_TEXT_SIZE; i < BATTERY_TEXT_SIZE + 16; i++)
        EXPECT_EQ(guard, battery[i]) << "battery text written past its buffer at " << i;
    EXPECT_NE(nullptr, memchr(full, 0, STATUS_TEXT_SIZE)) << "full text not terminated";
    EXPECT_NE(nullptr, memchr(main, 0, STATUS_TEXT_SIZE)) << "main text not terminated";
    EXPECT_NE(nullptr, memchr(battery, 0, BATTERY_TEXT_SIZE)) << "battery text not terminated";
    return {full, main, battery};
}

TEST_F(StatusTest, TextIsMadeOfItsPiecesWithinItsBuffers)
{
    std::string t89(STATUS_TEXT_SIZE - 1, 't'), t200(200, 't'), t40(40, 't');
    std::string d49(DATE_TEXT_SIZE - 1, 'd');
    struct Case {
        const char* time;
        const char* date;
        long memoryK;
        int percent;
        const char* full; // null: too long, only cut to the buffer
        const char* main;
        const char* battery;
    } cases[] = {
        {"12:34", nullptr, -1, -1, "12:34", "12:34", ""},
        {"12:34", "07.12.2026", -1, -1, "12:34  07.12.2026", "12:34  07.12.2026", ""},
        {"9:05 PM", nullptr, 0, -1, "9:05 PM  0k", "9:05 PM  0k", ""},
        {"12:34", nullptr, -1, 0, "12:34  0%", "12:34", "  0%"},
        {"12:34", "", 512, -1, "12:34    512k", "12:34    512k", ""},
        {"12:34", "1/2/26", 2048, 255, "12:34  1/2/26  2048k  255%", "12:34  1/2/26  2048k",
         "  255%"},
        {t89.c_str(), d49.c_str(), 2097151, 255, nullptr, nullptr, "  255%"},
        {t200.c_str(), nullptr, -1, -1, nullptr, nullptr, ""},
        {t40.c_str(), d49.c_str(), 2097151, 100, nullptr, nullptr, "  100%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "time of " << strlen(c.time) << " characters");
        Composed got = compose(c.time, c.date, c.memoryK, c.percent);
        EXPECT_EQ(c.battery, got.battery);
        if (c.full) {
            EXPECT_EQ(c.full, got.full);
            EXPECT_EQ(c.main, got.main);
            continue;
        }
        EXPECT_EQ((size_t)STATUS_TEXT_SIZE - 1, got.full.size());
        std::string time(c.time);
        EXPECT_EQ(time.substr(0, got.full.size()), got.full.substr(0, time.size()))
            << "the text does not begin with the time";
        EXPECT_EQ(got.main, got.full.substr(0, got.main.size()));
    }
}

TEST_F(StatusTest, BatteryColourByCharge)
{
    struct Case {
        int percent;
        COLORREF colour;
    } cases[] = {{255, 0x8000}, {100, 0x8000}, {26, 0x8000}, {25, 0xFFFF},
                 {11, 0xFFFF},  {10, 0xC0},    {0, 0xC0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.colour, batteryColor(c.percent)) << "charge " << c.percent << "%";
}

TEST_F(StatusTest, TextStandsAtTheRightEndCentredInTheBar)
{
    EXPECT_EQ(1024 - 100 - 7, statusLeft(1024, 100));
    EXPECT_EQ(640 - 1 - 7, statusLeft(640, 1));
    struct Case {
        int menuHeight, textHeight, top;
    } cases[] = {
#ifdef ZENTOR_NT3
        {19, 16, 6}, {20, 16, 7}, {18, 13, 7}, {19, 19, 5}, {19, 30, 0},
#else
        {19, 16, 4}, {20, 16, 4}, {18, 13, 5}, {19, 19, 2}, {19, 30, -3},
#endif
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.top, statusTop(c.menuHeight, c.textHeight))
            << "menu " << c.menuHeight << ", text " << c.textHeight;
}

TEST_F(StatusTest, ChimeSoundsOncePerHour)
{
    // Wine's PlaySoundA with SND_ASYNC returns TRUE even for a missing file,
    // so under Wine the failure box never comes; the latch is what we check,
    // and that no hour ever brings more than one box.
    userOptions.chimeHourly = 1;
    copyField(userOptions.wavFile, "C:\\zentor-tests\\no-such-chime.wav");
    struct Step {
        int chimeHourly, minute, latchAfter;
        bool newHour; // a new hour starts with this step
    } steps[] = {
        {1, 59, 0, false}, {1, 0, 1, true},   {1, 0, 1, false}, {1, 0, 1, false},
        {1, 1, 0, false},  {1, 1, 0, false},  {1, 2, 0, false}, {1, 0, 1, true},
        // No refresh in minute 1: the latch stays and the next hour is skipped.
        {1, 5, 1, false},  {1, 0, 1, true},   {1, 1, 0, false},
        // The chime off: minute 0 leaves the latch, minute 1 still clears it.
        {0, 0, 0, true},   {1, 0, 1, true},   {0, 1, 0, false}, {0, 0, 0, true},
    };
    size_t boxesBefore = 0;
    int i = 0;
    for (const Step& s : steps) {
        if (s.newHour)
            boxesBefore = recordedBoxes.size();
        userOptions.chimeHourly = s.chimeHourly;
        chimeCheck(s.minute);
        EXPECT_EQ(s.latchAfter, chimePlayed) << "step " << i << ", minute " << s.minute;
        EXPECT_LE(recordedBoxes.size() - boxesBefore, 1u) << "step " << i;
        i++;
    }
    for (const RecordedBox& box : recordedBoxes) {
        EXPECT_EQ("Error playing WAV file.\nCheck path and filename.", box.text);
        EXPECT_EQ("Zentor", box.caption);
        EXPECT_EQ((UINT)MB_ICONWARNING, box.type);
    }
}

// The bar's whole window as 32-bit pixels.
std::vector<DWORD> snapshot(int width, int height)
{
    std::vector<DWORD> pixels((size_t)width * height);
    HDC window = GetWindowDC(barWindow);
    HDC memory = CreateCompatibleDC(window);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
    GdiFlush();
    memcpy(pixels.data(), bits, pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(barWindow, window);
    return pixels;
}

// Width of the time text in the font the bar draws it in.
int timeTextWidth()
{
    char time[STATUS_TEXT_SIZE] = "";
    GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, sizeof time);
    HDC dc = GetWindowDC(barWindow);
#ifdef ZENTOR_NT3
    HFONT font = nullptr;
#else
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = NONCLIENT_METRICS_SIZE;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
#endif
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, time, (int)strlen(time), &extent);
    if (old)
        SelectObject(dc, old);
    if (font)
        DeleteObject(font);
    ReleaseDC(barWindow, dc);
    return extent.cx;
}

TEST_F(StatusTest, TextIsPaintedAtTheRightEndOfTheBar)
{
    userOptions.alwaysOnTop = 1;
    userOptions.autoHide = 1;
    // A menu bar with one short menu, as the user has it; its right end is free.
    MenuNode* menu = newMenuNode();
    copyField(menu->name, "&Tools");
    appendMenu(menu);
    AppNode* app = newAppNode();
    copyField(app->name, "Notepad");
    copyField(app->path, "notepad.exe");
    appendApp(menu, app);
    popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
    ASSERT_TRUE(registerBarClass());
    ASSERT_EQ(1, createBar());
    const int W = GetSystemMetrics(SM_CXSCREEN);
    const int H = GetSystemMetrics(SM_CYMENU) + BAR_EXTRA_HEIGHT;
    // Shown, not moving, and a time-only text.
    SetWindowPos(barWindow, HWND_TOPMOST, 0, 0, W, H, SWP_NOACTIVATE);

    // The bar without its text: a hidden bar paints none.
    barShown = 0;
    RedrawWindow(barWindow, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpMessages(0);
    std::vector<DWORD> bare = snapshot(W, H);

    barShown = 1;
    const int width = timeTextWidth();
    ASSERT_GT(width, 0);
    int leftmost = W, rightmost = -1;
    auto painted = [&] {
        updateStatus();
        std::vector<DWORD> now = snapshot(W, H);
        leftmost = W;
        rightmost = -1;
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++)
                if (now[(size_t)y * W + x] != bare[(size_t)y * W + x]) {
                    leftmost = x < leftmost ? x : leftmost;
                    rightmost = x > rightmost ? x : rightmost;
                }
        return rightmost >= 0;
    };
    ASSERT_TRUE(until(painted, 5000)) << "no status text appeared on the bar";
    // Glyphs keep a pixel or two of side bearing inside their advance.
    EXPECT_LT(rightmost, W - STATUS_RIGHT_MARGIN) << "text reaches into the right margin";
    EXPECT_GE(rightmost, W - STATUS_RIGHT_MARGIN - 4) << "text ends too far from the right edge";
    EXPECT_GE(leftmost, W - STATUS_RIGHT_MARGIN - width - 1) << "text starts too far left";
    EXPECT_LE(leftmost, W - STATUS_RIGHT_MARGIN - width + 4) << "text starts too far right";
}

}  // namespace
