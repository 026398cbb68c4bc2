// When the shell starts again it broadcasts "TaskbarCreated"; zentor then
// registers its bar anew exactly as when it made it, and zentornt3, which
// has no shell to dock with, ignores the message.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "bar/bar_window.h"
#include "options/options.h"
#include "resource.h"
#include "test_support.h"

#ifndef ZENTOR_NT3
struct DockCall {
    DWORD message;
    APPBARDATA data;
};
extern std::vector<DockCall> dockCalls;
void resetFakeDock();
#endif

namespace {

RECT barRect()
{
    RECT r{};
    GetWindowRect(barWindow, &r);
    return r;
}

#ifndef ZENTOR_NT3
// The calls that register the bar, each in the fields it is sent for,
// without the notifications of the bar's moves; the record is emptied.
std::vector<std::string> takeDockingCalls()
{
    std::vector<std::string> out;
    for (const DockCall& c : dockCalls) {
        const APPBARDATA& d = c.data;
        if (c.message == ABM_WINDOWPOSCHANGED || c.message == ABM_ACTIVATE)
            continue;
        std::ostringstream call;
        call << "message " << c.message << " size " << d.cbSize << " window "
             << (d.hWnd == barWindow) << " callback " << d.uCallbackMessage << " edge " << d.uEdge;
        if (c.message == ABM_SETAUTOHIDEBAR)
            call << " auto-hide " << d.lParam;
        if (c.message == ABM_QUERYPOS || c.message == ABM_SETPOS)
            call << " rect " << d.rc.left << "," << d.rc.top << "," << d.rc.right << ","
                 << d.rc.bottom;
        out.push_back(call.str());
    }
    dockCalls.clear();
    return out;
}
#endif

TEST(ShellRestart, RegistersTheBarAgainAsWhenItWasMade)
{
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    for (int autoHide : {1, 0}) {
        for (int bottom : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "autoHide " << autoHide << " bottom " << bottom);
            resetProgramState();
#ifndef ZENTOR_NT3
            resetFakeDock();
#endif
            userOptions.autoHide = autoHide;
            userOptions.bottom = bottom;
            popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
            ASSERT_TRUE(registerBarClass() && createBar());
            const RECT made = barRect();
#ifndef ZENTOR_NT3
            const std::vector<std::string> onCreation = takeDockingCalls();
#endif
            SendMessageA(barWindow, taskbarCreated, 0, 0);
            const RECT now = barRect();
            EXPECT_TRUE(EqualRect(&made, &now)) << "bar moved to top " << now.top;
#ifndef ZENTOR_NT3
            EXPECT_EQ(onCreation, takeDockingCalls());
#endif
            EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
            removeBar();
        }
    }
    resetProgramState();
}

}  // namespace
