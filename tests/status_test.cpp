// The status text at the right end of the bar and the hourly chime.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "bar/bar_window.h"
#include "bar/status.h"
#include "app/start_paths.h"
#include "menus/menu_list.h"
#include "options/options.h"
#include "resource.h"
#include "test_support.h"

// The fakes of the power status and the sound call.
#ifndef ZENTOR_NT3
extern SYSTEM_POWER_STATUS fakePowerStatus;
#endif
extern std::vector<std::string> playedSounds;
extern BOOL playAnswer;

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
    std::string t89(STATUS_TEXT_SIZE - 1, 't'), t90(STATUS_TEXT_SIZE, 't'), t200(200, 't'),
        t40(40, 't');
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
        {t90.c_str(), nullptr, -1, -1, nullptr, nullptr, ""}, // exactly the buffer's size
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
    // The file cannot be played: every start of the chime brings the box.
    playedSounds.clear();
    playAnswer = FALSE;
    userOptions.chimeHourly = 1;
    copyField(userOptions.wavFile, "C:\\chimes\\hour.wav");
    struct Step {
        int chimeHourly, minute, latchAfter;
        bool plays; // this step starts the chime
    } steps[] = {
        {1, 59, 0, false}, {1, 0, 1, true},   {1, 0, 1, false}, {1, 0, 1, false},
        {1, 1, 0, false},  {1, 1, 0, false},  {1, 2, 0, false}, {1, 0, 1, true},
        // No refresh in minute 1: the latch stays and the next hour is skipped.
        {1, 5, 1, false},  {1, 0, 1, false},  {1, 1, 0, false},
        // The chime off: minute 0 leaves the latch, minute 1 still clears it.
        {0, 0, 0, false},  {1, 0, 1, true},   {0, 1, 0, false}, {0, 0, 0, false},
    };
    size_t plays = 0;
    int i = 0;
    for (const Step& s : steps) {
        userOptions.chimeHourly = s.chimeHourly;
        chimeCheck(s.minute);
        plays += s.plays;
        EXPECT_EQ(s.latchAfter, chimePlayed) << "step " << i << ", minute " << s.minute;
        EXPECT_EQ(plays, playedSounds.size()) << "step " << i;
        EXPECT_EQ(plays, recordedBoxes.size()) << "step " << i;
        i++;
    }
    for (const std::string& path : playedSounds)
        EXPECT_EQ(userOptions.wavFile, path);
    for (const RecordedBox& box : recordedBoxes) {
        EXPECT_EQ("Error playing WAV file.\nCheck path and filename.", box.text);
        EXPECT_EQ("Zentor", box.caption);
        EXPECT_EQ((UINT)MB_ICONWARNING, box.type);
    }
    // A chime that starts shows nothing; a relative file is the one in the
    // folder the bar started in, whatever folder is current now.
    playAnswer = TRUE;
    userOptions.chimeHourly = 1;
    copyField(userOptions.wavFile, "hour.wav");
    copyField(startDirectory, "C:\\started\\here");
    clearBoxes();
    chimeCheck(1);
    chimeCheck(0);
    startDirectory[0] = '\0';
    EXPECT_EQ(plays + 1, playedSounds.size());
    EXPECT_EQ("C:\\started\\here\\hour.wav", playedSounds.back());
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
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

std::string timeText()
{
    char time[STATUS_TEXT_SIZE] = "";
    GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, sizeof time);
    return time;
}

// Width of a text in the font the bar draws it in.
int textWidth(const std::string& text)
{
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
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &extent);
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
    // Without auto-hide no change of activation can move the bar meanwhile.
    userOptions.autoHide = 0;
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
    const int right = W - STATUS_RIGHT_MARGIN; // where the text must end
    SetWindowPos(barWindow, HWND_TOPMOST, 0, 0, W, H, SWP_NOACTIVATE);

    struct Case {
        const char* what;
        int onBattery;
        BYTE percent;
        DWORD pixel; // the charge's colour as the snapshot holds it
    } cases[] = {
        {"on the AC line", 0, 0, 0},
#ifndef ZENTOR_NT3
        {"on battery at 8%", 1, 8, 0xC00000},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        onBattery = c.onBattery;
#ifndef ZENTOR_NT3
        fakePowerStatus.BatteryLifePercent = c.percent;
#endif
        const std::string charge = c.onBattery ? "  " + std::to_string(c.percent) + "%" : "";
        int width = 0, leftmost = 0, rightmost = 0, chargeLeft = 0, chargeRight = 0;
        // The bar without its text (a hidden bar paints none), then with it; a
        // minute that turns over meanwhile changes the text, so it is measured
        // again.
        auto painted = [&] {
            const std::string time = timeText();
            barShown = 0;
            RedrawWindow(barWindow, nullptr, nullptr,
                         RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            std::vector<DWORD> bare = snapshot(W, H);
            barShown = 1;
            updateStatus();
            std::vector<DWORD> now = snapshot(W, H);
            if (timeText() != time)
                return false;
            width = textWidth(time + charge);
            leftmost = chargeLeft = W;
            rightmost = chargeRight = -1;
            for (int y = 0; y < H; y++)
                for (int x = 0; x < W; x++) {
                    DWORD pixel = now[(size_t)y * W + x];
                    if (pixel == bare[(size_t)y * W + x])
                        continue;
                    leftmost = x < leftmost ? x : leftmost;
                    rightmost = x > rightmost ? x : rightmost;
                    if (c.onBattery && (pixel & 0xFFFFFF) == c.pixel) {
                        chargeLeft = x < chargeLeft ? x : chargeLeft;
                        chargeRight = x > chargeRight ? x : chargeRight;
                    }
                }
            return rightmost >= 0;
        };
        ASSERT_TRUE(until(painted, 5000)) << "no status text appeared on the bar";
        // Glyphs keep a pixel or two of side bearing inside their advance.
        EXPECT_LT(rightmost, right) << "text reaches into the right margin";
        EXPECT_GE(rightmost, right - 4) << "text ends too far from the right edge";
        EXPECT_GE(leftmost, right - width - 1) << "text starts too far left";
        EXPECT_LE(leftmost, right - width + 4) << "text starts too far right";
        if (!c.onBattery)
            continue;
        // The charge, in its colour, stands at the end of the text.
        ASSERT_GE(chargeRight, 0) << "no pixel in the charge's colour";
        EXPECT_GE(chargeLeft, right - textWidth(charge)) << "charge starts too far left";
        EXPECT_LT(chargeRight, right) << "charge reaches into the right margin";
    }
}

}  // namespace
