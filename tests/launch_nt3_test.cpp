// Launching in the zentornt3 build: one ShellExecuteA call with the item's
// own fields. The recording shell call either passes the call on to the real
// shell (the probe then reports what arrived) or answers with a chosen number.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "bar/bar_window.h"
#include "fake_shell_call_nt3.h"
#include "launch/launch.h"
#include "menus/menu_bar.h"
#include "menus/menu_list.h"
#include "options/options.h"
#include "probe_reader.h"
#include "test_support.h"

namespace {

std::string testDir;
std::string probeOut;
HHOOK cbtHook;
std::vector<std::string> shellBoxes;

// Closes any box of the shell's own at once, keeping its text.
LRESULT CALLBACK closeShellBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    // The shell reads its error code after its box; the hook must not change it.
    DWORD error = GetLastError();
    if (code == HCBT_ACTIVATE) {
        char name[32] = "";
        GetClassNameA((HWND)wParam, name, sizeof name);
        if (!strcmp(name, "#32770")) {
            char body[512] = "";
            GetDlgItemTextA((HWND)wParam, 0xFFFF, body, sizeof body);
            shellBoxes.push_back(body);
            PostMessageA((HWND)wParam, WM_COMMAND, IDOK, 0);
        }
    }
    LRESULT result = CallNextHookEx(cbtHook, code, wParam, lParam);
    SetLastError(error);
    return result;
}

AppNode* makeApp(const char* name, const std::string& path, const std::string& parameters,
                 const std::string& workingDir, int showCommand)
{
    AppNode* a = newAppNode();
    lstrcpynA(a->name, name, sizeof a->name);
    lstrcpynA(a->path, path.c_str(), sizeof a->path);
    lstrcpynA(a->parameters, parameters.c_str(), sizeof a->parameters);
    lstrcpynA(a->workingDir, workingDir.c_str(), sizeof a->workingDir);
    a->showCommand = showCommand;
    return a;
}

class LaunchNt3Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        recordedShellCalls.clear();
        shellAnswer = -1;
        shellBoxes.clear();
        testDir = enterFreshDirectory("launch3");
        probeOut = testDir + "\\probe-out.txt";
        SetEnvironmentVariableA("ZENTOR_PROBE_OUT", probeOut.c_str());
        cbtHook = SetWindowsHookExA(WH_CBT, closeShellBoxes, nullptr, GetCurrentThreadId());
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(cbtHook);
        if (barWindow) {
            removeBar();
            barWindow = nullptr;
        }
        freeAllMenus();
        SetEnvironmentVariableA("ZENTOR_PROBE_OUT", nullptr);
    }
};

TEST_F(LaunchNt3Test, ItemFieldsReachTheProgram)
{
    std::string workDir = testDir + "\\start here";
    CreateDirectoryA(workDir.c_str(), nullptr);
    struct {
        int stored, shown;
    } cases[] = {{0, SW_RESTORE}, {3, 3}, {6, 6}};
    for (auto& c : cases) {
        SCOPED_TRACE("showCommand " + std::to_string(c.stored));
        DeleteFileA(probeOut.c_str());
        recordedShellCalls.clear();
        AppNode* app = makeApp("&Probe", probePath(), "beta \"two words\"", workDir, c.stored);

        EXPECT_EQ(1, launchApp(app));
        EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
        ASSERT_EQ(1u, recordedShellCalls.size());
        const RecordedShellCall& call = recordedShellCalls[0];
        EXPECT_EQ("open", call.verb);
        EXPECT_EQ(probePath(), call.file);
        EXPECT_EQ("beta \"two words\"", call.parameters);
        EXPECT_EQ(workDir, call.directory);
        EXPECT_EQ(c.shown, call.show);

        auto probe = probeResult(probeOut);
        ASSERT_FALSE(probe.empty()) << "the probe did not run";
        const std::string& cmdline = probe["cmdline"];
        EXPECT_NE(std::string::npos, cmdline.find(" beta \"two words\"")) << cmdline;
        EXPECT_EQ(0, lstrcmpiA(workDir.c_str(), probe["cwd"].c_str())) << probe["cwd"];
        EXPECT_EQ(std::to_string(c.shown), probe["show"]);
        freeApp(app);
    }
}

// No shortcut handling and no expansion here: the shell gets the item as it is.
TEST_F(LaunchNt3Test, PathGoesToTheShellUnchanged)
{
    // Wine's ShellExecuteA expands %VAR% itself, so only what the program
    // passes is checked; the call is answered without starting anything.
    shellAnswer = 42;
    SetEnvironmentVariableA("ZT_PROBE_DIR", "C:\\windows");
    struct {
        const char* path;
        const char* dir;
    } cases[] = {
        {"C:\\links\\PROBE.LNK", "C:\\links"},
        {"%ZT_PROBE_DIR%\\launch_probe.exe", "%ZT_PROBE_DIR%"},
        {"%WINDIR%\\notepad.exe", "%WINDIR%"},
    };
    for (auto& c : cases) {
        recordedShellCalls.clear();
        AppNode* app = makeApp("&Item", c.path, "item args", c.dir, 6);
        EXPECT_EQ(1, launchApp(app)) << c.path;
        ASSERT_EQ(1u, recordedShellCalls.size()) << c.path;
        EXPECT_EQ(c.path, recordedShellCalls[0].file);
        EXPECT_EQ(c.dir, recordedShellCalls[0].directory);
        EXPECT_EQ("item args", recordedShellCalls[0].parameters);
        EXPECT_EQ(6, recordedShellCalls[0].show);
        freeApp(app);
    }
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
    SetEnvironmentVariableA("ZT_PROBE_DIR", nullptr);
}

TEST_F(LaunchNt3Test, MissingFileIsReportedInAWarning)
{
    AppNode* app = makeApp("&Missing", testDir + "\\missing.exe", "", "", 0);
    EXPECT_EQ(0, launchApp(app));
    ASSERT_EQ(1u, recordedBoxes.size());
    EXPECT_EQ("File not found.", recordedBoxes[0].text);
    EXPECT_EQ("Zentor", recordedBoxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
    freeApp(app);
}

TEST_F(LaunchNt3Test, ShellResultDecidesTheWarning)
{
    struct {
        int result;
        const char* text; // null: started, no warning
    } cases[] = {
        {2, "File not found."},
        {3, "Path not found."},
        {11, "Error in executable file."},
        {5, "ShellExecute returned error code: 5"},
        {0, "ShellExecute returned error code: 0"},
        {32, "ShellExecute returned error code: 32"},
        {33, nullptr},
    };
    for (auto& c : cases) {
        clearBoxes();
        shellAnswer = c.result;
        AppNode* app = makeApp("&Item", "C:\\prog.exe", "", "", 0);
        EXPECT_EQ(c.text ? 0 : 1, launchApp(app)) << "result " << c.result;
        if (c.text) {
            ASSERT_EQ(1u, recordedBoxes.size()) << "result " << c.result;
            EXPECT_EQ(c.text, recordedBoxes[0].text);
        } else {
            EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
        }
        freeApp(app);
    }
}

TEST_F(LaunchNt3Test, FailedLaunchFromTheBarLeavesTheBarAsItWas)
{
    ASSERT_TRUE(registerBarClass());
    MenuNode* menu = newMenuNode();
    lstrcpynA(menu->name, "&Tools", sizeof menu->name);
    appendMenu(menu);
    appendApp(menu, makeApp("&Missing", "C:\\missing.exe", "", "", 0));
    ASSERT_TRUE(createBar());
    RECT before, after;
    GetWindowRect(barWindow, &before);
    int shownBefore = barShown;
    AppNode record = *menu->firstApp;

    shellAnswer = 2;
    SendMessageA(barWindow, WM_COMMAND, 101, 0);
    ASSERT_EQ(1u, recordedBoxes.size());
    EXPECT_EQ("File not found.", recordedBoxes[0].text);
    EXPECT_EQ(barWindow, recordedBoxes[0].owner);
    ASSERT_EQ(1u, recordedShellCalls.size());
    EXPECT_EQ(barWindow, recordedShellCalls[0].owner);

    GetWindowRect(barWindow, &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "top " << before.top << ", got " << after.top;
    EXPECT_EQ(shownBefore, barShown);
    EXPECT_EQ(menu, menuList);
    EXPECT_EQ(0, memcmp(&record, menu->firstApp, offsetof(AppNode, next)));
    HMENU popup = GetSubMenu(GetMenu(barWindow), 0);
    SendMessageA(barWindow, WM_INITMENUPOPUP, (WPARAM)popup, 0);
    EXPECT_EQ(1, GetMenuItemCount(popup));
    ASSERT_NE(nullptr, commandMap);
    EXPECT_EQ(101, commandMap->id);
}

}  // namespace
