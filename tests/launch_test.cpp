// Launching in the zentor build: the probe program is started through the
// real shell, and what it was given is read back from the file it writes.
#include <gtest/gtest.h>


#include <map>
#include <string>
#include <vector>

#include "bar/bar_window.h"
#include "launch/launch.h"
#include "launch/shell_call.h"
#include "menus/menu_bar.h"
#include "menus/menu_list.h"
#include "options/options.h"
#include "probe_reader.h"
#include "shortcut.h"
#include "test_support.h"

namespace {

// One ShellExecuteExA request as the program filled it, and how many shell
// windows the test had seen (and closed) by then.
struct ShellRequest {
    DWORD size;
    ULONG mask;
    HWND owner;
    std::string verb, file, parameters, directory;
    int show;
    int windowsBefore;
};
std::vector<ShellRequest> shellRequests;

// Texts of the shell's own boxes, closed by the hook as soon as they appear.
std::vector<std::string> shellBoxes;
HHOOK cbtHook;

std::string text(const char* s) { return s ? s : "(null)"; }

LRESULT CALLBACK closeShellBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    // The shell reads its error code after its box; the hook must not change it.
    DWORD error = GetLastError();
    if (code == HCBT_ACTIVATE) {
        HWND window = (HWND)wParam;
        char name[32] = "";
        GetClassNameA(window, name, sizeof name);
        if (!strcmp(name, "#32770")) {
            char body[512] = "";
            GetDlgItemTextA(window, 0xFFFF, body, sizeof body);
            shellBoxes.push_back(body);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
    }
    LRESULT result = CallNextHookEx(cbtHook, code, wParam, lParam);
    SetLastError(error);
    return result;
}

}  // namespace

// Records the request, then lets the real shell carry it out.
BOOL shellExecuteEx(SHELLEXECUTEINFOA* r)
{
    shellRequests.push_back({r->cbSize, r->fMask, r->hwnd, text(r->lpVerb), text(r->lpFile),
                             text(r->lpParameters), text(r->lpDirectory), r->nShow,
                             (int)shellBoxes.size()});
    // Wine's own error box clears the last error (Windows keeps it); the
    // program then falls back to the shell's code in hInstApp.
    return ShellExecuteExA(r);
}

namespace {

std::string testDir;
std::string probeOut;

std::string directoryOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool samePath(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
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

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        shellRequests.clear();
        shellBoxes.clear();
        // A short name: item paths hold at most 79 characters.
        testDir = enterFreshDirectory("launch");
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

TEST_F(LaunchTest, ItemFieldsReachTheProgram)
{
    std::string workDir = testDir + "\\start here";
    CreateDirectoryA(workDir.c_str(), nullptr);
    struct {
        int stored, shown;
    } cases[] = {{0, SW_RESTORE}, {3, 3}, {6, 6}, {9, 9}};
    for (auto& c : cases) {
        SCOPED_TRACE("showCommand " + std::to_string(c.stored));
        DeleteFileA(probeOut.c_str());
        shellRequests.clear();
        AppNode* app = makeApp("&Probe", probePath(), "alpha \"two words\" 3", workDir, c.stored);
        AppNode before = *app;

        EXPECT_EQ(1, launchApp(app));
        EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
        ASSERT_EQ(1u, shellRequests.size());
        const ShellRequest& r = shellRequests[0];
        EXPECT_EQ(sizeof(SHELLEXECUTEINFOA), r.size);
        EXPECT_EQ((ULONG)SEE_MASK_DOENVSUBST, r.mask);
        EXPECT_EQ("open", r.verb);
        EXPECT_EQ(c.shown, r.show);

        auto probe = probeResult(probeOut);
        ASSERT_FALSE(probe.empty()) << "the probe did not run";
        EXPECT_TRUE(endsWith(probe["cmdline"], " alpha \"two words\" 3")) << probe["cmdline"];
        EXPECT_TRUE(samePath(workDir, probe["cwd"])) << probe["cwd"];
        EXPECT_EQ(STARTF_USESHOWWINDOW, std::stoul(probe["flags"]) & STARTF_USESHOWWINDOW);
        EXPECT_EQ(std::to_string(c.shown), probe["show"]);
        EXPECT_EQ(0, memcmp(&before, app, sizeof before)) << "launching changed the item";
        freeApp(app);
    }
}

TEST_F(LaunchTest, ShortcutInCapitalsStartsItsTargetWithItsOwnFields)
{
    std::string linkDir = testDir + "\\link dir";
    CreateDirectoryA(linkDir.c_str(), nullptr);
    std::string linkPath = testDir + "\\PROBE.LNK";
    ASSERT_TRUE(makeShortcut(linkPath, probePath(), "from the link", linkDir, SW_SHOWMINNOACTIVE));

    char target[SHORTCUT_TEXT_SIZE], dir[SHORTCUT_TEXT_SIZE], args[SHORTCUT_TEXT_SIZE];
    int show = -1;
    ASSERT_TRUE(SUCCEEDED(resolveShortcut(nullptr, linkPath.c_str(), target, dir, args, &show)));
    char longTarget[MAX_PATH] = "";
    GetLongPathNameA(target, longTarget, sizeof longTarget);
    EXPECT_TRUE(samePath(probePath(), longTarget)) << target;
    EXPECT_TRUE(samePath(linkDir, dir)) << dir;
    EXPECT_STREQ("from the link", args);

    // The item's own parameters, directory and show command must not be used.
    AppNode* app = makeApp("&Link", linkPath, "item args", testDir, 3);
    EXPECT_EQ(1, launchApp(app));
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
    ASSERT_EQ(1u, shellRequests.size());
    EXPECT_EQ(std::string(target), shellRequests[0].file);
    EXPECT_EQ("from the link", shellRequests[0].parameters);
    EXPECT_EQ(std::string(dir), shellRequests[0].directory);
    // Wine reads back show command 1 whatever was saved, so check that the
    // launch passes the value the link object reports rather than the item's.
    EXPECT_EQ(show, shellRequests[0].show);

    auto probe = probeResult(probeOut);
    ASSERT_FALSE(probe.empty()) << "the shortcut's target did not run";
    EXPECT_TRUE(endsWith(probe["cmdline"], " from the link")) << probe["cmdline"];
    EXPECT_TRUE(samePath(linkDir, probe["cwd"])) << probe["cwd"];
    EXPECT_EQ(std::to_string(show), probe["show"]);
    freeApp(app);
}

TEST_F(LaunchTest, UnreadableShortcutWarnsAndStartsNothing)
{
    writeFileBytes(testDir + "\\x.lnk", {'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'n', 'k', 0, 7});
    writeFileBytes(testDir + "\\empty.Lnk", {});
    const char* names[] = {"x.lnk", "empty.Lnk", "absent.lnk"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        clearBoxes();
        shellRequests.clear();
        AppNode* app = makeApp("&Bad", testDir + "\\" + name, "", "", 0);
        EXPECT_EQ(0, launchApp(app));
        ASSERT_EQ(1u, recordedBoxes.size());
        EXPECT_EQ("Error executing link.", recordedBoxes[0].text);
        EXPECT_EQ("Zentor", recordedBoxes[0].caption);
        EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
        EXPECT_TRUE(shellRequests.empty()) << "started " << shellRequests[0].file;
        EXPECT_TRUE(shellBoxes.empty()) << "the shell showed " << shellBoxes[0];
        freeApp(app);
    }
}

TEST_F(LaunchTest, ShortcutToAVanishedTargetShowsNoShellWindowWhileResolving)
{
    std::string copy = testDir + "\\gone.exe";
    ASSERT_TRUE(CopyFileA(probePath().c_str(), copy.c_str(), FALSE));
    std::string linkPath = testDir + "\\gone.lnk";
    ASSERT_TRUE(makeShortcut(linkPath, copy, "", testDir, SW_SHOWNORMAL));
    DeleteFileA(copy.c_str());

    AppNode* app = makeApp("&Gone", linkPath, "", "", 0);
    EXPECT_EQ(0, launchApp(app));
    // Whether resolving fails or the shell refuses the missing target, no
    // shell window may have shown up before the shell was asked to start it.
    if (shellRequests.empty()) {
        ASSERT_EQ(1u, recordedBoxes.size());
        EXPECT_EQ("Error executing link.", recordedBoxes[0].text);
        EXPECT_TRUE(shellBoxes.empty()) << shellBoxes[0];
    } else {
        EXPECT_EQ(0, shellRequests[0].windowsBefore) << shellBoxes[0];
        ASSERT_EQ(1u, recordedBoxes.size());
        EXPECT_EQ("File/Executable not found.\nCheck menuitem setup.", recordedBoxes[0].text);
    }
    EXPECT_EQ(GetFileAttributesA(probeOut.c_str()), INVALID_FILE_ATTRIBUTES);
    freeApp(app);
}

TEST_F(LaunchTest, ShortcutIsKnownByItsLastFourCharacters)
{
    struct {
        const char* path;
        int shortcut;
    } cases[] = {
        {"a.lnk", 1},    {"A.LNK", 1},      {"a.LnK", 1},         {".lnk", 1},
        {"C:\\x\\y.lNk", 1}, {"lnk", 0},    {"", 0},              {"a.", 0},
        {"a.lnk ", 0},   {"a.lnkx", 0},     {"a.ink", 0},         {"C:\\d.lnk\\p.exe", 0},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.shortcut, isShortcut(c.path)) << "\"" << c.path << "\"";
}

TEST_F(LaunchTest, VariablesInPathAndDirectoryAreExpanded)
{
    SetEnvironmentVariableA("ZT_PROBE_DIR", directoryOf(probePath()).c_str());
    SetEnvironmentVariableA("ZT_WORK_DIR", testDir.c_str());
    AppNode* app = makeApp("&Var", "%ZT_PROBE_DIR%\\launch_probe.exe", "var", "%ZT_WORK_DIR%", 0);

    EXPECT_EQ(1, launchApp(app));
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
    ASSERT_EQ(1u, shellRequests.size());
    // The program leaves the expanding to the shell and asks for it.
    EXPECT_EQ("%ZT_PROBE_DIR%\\launch_probe.exe", shellRequests[0].file);
    EXPECT_TRUE(shellRequests[0].mask & SEE_MASK_DOENVSUBST);
    auto probe = probeResult(probeOut);
    ASSERT_FALSE(probe.empty()) << "the expanded path did not run";
    EXPECT_TRUE(endsWith(probe["cmdline"], " var")) << probe["cmdline"];
    EXPECT_TRUE(samePath(testDir, probe["cwd"])) << probe["cwd"];
    freeApp(app);
    SetEnvironmentVariableA("ZT_PROBE_DIR", nullptr);
    SetEnvironmentVariableA("ZT_WORK_DIR", nullptr);
}

TEST_F(LaunchTest, MissingFileIsReportedInAWarning)
{
    AppNode* app = makeApp("&Missing", testDir + "\\missing.exe", "", "", 0);
    EXPECT_EQ(0, launchApp(app));
    // The shell may show its own error box first (Wine does); the hook closed it.
    ASSERT_EQ(1u, recordedBoxes.size());
    EXPECT_EQ("File/Executable not found.\nCheck menuitem setup.", recordedBoxes[0].text);
    EXPECT_EQ("Zentor", recordedBoxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
    EXPECT_EQ(GetFileAttributesA(probeOut.c_str()), INVALID_FILE_ATTRIBUTES);
    freeApp(app);
}

TEST_F(LaunchTest, ErrorTextFollowsTheShellsError)
{
    struct {
        int err;
        const char* text;
    } cases[] = {
        {2, "File/Executable not found.\nCheck menuitem setup."},
        {3, "Path not found.\nCheck menuitem setup."},
        {8, "Insufficient memory to start application."},
        {1157, "A required DLL necessary to start\nthis application was not found."},
        {5, "ShellExecuteEx returned error code: 5"},
        {0, "ShellExecuteEx returned error code: 0"},
        {1155, "ShellExecuteEx returned error code: 1155"},
    };
    for (auto& c : cases) {
        char got[128];
        launchErrorText(got, sizeof got, c.err);
        EXPECT_STREQ(c.text, got) << "error " << c.err;
    }
    // A short buffer is cut, terminated, and not written past.
    char small[12];
    memset(small, 'Z', sizeof small);
    launchErrorText(small, 8, 2);
    EXPECT_STREQ("File/Ex", small);
    EXPECT_EQ('Z', small[8]);
}

// The state a failed launch must leave alone.
struct BarState {
    RECT rect;
    BOOL visible;
    int shown;
    int menus, items;
    std::vector<std::string> texts;
    std::vector<int32_t> ids;
    std::vector<unsigned char> records;
    UserOptions options;
};

BarState barState()
{
    BarState s;
    GetWindowRect(barWindow, &s.rect);
    s.visible = IsWindowVisible(barWindow);
    s.shown = barShown;
    HMENU bar = GetMenu(barWindow);
    s.menus = GetMenuItemCount(bar);
    HMENU popup = GetSubMenu(bar, 0);
    SendMessageA(barWindow, WM_INITMENUPOPUP, (WPARAM)popup, 0); // opened, as before a choice
    s.items = GetMenuItemCount(popup);
    for (int i = 0; i < s.items; i++) {
        char item[64] = "";
        GetMenuStringA(popup, i, item, sizeof item, MF_BYPOSITION);
        s.texts.push_back(item);
    }
    for (CommandMapEntry* e = commandMap; e; e = e->next)
        s.ids.push_back(e->id);
    for (MenuNode* m = menuList; m; m = m->next) {
        auto* bytes = (const unsigned char*)m;
        s.records.insert(s.records.end(), bytes, bytes + offsetof(MenuNode, next));
        for (AppNode* a = m->firstApp; a; a = a->next) {
            bytes = (const unsigned char*)a;
            s.records.insert(s.records.end(), bytes, bytes + offsetof(AppNode, next));
        }
    }
    s.options = userOptions;
    return s;
}

TEST_F(LaunchTest, FailedLaunchFromTheBarLeavesTheBarAsItWas)
{
    userOptions.autoHide = 0;
    userOptions.displayMemory = 1;
    ASSERT_TRUE(registerBarClass());
    MenuNode* menu = newMenuNode();
    lstrcpynA(menu->name, "&Tools", sizeof menu->name);
    appendMenu(menu);
    appendApp(menu, makeApp("&Missing", testDir + "\\missing.exe", "", "", 0));
    appendApp(menu, makeApp("&Probe", probePath(), "from the bar", testDir, 0));
    ASSERT_TRUE(createBar());
    BarState before = barState();

    SendMessageA(barWindow, WM_COMMAND, 101, 0);
    ASSERT_EQ(1u, recordedBoxes.size());
    EXPECT_EQ("File/Executable not found.\nCheck menuitem setup.", recordedBoxes[0].text);
    EXPECT_EQ(barWindow, recordedBoxes[0].owner);
    ASSERT_EQ(1u, shellRequests.size());
    EXPECT_EQ(barWindow, shellRequests[0].owner);

    BarState after = barState();
    EXPECT_TRUE(EqualRect(&before.rect, &after.rect))
        << "top " << before.rect.top << ", got " << after.rect.top;
    EXPECT_EQ(before.visible, after.visible);
    EXPECT_EQ(before.shown, after.shown);
    EXPECT_EQ(before.menus, after.menus);
    EXPECT_EQ(before.texts, after.texts);
    EXPECT_EQ(before.ids, after.ids);
    EXPECT_TRUE(before.records == after.records) << "the menu records changed";
    EXPECT_EQ(0, memcmp(&before.options, &after.options, sizeof before.options));
    EXPECT_EQ(GetFileAttributesA(probeOut.c_str()), INVALID_FILE_ATTRIBUTES);

    // The next item of the same menu still starts.
    clearBoxes();
    SendMessageA(barWindow, WM_COMMAND, 102, 0);
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
    auto probe = probeResult(probeOut);
    ASSERT_FALSE(probe.empty()) << "item 102 did not run";
    EXPECT_TRUE(endsWith(probe["cmdline"], " from the bar")) << probe["cmdline"];
}

}  // namespace
