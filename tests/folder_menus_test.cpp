// Folder entries as menus, in both builds, on a folder tree made in the
// test's temporary folder. Menus are opened as the bar's menu loop opens
// them (WM_INITMENUPOPUP to the bar) and read back with the menu calls. The
// shell's launch call records what it is asked and starts programs only;
// the first file of a listing can be held back, as a share that does not
// answer holds it.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <set>
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
#include "menus/menu_icons.h"
#include "options/settings.h"
#include "probe_reader.h"
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

#ifndef ZENTOR_NT3
bool makeShortcut(const std::string& linkPath, const std::string& target)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, (void**)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        link->SetPath(target.c_str());
        std::wstring wide(linkPath.begin(), linkPath.end());
        saved = SUCCEEDED(file->Save(wide.c_str(), TRUE));
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return saved;
}

HBITMAP itemBitmap(HMENU menu, int position)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    GetMenuItemInfoA(menu, (UINT)position, TRUE, &item);
    return item.hbmpItem;
}
#endif

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

TEST_F(FolderMenusTest, AFolderEntryShowsTheFolderAsItIsNow)
{
    for (const char* path : {"Tree\\", "Tree\\beta\\", "Tree\\Alpha\\", "Tree\\Alpha\\deep\\",
                             "Tree\\Alpha\\deep\\leaf.txt", "Tree\\Empty\\", "Tree\\file10.txt",
                             "Tree\\file2.txt", "Tree\\File1.txt", "Tree\\Tom & Jerry.txt",
                             "Tree\\Scan 10a.txt", "Tree\\Scan 9.txt", "Tree\\Scan 10.txt",
                             "Tree\\tool.lnk", "Tree\\site.URL", "Tree\\old.pif"})
        make(path);
    make("Tree\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    make("Tree\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    make("Tree\\Hidden folder\\", FILE_ATTRIBUTE_HIDDEN);
    SetEnvironmentVariableA("ZT_FOLDERS", dir.c_str());
    std::string link = dir + "\\tree.lnk";
#ifndef ZENTOR_NT3
    ASSERT_TRUE(makeShortcut(link, dir + "\\Tree"));
    const char* linkItem = "&Link >";
#else
    const char* linkItem = "&Link"; // no shortcuts on Windows NT 3.x
#endif
    makeBar({{"&Tree", "%ZT_FOLDERS%\\Tree"}, {"&Plain", make("plain.txt")}, {"&Link", link}});

    HMENU popup = barPopup();
    EXPECT_EQ((std::vector<std::string>{"&Tree >", "&Plain", linkItem}), itemsOf(popup));
    HMENU tree = opened(GetSubMenu(popup, 0));
    std::vector<std::string> want = {"Open Folder", "-", "Alpha >", "beta >", "Empty >",
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

    HMENU alpha = opened(GetSubMenu(tree, positionOf(tree, "Alpha >")));
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "deep >"}), itemsOf(alpha));
    HMENU deep = opened(GetSubMenu(alpha, 2));
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "leaf.txt"}), itemsOf(deep));
    HMENU empty = opened(GetSubMenu(tree, positionOf(tree, "Empty >")));
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "(Empty) (off)"}), itemsOf(empty));

    // Each opening lists the folder again.
    make("Tree\\Empty\\new.txt");
    RemoveDirectoryA((dir + "\\Tree\\beta").c_str());
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "new.txt"}), itemsOf(opened(empty)));
    want.erase(want.begin() + 3);
    EXPECT_EQ(want, itemsOf(opened(tree))) << "beta is gone";
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
    SetEnvironmentVariableA("ZT_FOLDERS", nullptr);
}

TEST_F(FolderMenusTest, ALevelShowsAtMost500ItemsThenMore)
{
    make("Many\\");
    for (int i = 1; i <= 503; i++)
        make("Many\\n" + std::to_string(i) + ".txt");
    make("Many\\n0.txt", FILE_ATTRIBUTE_HIDDEN);
    makeBar({{"&Many", dir + "\\Many"}});
    HMENU many = opened(GetSubMenu(barPopup(), 0));
    std::vector<std::string> items = itemsOf(many);
    ASSERT_EQ(503u, items.size()) << "Open Folder, a separator, 500 items and More...";
    EXPECT_EQ("n1.txt", items[2]);
    EXPECT_EQ("More...", items.back());
#ifndef ZENTOR_NT3
    EXPECT_EQ("n500.txt", items[501]);
#endif
    // More... opens the folder, as Open Folder opens it.
    choose(many, "More...");
    ASSERT_EQ(1u, launches.size());
    EXPECT_EQ(dir + "\\Many", launches[0].file);
}

TEST_F(FolderMenusTest, ChoosingAFileStartsItThroughTheLaunchInItsFolder)
{
    std::string sub = make("Tools\\Sub\\");
    std::string probe = sub + "probe.exe";
    ASSERT_TRUE(CopyFileA(probePath().c_str(), probe.c_str(), FALSE));
    std::string probeOut = dir + "\\probe-out.txt";
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", probeOut.c_str());
    makeBar({{"&Tools", dir + "\\Tools"}});
    HMENU tools = opened(GetSubMenu(barPopup(), 0));
    HMENU subMenu = opened(GetSubMenu(tools, positionOf(tools, "Sub >")));
    choose(subMenu, "probe.exe");

    ASSERT_EQ(1u, launches.size());
    EXPECT_EQ(probe, launches[0].file);
    EXPECT_EQ("", launches[0].parameters);
    EXPECT_EQ(dir + "\\Tools\\Sub", launches[0].directory);
    auto ran = probeResult(probeOut);
    ASSERT_FALSE(ran.empty()) << "the probe did not run";
    EXPECT_EQ(0, lstrcmpiA((dir + "\\Tools\\Sub").c_str(), ran["cwd"].c_str())) << ran["cwd"];
    EXPECT_EQ("9", ran["show"]);

    // A name the code page cannot hold shows whole, and starts by its short name.
    std::wstring greek = L"\u03bb probe.exe";
    ASSERT_TRUE(CopyFileW(std::wstring(probe.begin(), probe.end()).c_str(),
                          (std::wstring(sub.begin(), sub.end()) + greek).c_str(), FALSE));
    DeleteFileA(probeOut.c_str());
    subMenu = opened(GetSubMenu(tools, positionOf(tools, "Sub >")));
    choose(subMenu, utf8(greek.c_str()));
    ASSERT_EQ(2u, launches.size());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(launches[1].file.c_str()))
        << launches[1].file;
    EXPECT_EQ(dir + "\\Tools\\Sub", launches[1].directory);
    ran = probeResult(probeOut);
    ASSERT_FALSE(ran.empty()) << "the probe of the Greek name did not run";
    EXPECT_EQ(0, lstrcmpiA((dir + "\\Tools\\Sub").c_str(), ran["cwd"].c_str())) << ran["cwd"];
    launches.clear();

    // Open Folder: the entry's folder as the entry opened it; a subfolder's own.
    choose(opened(tools), "Open Folder");
    subMenu = opened(GetSubMenu(tools, positionOf(tools, "Sub >")));
    choose(subMenu, "Open Folder");
    ASSERT_EQ(2u, launches.size());
    EXPECT_EQ(dir + "\\Tools", launches[0].file);
    EXPECT_EQ(dir + "\\Tools\\Sub", launches[1].file);

    // A file gone since the menu opened: the launch's own warning.
    subMenu = opened(GetSubMenu(tools, positionOf(tools, "Sub >")));
    DeleteFileA(probe.c_str());
    choose(subMenu, "probe.exe");
    ASSERT_EQ(1u, recordedBoxes.size());
#ifndef ZENTOR_NT3
    EXPECT_EQ("File/Executable not found.\nCheck menuitem setup.", recordedBoxes[0].text);
#else
    EXPECT_EQ("File not found.", recordedBoxes[0].text);
#endif
    SetEnvironmentVariableA("ZENTOR_PROBE_OUT", nullptr);
}

TEST_F(FolderMenusTest, SlowAndUnreadableFoldersShowANoteAndNoBox)
{
    make("Top\\slow\\");
    make("Top\\slow\\later.txt");
    make("Top\\gone\\");
    makeBar({{"&Top", dir + "\\Top"}});
    HMENU top = opened(GetSubMenu(barPopup(), 0));
    HMENU gone = GetSubMenu(top, positionOf(top, "gone >"));
    RemoveDirectoryA((dir + "\\Top\\gone").c_str());
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "(Cannot open folder) (off)"}),
              itemsOf(opened(gone)));

    HMENU slow = GetSubMenu(top, positionOf(top, "slow >"));
    // Had the bar waited for the answer, the test would wait with it.
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "(Not responding) (off)"}),
              itemsOf(opened(slow)));
    // Another folder is listed meanwhile, by another worker.
    EXPECT_EQ((std::vector<std::string>{"Open Folder", "-", "slow >"}), itemsOf(opened(top)));
    SetEvent(letSlowGo);
    // The listing went on, and the next opening shows it.
    std::vector<std::string> later;
    EXPECT_TRUE(until([&] {
        later = itemsOf(opened(GetSubMenu(opened(top), 2)));
        return later == std::vector<std::string>{"Open Folder", "-", "later.txt"};
    })) << ::testing::PrintToString(later);
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;
}

TEST_F(FolderMenusTest, ItemIdsAreNoEntrysAndComeBackWhenEmptied)
{
    make("Ids\\");
    for (int i = 0; i < 60; i++)
        make("Ids\\f" + std::to_string(i));
    makeBar({{"&Ids", dir + "\\Ids"}});
    // 655 more menus of 100 entries take all but a few dozen ids.
    for (int k = 2; k <= 656; k++) {
        MenuNode* m = newMenuNode();
        formatText(m->name, sizeof m->name, "M%d", k);
        appendMenu(m);
        for (int i = 0; i < 100; i++)
            appendApp(m, newAppNode());
    }
    rebuildMenuBar();
    HMENU ids = opened(GetSubMenu(barPopup(), 0));
    // Open Folder, a separator, the items that got ids, and More...
    std::vector<std::string> items = itemsOf(ids);
    ASSERT_LT(4u, items.size());
    EXPECT_EQ("More...", items.back()) << "the ids ran out";
    EXPECT_GT(60u, items.size() - 3) << "the ids ran out";
    EXPECT_EQ(itemId(ids, 0), itemId(ids, (int)items.size() - 1)) << "More... opens the folder";
    std::set<UINT> taken;
    for (int i = 0; i + 1 < (int)items.size(); i++) {
        UINT id = itemId(ids, i);
        if (items[i] == "-")
            continue;
        EXPECT_TRUE(taken.insert(id).second) << items[i] << " repeats " << id;
        EXPECT_EQ(nullptr, findCommandApp((int32_t)id)) << items[i] << " has an entry's id " << id;
        EXPECT_TRUE(id != CMD_OPTIONS && id != CMD_EDIT_MENUS && id != CMD_INFO && id != CMD_EXIT &&
                    id > 0 && id <= 65535)
            << items[i] << " id " << id;
    }
    // Emptied and filled again: the ids came back, and serve as many items.
    EXPECT_EQ(items, itemsOf(opened(ids)));
}

#ifndef ZENTOR_NT3
TEST_F(FolderMenusTest, ItemsCarryIconsAsTheEntriesDo)
{
    make("Icons\\notes.txt");
    make("Icons\\Sub\\");
    barSettings.showIcons = 1;
    makeBar({{"&Icons", dir + "\\Icons"}});
    startMenuIcons(); // as the bar's first message after it is shown does
    HMENU popup = barPopup();
    HMENU icons = opened(GetSubMenu(popup, 0));
    ASSERT_EQ((std::vector<std::string>{"Open Folder", "-", "Sub >", "notes.txt"}),
              itemsOf(icons));
    // The icons come from the worker while the menus stand, by the items' ids.
    EXPECT_TRUE(until([&] { return itemBitmap(popup, 0) != nullptr; })) << "the folder entry's";
    EXPECT_TRUE(until([&] { return itemBitmap(icons, 2) && itemBitmap(icons, 3); }))
        << "the folder's items'";
    EXPECT_EQ(nullptr, itemBitmap(icons, 0)) << "Open Folder";
    stopMenuIcons();
}
#endif

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
