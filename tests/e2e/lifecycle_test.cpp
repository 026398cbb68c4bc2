// The bar through the life of a session: log-off, a change of screen size,
// and a second start while the first one still greets the user.
#include "driver.h"

namespace {

const UINT CMD_EXIT = 40006;

int extraHeight(const std::string& variant)
{
    return variant == "zentornt3" ? 10 : 5;
}

RECT rectOf(HWND window)
{
    RECT rc{};
    GetWindowRect(window, &rc);
    return rc;
}

class Lifecycle : public E2eTest, public ::testing::WithParamInterface<std::string> {};

INSTANTIATE_TEST_SUITE_P(E2e, Lifecycle, ::testing::Values("zentor", "zentornt3"));

TEST_P(Lifecycle, LogOffSavesMenusAndOptions)
{
    writeOptions("default", defaultOptions());
    Running& program = start(GetParam(), "+d");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar);

    // A cancelled end of the session changes nothing.
    SendMessageA(bar, WM_QUERYENDSESSION, 0, 0);
    SendMessageA(bar, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(bar));
    EXPECT_FALSE(fileExists(file("default.zt")));

    // The real end: Windows may end the process as soon as the message
    // returns, so everything must be saved by then.
    SendMessageA(bar, WM_QUERYENDSESSION, 0, 0);
    SendMessageA(bar, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ("", byteDifference(defaultDataFile(), readBytes(file("default.zt"))));
    std::vector<unsigned char> options;
    DWORD type = 0;
    ASSERT_TRUE(readOptions("default", &options, &type));
    ASSERT_EQ(108u, options.size());
    EXPECT_EQ(1, options[8]) << "displayDate not saved";
    ASSERT_TRUE(waitForEnd(program));
    EXPECT_EQ(0u, program.exitCode);
    EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
}

TEST_P(Lifecycle, BottomBarStaysOnALowerScreen)
{
    // Auto-hide off: zentor reserves its strip; zentornt3 hides all the same.
    writeOptions("default", defaultOptions());
    Running& program = start(GetParam(), "+b -a");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar);

    const int lower = GetSystemMetrics(SM_CYSCREEN) - 168;
    const int height = GetSystemMetrics(SM_CYMENU) + extraHeight(GetParam());
    SendMessageA(bar, WM_DISPLAYCHANGE, 24, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), lower));
    // Shown, the bar ends at the screen's bottom; hidden, its 2-pixel strip
    // is the screen's last two rows.
    HWND remade = nullptr;
    EXPECT_TRUE(waitFor([&] {
        remade = findWindowOf(program, "ZTClass");
        RECT rc = rectOf(remade);
        return remade && rc.bottom - rc.top == height && (rc.bottom == lower || rc.top == lower - 2);
    })) << "bar at " << rectOf(remade).top << ".." << rectOf(remade).bottom << ", screen now "
        << lower << " high";

    PostMessageA(remade, WM_COMMAND, CMD_EXIT, 0);
    ASSERT_TRUE(waitForEnd(program));
    EXPECT_EQ(0u, program.exitCode);
    EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
}

TEST_F(E2eTest, SecondStartDuringTheGreetingIsRefused)
{
    deleteOptions("fred");
    Running& first = start("zentor", "");
    HWND greeting = nullptr;
    ASSERT_TRUE(waitFor([&] { return (greeting = findWindowOf(first, "#32770")) != nullptr; }));

    // Another profile and the other program are one bar too.
    const struct { const char* variant; const char* args; } copies[] = {
        {"zentor", ""}, {"zentornt3", "fred"}};
    for (const auto& copy : copies) {
        SCOPED_TRACE(std::string(copy.variant) + " " + copy.args);
        Running& second = start(copy.variant, copy.args);
        bool showedWindow = false;
        EXPECT_TRUE(waitFor([&] {
            showedWindow |= !windowsOf(second, nullptr).empty();
            return WaitForSingleObject(second.info.hProcess, 0) == WAIT_OBJECT_0;
        })) << "the second copy keeps running";
        GetExitCodeProcess(second.info.hProcess, &second.exitCode);
        second.ended = true;
        EXPECT_EQ(0u, second.exitCode);
        EXPECT_FALSE(showedWindow);
    }
    HWND bar = waitForBar(first);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(bar, FindWindowA("ZTClass", "Zentor"));
    std::vector<unsigned char> options;
    DWORD type = 0;
    EXPECT_FALSE(readOptions("fred", &options, &type)) << "a refused copy wrote its profile's key";
    PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
    ASSERT_TRUE(waitForEnd(first));
}

}  // namespace
