// When the shell starts again it broadcasts "TaskbarCreated"; zentor then
// registers its bar anew exactly as when it made it, and zentornt3, which
// has no shell to dock with, ignores the message.
#include <gtest/gtest.h>

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
// The calls that register the bar, without the notifications of its moves.
std::vector<DockCall> takeDockingCalls()
{
    std::vector<DockCall> out;
    for (const DockCall& c : dockCalls)
        if (c.message != ABM_WINDOWPOSCHANGED && c.message != ABM_ACTIVATE)
            out.push_back(c);
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
            const std::vector<DockCall> onCreation = takeDockingCalls();
#endif
            SendMessageA(barWindow, taskbarCreated, 0, 0);
            const RECT now = barRect();
            EXPECT_TRUE(EqualRect(&made, &now)) << "bar moved to top " << now.top;
#ifndef ZENTOR_NT3
            const std::vector<DockCall> again = takeDockingCalls();
            ASSERT_EQ(onCreation.size(), again.size());
            // Each call as on creation, in the fields it is sent for.
            for (size_t i = 0; i < again.size(); i++) {
                const DockCall& was = onCreation[i];
                const DockCall& is = again[i];
                SCOPED_TRACE(testing::Message() << "call " << i << ", message " << is.message);
                EXPECT_EQ(was.message, is.message);
                EXPECT_EQ(36u, is.data.cbSize);
                EXPECT_EQ(barWindow, is.data.hWnd);
                EXPECT_EQ(0u, is.data.uCallbackMessage);
                EXPECT_EQ(was.data.uEdge, is.data.uEdge);
                if (is.message == ABM_SETAUTOHIDEBAR)
                    EXPECT_EQ(1, is.data.lParam);
                if (is.message == ABM_QUERYPOS || is.message == ABM_SETPOS)
                    EXPECT_TRUE(EqualRect(&was.data.rc, &is.data.rc))
                        << "rect " << is.data.rc.top << ".." << is.data.rc.bottom << ", was "
                        << was.data.rc.top << ".." << was.data.rc.bottom;
            }
#endif
            EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
            removeBar();
        }
    }
    resetProgramState();
}

}  // namespace
