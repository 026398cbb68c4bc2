// The shell starting again: it has forgotten every bar and broadcasts
// "TaskbarCreated". zentor registers its bar again, reserving its strip or
// as an auto-hide bar; zentornt3 has no shell docking and ignores it. The
// test makes the shell forget the bar itself (Wine's shell keeps its bars by
// window alone, whoever asks) and reads the shell's record from outside.
#include "driver.h"

#include <shellapi.h>

namespace {

const UINT CMD_EXIT = 40006;

// Where the shell would put the top of a new bar at the top edge: below
// every strip reserved there.
LONG freeTop()
{
    APPBARDATA data{};
    data.cbSize = sizeof data;
    data.hWnd = GetDesktopWindow();
    data.uEdge = ABE_TOP;
    data.rc = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SHAppBarMessage(ABM_QUERYPOS, &data);
    return data.rc.top;
}

void forgetBar(HWND bar)
{
    APPBARDATA data{};
    data.cbSize = sizeof data;
    data.hWnd = bar;
    SHAppBarMessage(ABM_REMOVE, &data);
}

// Whether the shell holds the window as a bar: it refuses to take one twice.
bool knowsBar(HWND bar)
{
    APPBARDATA data{};
    data.cbSize = sizeof data;
    data.hWnd = bar;
    if (!SHAppBarMessage(ABM_NEW, &data))
        return true;
    forgetBar(bar);
    return false;
}

TEST_F(E2eTest, ShellRestartRegistersTheBarAgain)
{
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    const struct {
        const char* variant;
        const char* args;
        bool docks, strip;
    } cases[] = {{"zentor", "-a", true, true}, {"zentor", "+a", true, false},
                 {"zentornt3", "", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.variant) + " " + c.args);
        boxes.clear();
        writeOptions("default", defaultOptions());
        Running& program = start(c.variant, c.args);
        HWND bar = waitForBar(program);
        ASSERT_NE(nullptr, bar);
        RECT rc{};
        GetWindowRect(bar, &rc);
        const LONG stripBottom = c.strip ? rc.bottom : 0;
        EXPECT_TRUE(waitFor([&] { return freeTop() == stripBottom; })) << "free top " << freeTop();
        EXPECT_EQ(c.docks, knowsBar(bar));

        forgetBar(bar);
        EXPECT_EQ(0, freeTop());
        // Sent, not posted: the probes below register and remove the bar
        // themselves and must not meet the bar halfway through its own.
        SendMessageTimeoutA(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        if (c.docks) {
            EXPECT_TRUE(waitFor([&] { return knowsBar(bar) && freeTop() == stripBottom; }))
                << "free top " << freeTop() << ", strip bottom " << stripBottom;
        }

        // The exit comes after the broadcast: a bar that took the message as
        // registering itself would be left behind in the shell (zentornt3
        // never tells the shell it goes).
        PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
        ASSERT_TRUE(waitForEnd(program));
        EXPECT_EQ(0u, program.exitCode);
        EXPECT_FALSE(knowsBar(bar));
        EXPECT_EQ(0, freeTop());
        EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
    }
}

}  // namespace
