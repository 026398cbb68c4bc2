// The built programs from start to exit: first run, the bar's window, the
// ways out and what they save, one bar at a time, profiles and data files.
#include "driver.h"

#include <string.h>

#include "options/options.h"

namespace {

const UINT CMD_EXIT = 40006;

std::string greeting(const std::string& profile)
{
    if (profile.empty())
        return std::string("Thanks for trying Zentor!  If you find\nany bugs, please report them to\n") +
               CONTACT_ADDRESS + "!";
    return "Thanks for trying Zentor, " + profile + "!\nIf you find any bugs, please report\nthem to " +
           CONTACT_ADDRESS + "!";
}

int extraHeight(const std::string& variant)
{
    return variant == "zentornt3" ? 10 : 5;
}

int topOf(HWND window)
{
    RECT rc{};
    GetWindowRect(window, &rc);
    return rc.top;
}

class BothPrograms : public E2eTest, public ::testing::WithParamInterface<std::string> {};

INSTANTIATE_TEST_SUITE_P(E2e, BothPrograms, ::testing::Values("zentor", "zentornt3"));

TEST_P(BothPrograms, FirstRunGreetsShowsTheBarAndSavesTheDefaults)
{
    Running& program = start(GetParam(), "");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar) << "no bar; exit code " << program.exitCode;

    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Zentor", boxes[0].caption);
    EXPECT_EQ(greeting(""), boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, boxes[0].icon);

    char cls[32] = "";
    GetClassNameA(bar, cls, sizeof cls);
    EXPECT_STREQ("ZTClass", cls);
    EXPECT_EQ("Zentor", windowText(bar));
    // The system adds WS_VISIBLE, WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE itself.
    EXPECT_EQ(WS_POPUP | WS_DLGFRAME | WS_SYSMENU,
              GetWindowLongA(bar, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS))
        << std::hex << GetWindowLongA(bar, GWL_STYLE);
    EXPECT_EQ(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, GetWindowLongA(bar, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE)
        << std::hex << GetWindowLongA(bar, GWL_EXSTYLE);

    const int height = GetSystemMetrics(SM_CYMENU) + extraHeight(GetParam());
    if (GetParam() == "zentornt3") {
        // This build always auto-hides: it withdraws right after it is shown.
        EXPECT_TRUE(waitFor([&] { return topOf(bar) == 2 - height; })) << "top " << topOf(bar);
    } else {
        EXPECT_EQ(0, topOf(bar));
    }
    RECT rc{};
    GetWindowRect(bar, &rc);
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rc.right - rc.left);
    EXPECT_EQ(height, rc.bottom - rc.top);

    PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
    ASSERT_TRUE(waitForEnd(program));
    EXPECT_EQ(0u, program.exitCode);
    EXPECT_EQ(1u, boxes.size()) << "last box: " << (boxes.empty() ? "none" : boxes.back().text);

    std::vector<unsigned char> data = readBytes(file("default.zt"));
    EXPECT_EQ("", byteDifference(defaultDataFile(), data)) << "default.zt";
    std::vector<unsigned char> options;
    DWORD type = 0;
    ASSERT_TRUE(readOptions("default", &options, &type));
    EXPECT_EQ((DWORD)REG_BINARY, type);
    EXPECT_EQ("", byteDifference(defaultOptions(), options)) << "User_Vars";
}

TEST_P(BothPrograms, EveryWayOutSavesAndEndsWithCodeZero)
{
    const struct { const char* way; UINT message; WPARAM wParam; } ways[] = {
        {"E&xit Zentor", WM_COMMAND, CMD_EXIT},
        {"WM_CLOSE", WM_CLOSE, 0},
        {"double click on the frame", WM_NCLBUTTONDBLCLK, HTBORDER},
        {"double click on the menu bar", WM_NCLBUTTONDBLCLK, HTMENU},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        DeleteFileA(file("default.zt").c_str());
        writeOptions("default", defaultOptions());
        Running& program = start(GetParam(), "+d");
        HWND bar = waitForBar(program);
        ASSERT_NE(nullptr, bar);
        PostMessageA(bar, way.message, way.wParam, MAKELPARAM(5, 5));
        ASSERT_TRUE(waitForEnd(program)) << "still running";
        EXPECT_EQ(0u, program.exitCode);
        EXPECT_EQ("", byteDifference(defaultDataFile(), readBytes(file("default.zt"))));
        // The +d switch shows in the stored block only when the options were saved.
        std::vector<unsigned char> options;
        DWORD type = 0;
        ASSERT_TRUE(readOptions("default", &options, &type));
        ASSERT_EQ(108u, options.size());
        EXPECT_EQ(1, options[8]) << "displayDate not saved";
    }
    EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
}

// Records as the editor could leave them: text tails behind the terminators,
// reserved bytes, every show command, separators, bytes that text mode would
// translate, and a menu without items.
std::vector<unsigned char> unusualDataFile()
{
    std::vector<unsigned char> bytes = {0x66, 0, 0, 0};
    auto menu = [&](const char* name, int count) {
        std::vector<unsigned char> record(48, 0);
        memcpy(record.data(), name, strlen(name) + 1);
        memcpy(record.data() + 20, "\x0D\x0A\x1A tail", 9);
        record[30] = 0xAB;
        record[31] = 0xCD;
        record[32] = (unsigned char)count;
        bytes.insert(bytes.end(), record.begin(), record.end());
    };
    auto item = [&](const char* name, const char* path, int show, int separator) {
        std::vector<unsigned char> record(296, 0);
        memcpy(record.data(), path, strlen(path) + 1);
        memcpy(record.data() + 60, "old\x1A", 4);
        memcpy(record.data() + 80, "c:\\work", 8);
        memcpy(record.data() + 160, "/x \"a b\"", 9);
        memcpy(record.data() + 250, name, strlen(name) + 1);
        record[280] = (unsigned char)show;
        record[284] = (unsigned char)separator;
        bytes.insert(bytes.end(), record.begin(), record.end());
    };
    menu("&Tools", 3);
    item("&Edit", "c:\\windows\\notepad.exe", 9, 0);
    item("Paint", "mspaint.exe", 3, 1);
    item("\x0D\x0A", "readme.txt", 6, 0);
    menu("Empty", 0);
    menu("&Last", 1);
    item("One", "one.exe", 0, 1);
    return bytes;
}

TEST_P(BothPrograms, DataFileComesBackByteForByte)
{
    writeOptions("default", defaultOptions());
    // The second case is the file the first run of the program wrote.
    Running& first = start(GetParam(), "");
    ASSERT_NE(nullptr, waitForBar(first));
    PostMessageA(findWindowOf(first, "ZTClass"), WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitForEnd(first));
    const std::vector<unsigned char> written = readBytes(file("default.zt"));
    ASSERT_EQ(1284u, written.size());

    for (const auto& before : {unusualDataFile(), written}) {
        SCOPED_TRACE(before.size());
        writeBytes(file("default.zt"), before);
        Running& program = start(GetParam(), "");
        HWND bar = waitForBar(program);
        ASSERT_NE(nullptr, bar);
        PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
        ASSERT_TRUE(waitForEnd(program));
        EXPECT_EQ("", byteDifference(before, readBytes(file("default.zt"))));
    }
    EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
}

TEST_P(BothPrograms, BottomSwitchPutsTheBarAtTheBottomEdge)
{
    // The stored options say top; the switch wins for the run and is saved.
    writeOptions("default", defaultOptions());
    Running& program = start(GetParam(), "+b");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar);
    const int screen = GetSystemMetrics(SM_CYSCREEN);
    const int height = GetSystemMetrics(SM_CYMENU) + extraHeight(GetParam());
    const int wanted = GetParam() == "zentornt3" ? screen - 2 : screen - height;
    EXPECT_TRUE(waitFor([&] { return topOf(bar) == wanted; }))
        << "top " << topOf(bar) << ", wanted " << wanted;
    PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
    ASSERT_TRUE(waitForEnd(program));
    std::vector<unsigned char> options;
    DWORD type = 0;
    ASSERT_TRUE(readOptions("default", &options, &type));
    ASSERT_EQ(108u, options.size());
    EXPECT_EQ(1, options[16]) << "bottom";
    EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
}

TEST_F(E2eTest, SecondCopyEndsAtOnceWithoutAWord)
{
    deleteOptions("fred");
    Running& first = start("zentor", "");
    HWND bar = waitForBar(first);
    ASSERT_NE(nullptr, bar);
    boxes.clear();

    const struct { const char* variant; const char* args; } copies[] = {
        {"zentor", ""}, {"zentor", "-x -f"}, {"zentor", "fred +b"}, {"zentornt3", "fred -f 1.zt"},
    };
    for (const auto& copy : copies) {
        SCOPED_TRACE(std::string(copy.variant) + " " + copy.args);
        Running& second = start(copy.variant, copy.args);
        bool showedWindow = false;
        ASSERT_TRUE(driveUntil(second, [&] {
            showedWindow |= !windowsOf(second, nullptr).empty();
            return second.ended;
        })) << "the second copy keeps running";
        EXPECT_EQ(0u, second.exitCode);
        EXPECT_FALSE(showedWindow);
        EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(first.info.hProcess, 0)) << "the first copy ended";
        EXPECT_TRUE(IsWindow(bar));
    }
    std::vector<unsigned char> options;
    DWORD type = 0;
    EXPECT_FALSE(readOptions("fred", &options, &type)) << "a refused copy wrote its profile's key";
    EXPECT_FALSE(fileExists(file("fred.zt")));
}

TEST_F(E2eTest, ProfileAndDataFileArgumentsPickFileAndKey)
{
    const struct {
        const char* args;
        const char* key;         // the key that gets the options
        const char* dataFile;    // the file that gets the menus
        std::vector<std::string> boxTexts;
    } cases[] = {
        {"fred -f my.zt", "fred", "fred.zt", {greeting("fred")}},
        {"-f my.zt", "default", "my.zt", {greeting("")}},
        {"-f", "default", "default.zt", {"Missing or invalid filename on command line!", greeting("")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        deleteOptions("fred");
        deleteOptions("default");
        for (const char* name : {"fred.zt", "my.zt", "default.zt"})
            DeleteFileA(file(name).c_str());
        boxes.clear();

        Running& program = start("zentor", c.args);
        HWND bar = waitForBar(program);
        ASSERT_NE(nullptr, bar);
        PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
        ASSERT_TRUE(waitForEnd(program));
        EXPECT_EQ(0u, program.exitCode);

        ASSERT_EQ(c.boxTexts.size(), boxes.size());
        for (size_t i = 0; i < boxes.size(); i++) {
            EXPECT_EQ("Zentor", boxes[i].caption);
            EXPECT_EQ(c.boxTexts[i], boxes[i].text);
            UINT icon = i + 1 < boxes.size() ? MB_ICONWARNING : MB_ICONINFORMATION;
            EXPECT_EQ(icon, boxes[i].icon) << boxes[i].text;
        }
        for (const char* name : {"fred.zt", "my.zt", "default.zt"})
            EXPECT_EQ(!strcmp(name, c.dataFile), fileExists(file(name))) << name;
        EXPECT_EQ("", byteDifference(defaultDataFile(), readBytes(file(c.dataFile))));
        for (const char* key : {"fred", "default"}) {
            std::vector<unsigned char> options;
            DWORD type = 0;
            EXPECT_EQ(!strcmp(key, c.key), readOptions(key, &options, &type)) << key;
        }
    }
    deleteOptions("fred");
}

}  // namespace
