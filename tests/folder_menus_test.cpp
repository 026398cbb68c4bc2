// Folder entries as menus, in both builds, on a folder tree made in the
// test's temporary folder. Menus are opened as the bar's menu loop opens
// them (WM_INITMENUPOPUP to the bar) and read back with the menu calls. The
// shell's launch call records what it is asked and starts programs only;
// the first file of a listing can be held back, as a share that does not
// answer holds it.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "bar/bar_window.h"
#include "dialogs/options_dialog.h"
#include "launch/shell_call.h"
#include "menus/folder_listing.h"
#include "menus/folder_menus.h"
#include "menus/menu_bar.h"
#include "options/settings.h"
#include "probe_reader.h"
#include "shortcut.h"
#include "resource.h"
#include "test_support.h"

namespace {

struct Launch {
    std::string file, parameters, directory;
};
std::vector<Launch> launches;

std::string text(const char* s) { return s ? s : "(null)"; }

bool isFolderPath(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HANDLE letSlowGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);

}  // namespace

// Opening a folder in Explorer is the shell's business: recorded only. For a
// missing file the shell's answer is given here, as Wine's shell would first
// show a box of its own.
#ifndef ZENTOR_NT3
BOOL shellExecuteEx(SHELLEXECUTEINFOA* r)
{
    launches.push_back({text(r->lpFile), text(r->lpParameters), text(r->lpDirectory)});
    if (GetFileAttributesA(r->lpFile) == INVALID_FILE_ATTRIBUTES) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return isFolderPath(r->lpFile) || ShellExecuteExA(r);
}
#else
HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show)
{
    launches.push_back({text(file), text(parameters), text(directory)});
    if (GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES)
        return (HINSTANCE)ERROR_FILE_NOT_FOUND;
    if (isFolderPath(file))
        return (HINSTANCE)33;
    return ShellExecuteA(owner, verb, file, parameters, directory, show);
}
#endif

// A folder named "slow" answers when the test lets it.
HANDLE findFirstFolderFile(const wchar_t* pattern, WIN32_FIND_DATAW* found)
{
    if (wcsstr(pattern, L"\\slow\\"))
        WaitForSingleObject(letSlowGo, INFINITE);
    return FindFirstFileW(pattern, found);
}

namespace {

std::string utf8(const wchar_t* wide)
{
    char text[4 * MAX_PATH] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// Each item: its text, "-" for a separator, then " >" when it opens a menu
// and " (off)" when it is greyed.
std::vector<std::string> itemsOf(HMENU menu)
{
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        UINT state = GetMenuState(menu, (UINT)i, MF_BYPOSITION);
        wchar_t name[MAX_PATH] = L"";
        GetMenuStringW(menu, (UINT)i, name, MAX_PATH, MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            items.push_back("-");
            continue;
        }
        std::string item = utf8(name);
        if (GetSubMenu(menu, i))
            item += " >";
        if (state & MF_GRAYED)
            item += " (off)";
        items.push_back(item);
    }
    return items;
}

// The menu as the bar's menu loop opens it.
HMENU opened(HMENU menu)
{
    SendMessageA(barWindow, WM_INITMENUPOPUP, (WPARAM)menu, 0);
    return menu;
}

UINT itemId(HMENU menu, int position)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID;
    GetMenuItemInfoA(menu, (UINT)position, TRUE, &item);
    return item.wID;
}

int positionOf(HMENU menu, const std::string& text)
{
    std::vector<std::string> items = itemsOf(menu);
    for (size_t i = 0; i < items.size(); i++)
        if (items[i] == text)
            return (int)i;
    ADD_FAILURE() << "no item \"" << text << "\" in " << ::testing::PrintToString(items);
    return -1;
}

void choose(HMENU menu, const std::string& text)
{
    SendMessageA(barWindow, WM_COMMAND, itemId(menu, positionOf(menu, text)), 0);
}

class FolderMenusTest : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override
    {
        resetProgramState();
        dir = enterFreshDirectory("folders");
        barSettings.folderMenus = 1;
        launches.clear();
        ResetEvent(letSlowGo);
    }
    void TearDown() override
    {
        SetEvent(letSlowGo);
        removeBar();
        resetProgramState();
    }
    // A file, or a folder when the path ends in a backslash; the folders on
    // its way are made first.
    std::string make(const std::string& path, DWORD attributes = 0)
    {
        for (size_t slash = path.find('\\'); slash != std::string::npos && slash + 1 < path.size();
             slash = path.find('\\', slash + 1))
            CreateDirectoryA((dir + "\\" + path.substr(0, slash)).c_str(), nullptr);
        std::string full = dir + "\\" + path;
        if (path.back() == '\\')
            CreateDirectoryA(full.c_str(), nullptr);
        else
            writeFileBytes(full, {'x'});
        if (attributes)
            SetFileAttributesA(full.c_str(), attributes);
        return full;
    }
    // A bar with one menu "&Folders" of the given entries (name, path).
    void makeBar(const std::vector<std::pair<const char*, std::string>>& entries)
    {
        MenuNode* m = newMenuNode();
        copyField(m->name, "&Folders");
        appendMenu(m);
        for (const auto& e : entries) {
            AppNode* a = newAppNode();
            copyField(a->name, e.first);
            copyField(a->path, e.second.c_str());
            appendApp(m, a);
        }
        popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
        ASSERT_TRUE(registerBarClass());
        ASSERT_EQ(1, createBar());
    }
    HMENU barPopup() { return opened(GetSubMenu(menuBar, 0)); }
};

// One tree holds every case: names and their order, nesting, notes for an
// empty, a vanished and a slow folder, the 500 items a level shows, and
// files started through the launch in their folders.
TEST_F(FolderMenusTest, AFolderTreeOpensAsMenusThatStartTheirFiles)
{
    for (const char* path : {"Tree\\beta\\", "Tree\\Alpha\\deep\\leaf.txt", "Tree\\Empty\\",
                             "Tree\\gone\\", "Tree\\slow\\later.txt", "Tree\\file10.txt",
                             "Tree\\file2.txt", "Tree\\File1.txt", "Tree\\Tom & Jerry.txt",
                             "Tree\\Scan 10a.txt", "Tree\\Scan 9.txt", "Tree\\Scan 10.txt",
                             "Tree\\tool.lnk", "Tree\\site.URL", "Tree\\old.pif"})
        make(path);
    make("Many\\n0.txt", FILE_ATTRIBUTE_HIDDEN);
    make("Tree\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    make("Tree\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    make("Tree\\Hidden folder\\", FILE_ATTRIBUTE_HIDDEN);
    for (int i = 1; i <= 503; i++)
        make("Many\\n" + std::to_string(i) + ".txt");
    std::string deepDir = dir + "\\Tree\\Alpha\\deep";
    std::wstring wideDeep(deepDir.begin(), deepDir.end());
    std::string probe = probePath();
    ASSERT_TRUE(CopyFileA(probe.c_str(), (deepDir + "\\probe.exe").c_str(), FALSE));
    // A name the code page cannot hold.
    ASSERT_TRUE(CopyFileW(std::wstring(probe.begin(), probe.end()).c_str(),
                          (wideDeep + L"\\\u03bb probe.exe").c_str(), FALSE));
    std::string probeOut = dir + "\\probe-out.txt";
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", probeOut.c_str());
    SetEnvironmentVariableA("ZT_FOLDERS", dir.c_str());
    std::string link = dir + "\\tree.lnk";
#ifndef ZENTOR_NT3
    ASSERT_TRUE(makeShortcut(link, dir + "\\Tree"));
    const char* linkItem = "&Link >";
#else
    const char* linkItem = "&Link"; // no shortcuts on Windows NT 3.x
#endif
    makeBar({{"&Tree", "%ZT_FOLDERS%\\Tree"}, {"&Plain", make("plain.txt")}, {"&Link", link},
             {"&Many", dir + "\\Many"}});

    HMENU popup = barPopup();
    EXPECT_EQ((std::vector<std::string>{"&Tree >", "&Plain", linkItem, "&Many >"}),
              itemsOf(popup));
    HMENU tree = opened(GetSubMenu(popup, 0));
    std::vector<std::string> want = {"Open Folder", "-", "Alpha >", "beta >", "Empty >",
                                     "gone >", "slow >",
#ifndef ZENTOR_NT3
                                     // Explorer's order: numbers within names by their value.
                                     "File1.txt", "file2.txt", "file10.txt", "old",
                                     "Scan 9.txt", "Scan 10.txt", "Scan 10a.txt",
#else
                                     "File1.txt", "file10.txt", "file2.txt", "old",
                                     "Scan 10.txt", "Scan 10a.txt", "Scan 9.txt",
#endif
                                     "site", "Tom && Jerry.txt", "tool"};
    EXPECT_EQ(want, itemsOf(tree));
#ifndef ZENTOR_NT3
    EXPECT_EQ(want, itemsOf(opened(GetSubMenu(popup, 2)))) << "the shortcut's folder";
#endif
    for (int i = 0; i < GetMenuItemCount(tree); i++) {
        UINT id = itemId(tree, i);
        EXPECT_TRUE(want[i] == "-" || (!findCommandApp((int32_t)id) && id != CMD_OPTIONS &&
                                       id != CMD_EDIT_MENUS && id != CMD_INFO && id != CMD_EXIT))
            << want[i] << " has the id of an entry or a bar command: " << id;
    }

    HMENU alpha = opened(GetSubMenu(tree, positionOf(tree, "Alpha >")));
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "deep >"}), itemsOf(alpha));
    HMENU deep = opened(GetSubMenu(alpha, 2));
    std::string greek = utf8(L"\u03bb probe.exe");
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "leaf.txt", "probe.exe", greek}),
              itemsOf(deep));
    HMENU empty = opened(GetSubMenu(tree, positionOf(tree, "Empty >")));
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "(Empty) (off)"}), itemsOf(empty));

    // Files start through the launch, in their folders; the name the code
    // page cannot hold by its short name.
    for (const std::string& name : {std::string("probe.exe"), greek}) {
        SCOPED_TRACE(name);
        launches.clear();
        DeleteFileA(probeOut.c_str());
        choose(deep, name);
        ASSERT_EQ(1u, launches.size());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(launches[0].file.c_str()))
            << launches[0].file;
        EXPECT_EQ("", launches[0].parameters);
        EXPECT_EQ(deepDir, launches[0].directory);
        auto ran = probeResult(probeOut);
        ASSERT_FALSE(ran.empty()) << "the probe did not run";
        EXPECT_EQ(0, lstrcmpiA(deepDir.c_str(), ran["cwd"].c_str())) << ran["cwd"];
        EXPECT_EQ("9", ran["show"]);
    }
    // Open Folder: the folder the menu lists.
    launches.clear();
    choose(tree, "Open Folder");
    choose(deep, "Open Folder");
    ASSERT_EQ(2u, launches.size());
    EXPECT_EQ(dir + "\\Tree", launches[0].file);
    EXPECT_EQ(deepDir, launches[1].file);

    // Each opening lists the folder again; a folder gone since shows a note.
    make("Tree\\Empty\\new.txt");
    RemoveDirectoryA((dir + "\\Tree\\beta").c_str());
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "new.txt"}), itemsOf(opened(empty)));
    HMENU gone = GetSubMenu(tree, positionOf(tree, "gone >"));
    RemoveDirectoryA((dir + "\\Tree\\gone").c_str());
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "(Cannot open folder) (off)"}),
              itemsOf(opened(gone)));
    want.erase(want.begin() + 5); // gone
    want.erase(want.begin() + 3); // beta
    EXPECT_EQ(want, itemsOf(opened(tree))) << "beta and gone are gone";

    // A folder that does not answer: a note, and the bar goes on (had it
    // waited for the answer, the test would wait with it). The listing goes
    // on, and the next opening shows it.
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "(Not responding) (off)"}),
              itemsOf(opened(GetSubMenu(tree, positionOf(tree, "slow >")))));
    HMENU many = opened(GetSubMenu(popup, 3));
    std::vector<std::string> items = itemsOf(many);
    ASSERT_EQ(503u, items.size()) << "Open Folder, a separator, 500 items and More...";
    EXPECT_EQ("n1.txt", items[2]) << "hidden files are left out";
    EXPECT_EQ("More...", items.back());
    launches.clear();
    choose(many, "More...");
    ASSERT_EQ(1u, launches.size());
    EXPECT_EQ(dir + "\\Many", launches[0].file);
    SetEvent(letSlowGo);
    std::vector<std::string> later;
    EXPECT_TRUE(until([&] {
        HMENU slow = GetSubMenu(opened(tree), positionOf(tree, "slow >"));
        later = itemsOf(opened(slow));
        return later == std::vector<std::string>{"Open Folder", "-", "later.txt"};
    })) << ::testing::PrintToString(later);

    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
    SetEnvironmentVariableA("ZT_FOLDERS", nullptr);
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", nullptr);
}

bool inDialog = false;

void CALLBACK untickFolderMenus(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Zentor Options");
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    inDialog = true;
    CheckDlgButton(dialog, IDC_FOLDER_MENUS, BST_UNCHECKED);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(FolderMenusTest, TheOptionOffGivesAPlainEntryThatOpensTheFolder)
{
    make("Docs\\");
    make("Docs\\a.txt");
    makeBar({{"&Docs", dir + "\\Docs"}});
    HMENU popup = barPopup();
    EXPECT_EQ((std::vector<std::string>{"&Docs >"}), itemsOf(popup));

    // Switched off in the Options dialog: at once, the entry as it always was.
    UINT_PTR timer = SetTimer(nullptr, 0, 10, untickFolderMenus);
    openOptionsDialog();
    KillTimer(nullptr, timer);
    ASSERT_TRUE(inDialog);
    clearBoxes(); // zentornt3 says at every OK that it always auto-hides
    EXPECT_EQ(0, barSettings.folderMenus);
    EXPECT_EQ((std::vector<std::string>{"&Docs"}), itemsOf(barPopup()));
    SendMessageA(barWindow, WM_COMMAND, 101, 0);
    ASSERT_EQ(1u, launches.size());
    EXPECT_EQ(dir + "\\Docs", launches[0].file);
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
}

}  // namespace
