// Bad input from outside, as a user gives it: a command line, a stored
// option value, a data file that cannot be written, items whose program is
// missing, empty names, paths and selections in the dialogs, and a drop of
// files. Each box is read whole, and afterwards the data file and the stored
// options are as they must be.
#include "driver.h"

#include "../../res/resource.h"
#include "options/options.h"

namespace {

const std::string GREETING = std::string("Thanks for trying Zentor!  If you find\nany bugs, please "
                                         "report them to\n") + CONTACT_ADDRESS + "!";

class BadInput : public E2eTest, public ::testing::WithParamInterface<std::string> {
protected:
    // Waits for the program's next box (the shell may show one of its own
    // first) and checks it is this warning.
    void expectWarning(Running& program, const std::string& text)
    {
        size_t before = boxes.size();
        ASSERT_TRUE(driveUntil(program, [&] {
            return boxes.size() > before && boxes.back().caption == "Zentor";
        }, 10000)) << "no box for: " << text;
        EXPECT_EQ(text, boxes.back().text);
        EXPECT_EQ((UINT)MB_ICONWARNING, boxes.back().icon) << text;
    }
    // Opens one of the program's dialogs by a command and leaves it to the test.
    HWND open(Running& program, HWND owner, UINT command, const char* caption)
    {
        PostMessageA(owner, WM_COMMAND, command, (LPARAM)GetDlgItem(owner, LOWORD(command)));
        HWND dialog = waitForDialog(program, caption);
        EXPECT_NE(nullptr, dialog) << "no dialog \"" << caption << "\"";
        dialogs.push_back(dialog);
        return dialog;
    }
    // Chooses a line of one of the editor's lists as a click does.
    void choose(HWND editor, int list, int line)
    {
        SendMessageW(GetDlgItem(editor, list), LB_SETCURSEL, (WPARAM)line, 0);
        SendMessageTimeoutW(editor, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE),
                            (LPARAM)GetDlgItem(editor, list), SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    void exitAndCheck(Running& program, HWND bar, const char* dataFile,
                      const std::vector<unsigned char>& data)
    {
        PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
        ASSERT_TRUE(waitForEnd(program));
        EXPECT_EQ(0u, program.exitCode);
        EXPECT_EQ("", byteDifference(data, readBytes(file(dataFile)))) << dataFile;
    }
};

INSTANTIATE_TEST_SUITE_P(E2e, BadInput, ::testing::Values("zentor", "zentornt3"));

std::string repeat(char c, size_t n) { return std::string(n, c); }

// Words, stored values and files the program warns about at start or exit;
// it goes on with what it can use and loses nothing of the rest.
TEST_P(BadInput, StartAndExitWarnAndKeepWhatIsThere)
{
    const std::string longName = repeat('m', 77) + ".zt";
    std::vector<unsigned char> mine = defaultDataFile();
    mine[4] = 'N'; // "NApps"
    // Software\Zentor made volatile, so no profile's key can be made in it:
    // before the start, or while the bar runs (its key gone meanwhile).
    enum { NEVER, AT_START, WHILE_RUNNING };
    const struct {
        const char* what;
        std::string args;
        const char* key;                   // the options' key
        std::vector<unsigned char> stored; // its "User_Vars" before; empty: none
        bool readOnly;                     // default.zt holds mine, read-only
        int volatileParent;
        std::vector<std::string> texts; // every box, in order
        const char* dataFile;           // the data file at the end
        bool keyAtEnd;                  // the key holds the defaults at the end
    } cases[] = {
        {"unknown switches", "-x +S - +", "default", defaultOptions(), false, NEVER,
         {"Unknown option: -x", "Unknown option: +S", "Unknown option: -", "Unknown option: +"},
         "default.zt", true},
        {"profile word too long", repeat('p', 20), "default", defaultOptions(), false, NEVER,
         {"The profile name is too long (at most 19 characters):\n" + repeat('p', 20)},
         "default.zt", true},
        {"data file name too long", "-f " + longName, "default", defaultOptions(), false, NEVER,
         {"The data file name is too long (at most 79 characters):\n" + longName},
         "default.zt", true},
        {"stored value of 107 bytes", "", "default", std::vector<unsigned char>(107, 1), false,
         NEVER,
         {"Obsolete or corrupt registry data found.\nDeleting and installing default data.",
          GREETING},
         "default.zt", true},
        {"key that cannot be made", "p", "p", {}, false, AT_START,
         {"Error opening Registry key!\nUsing defaults."}, "p.zt", false},
        {"key gone while running", "p", "p", defaultOptions(), false, WHILE_RUNNING,
         {"Error saving user options to Registry!"}, "p.zt", false},
        {"read-only data file", "", "default", defaultOptions(), true, NEVER,
         {"Could not open default.zt for write.\nPlease check the file."}, "default.zt", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(GetParam()) + ": " + c.what);
        boxes.clear();
        for (const char* name : {"default.zt", "p.zt"}) {
            SetFileAttributesA(file(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file(name).c_str());
        }
        for (const char* key : {"p", "default"})
            deleteOptions(key);
        if (!c.stored.empty())
            writeOptions(c.key, c.stored);
        if (c.readOnly) {
            writeBytes(file("default.zt"), mine);
            SetFileAttributesA(file("default.zt").c_str(), FILE_ATTRIBUTE_READONLY);
        }
        HKEY parent = nullptr;
        auto makeParentVolatile = [&] {
            RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Zentor");
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zentor");
            ASSERT_EQ(0, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zentor", 0, nullptr,
                                         REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent,
                                         nullptr));
        };
        if (c.volatileParent == AT_START)
            makeParentVolatile();

        Running& program = start(GetParam(), c.args);
        HWND bar = waitForBar(program);
        ASSERT_NE(nullptr, bar) << "no bar; exit code " << program.exitCode;
        if (c.volatileParent == WHILE_RUNNING)
            makeParentVolatile();
        exitAndCheck(program, bar, c.dataFile, c.readOnly ? mine : defaultDataFile());
        if (parent) {
            RegCloseKey(parent);
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zentor");
        }

        ASSERT_EQ(c.texts.size(), boxes.size())
            << "last box: " << (boxes.empty() ? "none" : boxes.back().text);
        for (size_t i = 0; i < boxes.size(); i++) {
            EXPECT_EQ(c.texts[i], boxes[i].text);
            EXPECT_EQ("Zentor", boxes[i].caption);
            UINT icon = c.texts[i] == GREETING ? MB_ICONINFORMATION : MB_ICONWARNING;
            EXPECT_EQ(icon, boxes[i].icon) << boxes[i].text;
        }
        std::vector<unsigned char> options;
        DWORD type = 0;
        ASSERT_EQ(c.keyAtEnd, readOptions(c.key, &options, &type)) << c.key;
        if (c.keyAtEnd)
            EXPECT_EQ("", byteDifference(defaultOptions(), options)) << "User_Vars";
    }
    SetFileAttributesA(file("default.zt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Names that can never be a file: one box names the name and says why, the
// program ends with a nonzero code at once, and writes nothing.
TEST_P(BadInput, NamesThatCannotBeFilesEndTheStartAndWriteNothing)
{
    const struct {
        const char* args;
        const char* key; // the options' key the name would have
        std::string text;
    } cases[] = {
        {"\"work|home\"", "work|home",
         "The profile name \"work|home\" cannot name a file:\nfile names cannot hold the "
         "character |.\nZentor ends."},
        {"-f \"menus?.zt\"", "default",
         "The data file name \"menus?.zt\" cannot name a file:\nfile names cannot hold the "
         "character ?.\nZentor ends."},
        {"-f sub\\Con.zt", "default",
         "The data file name \"sub\\Con.zt\" cannot name a file:\nCon.zt is a name Windows keeps "
         "for a device.\nZentor ends."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(GetParam()) + " " + c.args);
        boxes.clear();
        deleteOptions(c.key);
        Running& program = start(GetParam(), c.args);
        ASSERT_TRUE(waitForEnd(program));
        EXPECT_NE(0u, program.exitCode);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(c.text, boxes[0].text);
        EXPECT_EQ("Zentor", boxes[0].caption);
        std::vector<unsigned char> options;
        DWORD type = 0;
        EXPECT_FALSE(readOptions(c.key, &options, &type)) << "a key was made";
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(file("*").c_str(), &found);
        int files = 0;
        if (search != INVALID_HANDLE_VALUE) {
            do
                files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        EXPECT_EQ(0, files) << "a file was written";
    }
}

// Items whose program cannot be started, and a command no item has: one
// warning each, and nothing changed.
TEST_P(BadInput, FailedLaunchesWarnAndChangeNothing)
{
    const bool nt3 = GetParam() == "zentornt3";
    writeBytes(file("broken.lnk"), std::vector<unsigned char>(64, 'x'));
    writeBytes(file("notes.zzq"), std::vector<unsigned char>(8, 'x'));
    writeBytes(file("garbage.exe"), std::vector<unsigned char>(512, 'x'));
    const struct {
        const char* path;
        const char* zentorText;
        const char* nt3Text;
    } items[] = {
        {"missing.exe", "File/Executable not found.\nCheck menuitem setup.", "File not found."},
        {"broken.lnk", "Error executing link.", "ShellExecute returned error code: 31"},
        // No program for the document: Wine's shell gives its own code 31
        // where Windows gives ERROR_NO_ASSOCIATION.
        {"notes.zzq", "ShellExecuteEx returned error code: 31", "ShellExecute returned error code: 31"},
        {"garbage.exe", "ShellExecuteEx returned error code: 11", "Error in executable file."},
    };
    FileMenu menu{"&Bad", {}};
    for (const auto& item : items)
        menu.items.push_back({item.path, item.path}); // the bar's folder is the test's
    const std::vector<unsigned char> data = dataFileOf({menu});
    writeBytes(file("default.zt"), data);
    writeOptions("default", defaultOptions());

    Running& program = start(GetParam(), "");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar);
    UINT id = 101;
    for (const auto& item : items) {
        SCOPED_TRACE(item.path);
        PostMessageA(bar, WM_COMMAND, id++, 0);
        expectWarning(program, nt3 ? item.nt3Text : item.zentorText);
    }
    PostMessageA(bar, WM_COMMAND, 999, 0);
    expectWarning(program, "Menu item not found.");
    exitAndCheck(program, bar, "default.zt", data);
}

// Empty names and paths in the setup dialogs, buttons pressed without the
// selection they need, and an empty WAV file with the chime on: one warning
// each, the dialog stays open, and Cancel leaves the menus and options as
// they were.
TEST_P(BadInput, DialogsRefuseEmptyNamesAndSelections)
{
    writeOptions("default", defaultOptions());
    Running& program = start(GetParam(), "");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar);
    HWND editor = open(program, bar, CMD_EDIT_MENUS, "User Menus");

    // A user's way to each warning: the buttons that need an entry are
    // enabled only once an entry has been chosen, and moving the last menu
    // down leaves no menu selected.
    const struct {
        UINT command; // a button, or a list and the line to choose there
        int line;
        const char* text; // null: no warning
    } steps[] = {
        {IDC_NEW_APP, 0, "Please select a menu first."},
        {IDC_MENU_LIST, 1, nullptr},
        {IDC_APP_LIST, 0, nullptr},
        {IDC_MENU_DOWN, 0, nullptr},
        {IDC_DELETE_ITEM, 0, "Please select a menu first"},
        {IDC_SEPARATOR, 0, "Please select a menu first"},
        {IDC_MENU_UP, 0, "Please select a menu first"},
        {IDC_APP_UP, 0, "Please select a menu first."},
        {IDC_MENU_LIST, 0, nullptr},
        {IDC_DELETE_ITEM, 0, "Please select an item first"},
        {IDC_SEPARATOR, 0, "Please select an item first"},
        {IDC_APP_DOWN, 0, "Please select an app first."},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        HWND control = GetDlgItem(editor, step.command);
        size_t before = boxes.size();
        if (step.text) {
            PostMessageA(editor, WM_COMMAND, step.command, (LPARAM)control);
            expectWarning(program, step.text);
            continue;
        }
        // Done before the next step is posted; none of these opens a window.
        if (step.command == IDC_MENU_DOWN)
            SendMessageTimeoutW(editor, WM_COMMAND, step.command, (LPARAM)control,
                                SMTO_ABORTIFHUNG, 5000, nullptr);
        else
            choose(editor, step.command, step.line);
        EXPECT_EQ(before, boxes.size());
    }

    const struct {
        UINT command;
        const char* caption;
        std::vector<std::pair<int, const char*>> texts;
        const char* warning;
    } empty[] = {
        {IDC_NEW_MENU, "Menu Setup", {}, "The menu must have a name!"},
        {IDC_NEW_APP, "Application Setup", {{IDC_APP_NAME, "&Name only"}},
         "The application must have a name\nand associated filename."},
        {IDC_NEW_APP, "Application Setup", {{IDC_APP_PATH, "path-only.exe"}},
         "The application must have a name\nand associated filename."},
    };
    for (const auto& e : empty) {
        SCOPED_TRACE(e.caption);
        HWND setup = open(program, editor, e.command, e.caption);
        for (const auto& t : e.texts) {
            std::wstring wide(t.second, t.second + strlen(t.second));
            SendMessageTimeoutW(GetDlgItem(setup, t.first), WM_SETTEXT, 0, (LPARAM)wide.c_str(),
                                SMTO_ABORTIFHUNG, 5000, nullptr);
        }
        PostMessageA(setup, WM_COMMAND, IDOK, 0);
        expectWarning(program, e.warning);
        EXPECT_TRUE(IsWindowVisible(setup)) << "OK closed the dialog";
        PostMessageA(setup, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(setup); })) << "Cancel left it open";
    }
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(editor); })) << "the editor stays open";
    EXPECT_EQ("", byteDifference(defaultDataFile(), readBytes(file("default.zt"))));

    HWND options = open(program, bar, CMD_OPTIONS, "Zentor Options");
    SendMessageA(GetDlgItem(options, IDC_CHIME), BM_SETCHECK, BST_CHECKED, 0);
    for (UINT command : {(UINT)IDC_WAV_TEST, (UINT)IDOK}) {
        PostMessageA(options, WM_COMMAND, command, (LPARAM)GetDlgItem(options, command));
        expectWarning(program, "Please enter a WAV filename.");
        EXPECT_TRUE(IsWindowVisible(options)) << "the dialog closed";
    }
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(options); }));

    exitAndCheck(program, bar, "default.zt", defaultDataFile());
    std::vector<unsigned char> stored;
    DWORD type = 0;
    ASSERT_TRUE(readOptions("default", &stored, &type));
    EXPECT_EQ("", byteDifference(defaultOptions(), stored)) << "options changed";
}

// Files dropped from the file manager (a real XDND drop, which Wine's X11
// driver turns into WM_DROPFILES): a path too long for an entry is refused
// with a warning and the rest is added. The drop selects its menu, and the
// entry list follows it from the menu chosen before.
TEST_P(BadInput, DropRefusesLongPathsAndKeepsTheRest)
{
    // On Wine's Z: drive, so the drop tool names the files by Unix paths.
    const std::string unixDir = "/tmp/zentor-drop-" + std::to_string(GetCurrentProcessId());
    const std::string deep = "/" + repeat('d', 70);
    auto dos = [](std::string path) {
        for (char& c : path)
            c = c == '/' ? '\\' : c;
        return "Z:" + path;
    };
    CreateDirectoryA(dos(unixDir).c_str(), nullptr);
    CreateDirectoryA(dos(unixDir + deep).c_str(), nullptr);
    const std::string shortFile = unixDir + "/tool.exe", longFile = unixDir + deep + "/long.exe";
    for (const std::string& f : {shortFile, longFile})
        writeBytes(dos(f), {'M', 'Z'});

    writeOptions("default", defaultOptions());
    Running& program = start(GetParam(), "");
    HWND bar = waitForBar(program);
    ASSERT_NE(nullptr, bar);
    HWND editor = open(program, bar, CMD_EDIT_MENUS, "User Menus");
    choose(editor, IDC_MENU_LIST, 0);

    // The second menu line, as the screen shows it.
    HWND list = GetDlgItem(editor, IDC_MENU_LIST);
    const int height = (int)SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    POINT at{10, height + height / 2};
    ClientToScreen(list, &at);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string tool = self;
    tool = tool.substr(0, tool.rfind('\\') + 1) + "xdnd_drop " + std::to_string(at.x) + " " +
           std::to_string(at.y) + " " + shortFile + " " + longFile;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION drop{};
    ASSERT_TRUE(CreateProcessA(nullptr, &tool[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &drop)) << tool;
    expectWarning(program, "These files were not added: their paths are\nlonger than 79 "
                           "characters.\n\n" + dos(longFile));
    WaitForSingleObject(drop.hProcess, 10000);
    CloseHandle(drop.hThread);
    CloseHandle(drop.hProcess);

    EXPECT_EQ(3, SendMessageW(GetDlgItem(editor, IDC_APP_LIST), LB_GETCOUNT, 0, 0))
        << "the entry list does not show the menu the file went to";
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(editor); })) << "the editor stays open";

    std::vector<unsigned char> wanted = defaultDataFile();
    wanted[4 + 48 + 2 * 296 + 32] = 3; // "&Games" gets the dropped entry
    const std::vector<unsigned char> entry = dataFileOf({{"", {{"Tool", dos(shortFile)}}}});
    wanted.insert(wanted.end(), entry.end() - 296, entry.end());
    exitAndCheck(program, bar, "default.zt", wanted);
    for (const std::string& f : {shortFile, longFile})
        DeleteFileA(dos(f).c_str());
    RemoveDirectoryA(dos(unixDir + deep).c_str());
    RemoveDirectoryA(dos(unixDir).c_str());
}

}  // namespace
