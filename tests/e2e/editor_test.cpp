// The menu editor of the running programs, worked from outside as a user
// would: menus and entries made through the setup dialogs, moved and
// deleted, saved at OK and launched from the bar at once.
#include "driver.h"

#include <string.h>

#include "../../res/resource.h"

namespace {


class EditorPrograms : public E2eTest, public ::testing::WithParamInterface<std::string> {
protected:
    // Waits for the program's dialog or box of that caption.
    HWND waitDialog(const char* caption)
    {
        HWND found = nullptr;
        waitFor([&] {
            for (HWND window : windowsOf(*program, "#32770"))
                found = windowText(window) == caption ? window : found;
            return found != nullptr;
        });
        EXPECT_NE(nullptr, found) << "no window \"" << caption << "\"";
        return found;
    }
    std::string lines(int list)
    {
        std::string text;
        int count = (int)SendMessageW(GetDlgItem(editor, list), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            wchar_t line[64] = L"";
            SendMessageW(GetDlgItem(editor, list), LB_GETTEXT, (WPARAM)i, (LPARAM)line);
            text += (i ? "|" : "") + std::string(line, line + wcslen(line));
        }
        return text;
    }
    bool linesAre(int list, const std::string& wanted)
    {
        bool same = waitFor([&] { return lines(list) == wanted; }, 10000);
        EXPECT_EQ(wanted, lines(list));
        return same;
    }
    void post(UINT command, int line = -1)
    {
        if (line >= 0)
            SendMessageW(GetDlgItem(editor, LOWORD(command)), LB_SETCURSEL, (WPARAM)line, 0);
        PostMessageA(editor, WM_COMMAND, command, (LPARAM)GetDlgItem(editor, LOWORD(command)));
    }
    // Fills in the setup dialog the command opens and presses its OK.
    void setUp(UINT command, const char* caption, const std::vector<std::pair<int, std::string>>& texts)
    {
        post(command);
        HWND setup = waitDialog(caption);
        for (const auto& t : texts) {
            std::wstring wide(t.second.begin(), t.second.end());
            SendMessageTimeoutW(GetDlgItem(setup, t.first), WM_SETTEXT, 0, (LPARAM)wide.c_str(),
                                SMTO_ABORTIFHUNG, 5000, nullptr);
        }
        PostMessageA(setup, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(setup); })) << caption << " stays open";
    }

    Running* program = nullptr;
    HWND editor = nullptr;
};

INSTANTIATE_TEST_SUITE_P(E2e, EditorPrograms, ::testing::Values("zentor", "zentornt3"));

std::vector<unsigned char> record(size_t size, const std::vector<std::pair<size_t, std::string>>& texts,
                                  const std::vector<std::pair<size_t, int>>& words)
{
    std::vector<unsigned char> bytes(size, 0);
    for (const auto& t : texts)
        memcpy(&bytes[t.first], t.second.c_str(), t.second.size());
    for (const auto& w : words)
        for (int b = 0; b < 4; b++)
            bytes[w.first + b] = (unsigned char)((unsigned)w.second >> (8 * b));
    return bytes;
}

TEST_P(EditorPrograms, MenusMadeInTheEditorAreSavedAndLaunchFromTheBar)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string probe = path;
    probe = probe.substr(0, probe.rfind('\\') + 1) + "launch_probe.exe";
    ASSERT_LT(probe.size(), 80u) << probe;
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string out = file("probe-out.txt");
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", out.c_str());

    writeOptions("default", defaultOptions());
    program = &start(GetParam(), "");
    HWND bar = waitForBar(*program);
    ASSERT_NE(nullptr, bar);
    PostMessageA(bar, WM_COMMAND, CMD_EDIT_MENUS, 0);
    editor = waitDialog("User Menus");
    ASSERT_TRUE(linesAre(IDC_MENU_LIST, "&Apps|&Games"));

    // Escape, then a command: once the command has been done the key was
    // handled before it, and the editor is still there.
    PostMessageA(GetDlgItem(editor, IDC_MENU_LIST), WM_KEYDOWN, VK_ESCAPE, 0);
    setUp(IDC_NEW_MENU, "Menu Setup", {{IDC_MENU_NAME, "&Probe"}});
    ASSERT_TRUE(linesAre(IDC_MENU_LIST, "&Apps|&Games|&Probe"));
    EXPECT_TRUE(IsWindowVisible(editor)) << "Escape closed the editor";

    const UINT CHOOSE_MENU = MAKEWPARAM(IDC_MENU_LIST, LBN_SELCHANGE);
    const UINT CHOOSE_APP = MAKEWPARAM(IDC_APP_LIST, LBN_SELCHANGE);
    post(CHOOSE_MENU, 2);
    setUp(IDC_NEW_APP, "Application Setup", {{IDC_APP_NAME, "Second"}, {IDC_APP_PATH, "second.exe"}});
    setUp(IDC_NEW_APP, "Application Setup",
          {{IDC_APP_NAME, "&Run probe"}, {IDC_APP_PATH, probe}, {IDC_APP_DIR, windows},
           {IDC_APP_PARAMS, "editor \"two words\""}});
    ASSERT_TRUE(linesAre(IDC_APP_LIST, "Second|&Run probe"));
    post(CHOOSE_APP, 1);
    post(IDC_APP_UP);
    ASSERT_TRUE(linesAre(IDC_APP_LIST, "&Run probe|Second"));

    post(CHOOSE_MENU, 1);
    post(IDC_DELETE_MENU);
    HWND confirm = waitDialog("Confirm Deletion");
    EXPECT_EQ("Are you sure you want to delete\nthis menu and all related apps?",
              windowText(GetDlgItem(confirm, 0xFFFF)));
    PostMessageA(confirm, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(linesAre(IDC_MENU_LIST, "&Apps|&Probe"));
    post(CHOOSE_MENU, 1);
    post(IDC_MENU_UP);
    ASSERT_TRUE(linesAre(IDC_MENU_LIST, "&Probe|&Apps"));

    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(editor); })) << "OK did not close the editor";
    std::vector<unsigned char> wanted = {0x66, 0, 0, 0};
    for (const auto& r : {record(48, {{0, "&Probe"}}, {{32, 2}}),
                          record(296, {{0, probe}, {80, windows}, {160, "editor \"two words\""},
                                       {250, "&Run probe"}}, {{280, 9}}),
                          record(296, {{0, "second.exe"}, {250, "Second"}}, {{280, 9}})})
        wanted.insert(wanted.end(), r.begin(), r.end());
    const std::vector<unsigned char> defaults = defaultDataFile();
    wanted.insert(wanted.end(), defaults.begin() + 4, defaults.begin() + 4 + 48 + 2 * 296);
    EXPECT_TRUE(waitFor([&] { return byteDifference(wanted, readBytes(file("default.zt"))) == ""; }))
        << byteDifference(wanted, readBytes(file("default.zt")));

    // The first item of the first menu, as the bar's menu chooses it.
    PostMessageA(bar, WM_COMMAND, 101, 0);
    std::string recorded;
    EXPECT_TRUE(waitFor([&] {
        std::vector<unsigned char> bytes = readBytes(out);
        recorded.assign(bytes.begin(), bytes.end());
        return recorded.find("show=") != std::string::npos;
    })) << "the probe did not start";
    EXPECT_NE(std::string::npos, recorded.find(" editor \"two words\"\n")) << recorded;
    EXPECT_NE(std::string::npos, recorded.find(std::string("cwd=") + windows)) << recorded;

    PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
    ASSERT_TRUE(waitForEnd(*program));
    EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", nullptr);
}

} // namespace
