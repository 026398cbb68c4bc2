// The hot key of the running bar, pressed as the user presses it, from
// another program (Wine turns keyboard input, from SendInput as from
// xdotool, into WM_HOTKEY): it opens the first menu with its first item
// chosen, so Enter starts that item; pressed again, or Esc, closes the menu
// and the window that had the focus has it again. A combination that
// another program holds is named in one warning when the user chooses it
// in the Options dialog, and again at the next start; the bar runs on.
#include "driver.h"

#include <commctrl.h>

#include "../../res/resource.h"

namespace {

// Presses the keys one after the other and lets them go in turn backwards.
void press(std::vector<WORD> keys)
{
    std::vector<INPUT> input;
    for (size_t i = 0; i < 2 * keys.size(); i++) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = i < keys.size() ? keys[i] : keys[2 * keys.size() - 1 - i];
        in.ki.dwFlags = (i < keys.size() ? 0 : KEYEVENTF_KEYUP) |
                        (in.ki.wVk == VK_HOME ? KEYEVENTF_EXTENDEDKEY : 0);
        input.push_back(in);
    }
    SendInput((UINT)input.size(), input.data(), sizeof(INPUT));
}

// The name the system gives a key ("Ctrl" on Windows, "Control" under Wine).
std::string keyName(WORD key)
{
    char text[32] = "";
    GetKeyNameTextA((LONG)MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16, text, sizeof text);
    return text;
}

const std::vector<WORD> HOT_KEY = {VK_CONTROL, VK_MENU, VK_HOME}; // the default one

TEST_F(E2eTest, HotKeyOpensTheFirstMenuAndIsNamedWhenTaken)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string probe(self);
    probe = probe.substr(0, probe.find_last_of('\\')) + "\\launch_probe.exe";
    writeBytes(file("default.zt"),
               dataFileOf({{"&Probe", {{"&Run probe", probe}, {"&Missing", "c:\\missing.exe"}}},
                           {"&Other", {{"&Missing", "c:\\missing.exe"}}}}));
    std::vector<unsigned char> block = defaultOptions();
    block[20] = 0; // no auto-hide
    writeOptions("default", block);
    const std::string probeOut = file("probe-out.txt");
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", probeOut.c_str());
    // The user's work, which has the focus.
    HWND work = CreateWindowExA(0, "STATIC", "Work", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200,
                                300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, work);
    Running& program = start("zentor", "");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar);
    auto menuOpen = [&] { return !windowsOf(program, "#32768").empty(); };
    auto focusOn = [](HWND window) {
        SetForegroundWindow(window);
        return waitFor([&] { return GetForegroundWindow() == window; }, 5000);
    };

    ASSERT_TRUE(focusOn(work));
    press(HOT_KEY);
    ASSERT_TRUE(waitFor(menuOpen, 5000)) << "no menu opened";
    EXPECT_EQ(bar, GetForegroundWindow());
    press({VK_RETURN});
    EXPECT_TRUE(waitFor([&] { return fileExists(probeOut); }, 10000))
        << "Enter did not start the first item of the first menu";

    for (WORD closing : {(WORD)VK_HOME, (WORD)VK_ESCAPE}) {
        SCOPED_TRACE(closing == VK_HOME ? "the hot key again" : "Esc");
        ASSERT_TRUE(focusOn(work));
        press(HOT_KEY);
        ASSERT_TRUE(waitFor(menuOpen, 5000)) << "no menu opened";
        press(closing == VK_HOME ? HOT_KEY : std::vector<WORD>{closing});
        EXPECT_TRUE(waitFor([&] { return !menuOpen() && GetForegroundWindow() == work; }, 5000))
            << "menu open " << menuOpen() << ", focus on " << GetForegroundWindow() << ", not "
            << work;
    }
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;

    // Another program holds Ctrl + Shift + F6, which the user chooses.
    ASSERT_TRUE(RegisterHotKey(work, 1, MOD_CONTROL | MOD_SHIFT, VK_F6));
    PostMessageA(bar, WM_COMMAND, CMD_OPTIONS, 0);
    HWND dialog = waitForDialog(program, "Zentor Options");
    ASSERT_NE(nullptr, dialog);
    dialogs.push_back(dialog);
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY,
                        (HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8 | VK_F6, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(driveUntil(program, [&] { return !boxes.empty() && !IsWindow(dialog); }))
        << "no warning";
    PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
    ASSERT_TRUE(waitForEnd(program));
    Running& second = start("zentor", "");
    ASSERT_NE(nullptr, waitForBar(second));
    driveUntil(second, [&] { return false; }, 3000);
    const std::string warning = "The hot key " + keyName(VK_CONTROL) + " + " + keyName(VK_SHIFT) +
                                " + " + keyName(VK_F6) +
                                " is taken by another program.\n"
                                "Zentor runs without it; choose another one in Options.";
    ASSERT_EQ(2u, boxes.size()) << "one when chosen, one at the start";
    for (const Box& box : boxes) {
        EXPECT_EQ(warning, box.text);
        EXPECT_EQ((UINT)MB_ICONWARNING, box.icon);
    }
    EXPECT_NE(nullptr, findWindowOf(second, "ZTClass")) << "the bar did not run on";
    UnregisterHotKey(work, 1);
    DestroyWindow(work);
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", nullptr);
}

}  // namespace
