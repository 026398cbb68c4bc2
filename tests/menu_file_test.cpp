#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include "app/app.h"
#include "app/text.h"
#include "menus/menu_file.h"
#include "menus/menu_list.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

void putText(Bytes& b, size_t at, const std::string& text)
{
    memcpy(b.data() + at, text.data(), text.size());
}

void putInt(Bytes& b, size_t at, int32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (unsigned char)((uint32_t)v >> (8 * i));
}

Bytes version()
{
    Bytes b(4);
    putInt(b, 0, 102);
    return b;
}

// Texts may hold an embedded NUL to put a tail behind the terminator.
Bytes menuRecord(const std::string& name, int32_t count, unsigned char r30 = 0,
                 unsigned char r31 = 0)
{
    Bytes b(48);
    putText(b, 0, name);
    b[30] = r30;
    b[31] = r31;
    putInt(b, 32, count);
    return b;
}

Bytes appRecord(const std::string& name, const std::string& path, const std::string& dir = "",
                const std::string& params = "", int32_t show = 0, int32_t separator = 0)
{
    Bytes b(296);
    putText(b, 0, path);
    putText(b, 80, dir);
    putText(b, 160, params);
    putText(b, 250, name);
    putInt(b, 280, show);
    putInt(b, 284, separator);
    return b;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// "equal", or where the two first differ.
std::string windowsPath(const char* file)
{
    char directory[80];
    GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory) + file;
}

Bytes defaultFile()
{
    return join({version(), menuRecord("&Apps", 2),
                 appRecord("Visual &C++ v4.0", "c:\\vc40\\bin\\msdev.exe"),
                 appRecord("&Word v7.0", "c:\\winword\\winword.exe"), menuRecord("&Games", 2),
                 appRecord("&Minesweeper", windowsPath("\\winmine.exe")),
                 appRecord("&Solitaire", windowsPath("\\sol.exe"))});
}

class MenuFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        dir = enterFreshDirectory("menu_file");
        copyField(dataFilePath, "menus.zt");
    }
    void TearDown() override { freeAllMenus(); }

    int menuCount()
    {
        int n = 0;
        for (MenuNode* m = menuList; m; m = m->next)
            n++;
        return n;
    }

    std::string dir;
};

TEST_F(MenuFileTest, NoFileGivesTheDefaultMenusAndTheirExactFile)
{
    ASSERT_EQ(1, loadMenuFile());
    EXPECT_EQ(2, menuCount());
    EXPECT_TRUE(readFileBytes("menus.zt").empty()) << "loading must not write the file";
    ASSERT_EQ(1, saveMenuFile());
    Bytes saved = readFileBytes("menus.zt");
    EXPECT_EQ(4u + 2 * (48 + 2 * 296), saved.size());
    EXPECT_EQ("equal", compareBytes(defaultFile(), saved));
    EXPECT_TRUE(recordedBoxes.empty());

    // Without a path the file is "default.zt" in the current directory.
    dataFilePath[0] = '\0';
    ASSERT_EQ(1, saveMenuFile());
    EXPECT_EQ("equal", compareBytes(defaultFile(), readFileBytes("default.zt")));
}

TEST_F(MenuFileTest, ShortFiles)
{
    Bytes oneMenu = join({version(), menuRecord("&Tools", 2), appRecord("a", "a.exe"),
                          appRecord("b", "b.exe")});
    Bytes cutInSecondMenu = oneMenu;
    cutInSecondMenu.insert(cutInSecondMenu.end(), 47, 'x');
    struct Case {
        const char* what;
        Bytes file;
        const char* firstMenu; // nullptr: no menus
        int menus;
        int firstCount;
    } cases[] = {
        {"empty file", {}, "&Apps", 2, 2},
        {"version only", version(), nullptr, 0, 0},
        {"version and half a menu", join({version(), Bytes(20, 'm')}), nullptr, 0, 0},
        {"ends inside the second menu", cutInSecondMenu, "&Tools", 1, 2},
    };
    for (const Case& c : cases) {
        freeAllMenus();
        writeFileBytes("menus.zt", c.file);
        ASSERT_EQ(1, loadMenuFile()) << c.what;
        EXPECT_EQ(c.menus, menuCount()) << c.what;
        if (c.firstMenu) {
            ASSERT_TRUE(menuList);
            EXPECT_STREQ(c.firstMenu, menuList->name) << c.what;
            EXPECT_EQ(c.firstCount, menuList->appCount) << c.what;
        }
        EXPECT_TRUE(recordedBoxes.empty()) << c.what;
    }
    // The menu read whole keeps both its items, linked.
    ASSERT_TRUE(menuList && menuList->firstApp && menuList->firstApp->next);
    EXPECT_STREQ("b", menuList->firstApp->next->name);
    EXPECT_EQ(menuList->firstApp, menuList->firstApp->next->prev);
    EXPECT_EQ(nullptr, menuList->firstApp->next->next);
}

TEST_F(MenuFileTest, SavedLayoutOfSmallLists)
{
    MenuNode* m = newMenuNode();
    copyField(m->name, "Empty");
    appendMenu(m);
    ASSERT_EQ(1, saveMenuFile());
    Bytes want = join({version(), menuRecord("Empty", 0)});
    EXPECT_EQ(52u, want.size());
    EXPECT_EQ("equal", compareBytes(want, readFileBytes("menus.zt")));

    AppNode* a = newAppNode();
    copyField(a->name, "Notes");
    copyField(a->path, "notepad.exe");
    copyField(a->workingDir, "c:\\work");
    copyField(a->parameters, "todo.txt");
    a->showCommand = 3;
    a->separatorBefore = 1;
    appendApp(m, a);
    ASSERT_EQ(1, saveMenuFile());
    want = join({version(), menuRecord("Empty", 1),
                 appRecord("Notes", "notepad.exe", "c:\\work", "todo.txt", 3, 1)});
    EXPECT_EQ(348u, want.size());
    EXPECT_EQ("equal", compareBytes(want, readFileBytes("menus.zt")));
    EXPECT_TRUE(recordedBoxes.empty());
}

// Another program's hold on the data file, let go after a fifth of a second.
DWORD WINAPI letGoSoon(void* file)
{
    Sleep(200);
    CloseHandle((HANDLE)file);
    return 0;
}

TEST_F(MenuFileTest, LoadAndSaveKeepEveryByte)
{
    std::string tail30 = std::string("A\0", 2) + std::string(28, 't'); // tail up to the last byte
    Bytes file = join({
        version(),
        menuRecord(tail30, 3, 0xAB, 0xCD),
        appRecord(std::string("one\0old name", 12), std::string("p.exe\0tail", 10),
                  std::string("d\0irtail", 8), std::string("-x\r\n\x1a", 5), 9, 1),
        appRecord("", "", "", "", 0, 0),
        appRecord("---", "q.exe", "", "", 6, 1),
        menuRecord("Nothing", 0, 1, 2),
        menuRecord("Last", 1),
        appRecord(std::string(29, 'n'), std::string(79, 'p'), std::string(79, 'w'),
                  std::string(89, 'a'), 3, 0),
    });
    writeFileBytes("menus.zt", file);
    // Held by another program as the load begins: the load waits for it. A
    // load that gave up would end its process, so it runs in a child of the
    // test, and only this case fails if it does.
    EXPECT_EXIT(
        {
            HANDLE held =
                CreateFileA("menus.zt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            HANDLE letGo = CreateThread(nullptr, 0, letGoSoon, held, 0, nullptr);
            int loaded = loadMenuFile();
            WaitForSingleObject(letGo, INFINITE);
            _exit(loaded && menuCount() == 3 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    ASSERT_EQ(1, loadMenuFile());
    ASSERT_EQ(3, menuCount());
    MenuNode* first = menuList;
    EXPECT_STREQ("A", first->name);
    ASSERT_TRUE(first->firstApp && first->firstApp->next && first->firstApp->next->next);
    AppNode* a3 = first->firstApp->next->next;
    EXPECT_STREQ("one", first->firstApp->name);
    EXPECT_EQ(9, first->firstApp->showCommand);
    EXPECT_EQ(6, a3->showCommand);
    EXPECT_EQ(1, a3->separatorBefore);
    EXPECT_EQ(nullptr, a3->next);
    EXPECT_EQ(nullptr, first->next->firstApp);
    EXPECT_EQ(std::string(29, 'n'), first->next->next->firstApp->name);

    ASSERT_EQ(1, saveMenuFile());
    EXPECT_EQ("equal", compareBytes(file, readFileBytes("menus.zt")));
    EXPECT_TRUE(recordedBoxes.empty());
}

// 443 items and every field of every record different: texts of all byte
// values with tails behind their terminators, reserved bytes, show commands
// and separators. The sizes put an item record (in the 9th menu) and the
// 18th menu record across the file's 64 KiB boundaries.
Bytes largeFile()
{
    uint32_t seed = 2026;
    auto random = [&] {
        seed = seed * 1103515245u + 12345u;
        return (unsigned char)(seed >> 16);
    };
    auto text = [&](Bytes& b, size_t at, size_t size) {
        for (size_t i = 0; i < size; i++)
            b[at + i] = random();
        b[at + random() % size] = 0;
    };
    const int32_t shows[] = {0, 3, 6, 9};
    Bytes file = version();
    for (int m = 0; m < 18; m++) {
        int count = m < 16 ? 26 : m == 16 ? 24 : 3;
        Bytes menu = menuRecord("", count, random(), random());
        text(menu, 0, 30);
        file.insert(file.end(), menu.begin(), menu.end());
        for (int i = 0; i < count; i++) {
            Bytes app = appRecord("", "", "", "", shows[random() % 4], random() & 1);
            text(app, 0, 80);
            text(app, 80, 80);
            text(app, 160, 90);
            text(app, 250, 30);
            file.insert(file.end(), app.begin(), app.end());
        }
    }
    return file;
}

TEST_F(MenuFileTest, LargeFileComesBackByteForByte)
{
    const Bytes file = largeFile();
    writeFileBytes("menus.zt", file);
    ASSERT_EQ(1, loadMenuFile());
    EXPECT_EQ(18, menuCount());
    ASSERT_EQ(1, saveMenuFile());
    EXPECT_EQ("equal", compareBytes(file, readFileBytes("menus.zt")));
}

TEST_F(MenuFileTest, TextsWithoutTerminatorAreCutAtTheirFieldsEnd)
{
    writeFileBytes("menus.zt", join({version(), menuRecord(std::string(30, 'm'), 1),
                                     appRecord(std::string(30, 'n'), std::string(80, 'p'),
                                               std::string(80, 'w'), std::string(90, 'a'))}));
    ASSERT_EQ(1, loadMenuFile());
    ASSERT_TRUE(menuList && menuList->firstApp);
    const AppNode* a = menuList->firstApp;
    const struct {
        const char* field;
        size_t size;
        char letter;
    } fields[] = {{menuList->name, sizeof menuList->name, 'm'}, {a->name, sizeof a->name, 'n'},
                  {a->path, sizeof a->path, 'p'},           {a->workingDir, sizeof a->workingDir, 'w'},
                  {a->parameters, sizeof a->parameters, 'a'}};
    for (const auto& f : fields)
        EXPECT_EQ(std::string(f.size - 1, f.letter), std::string(f.field, strnlen(f.field, f.size)))
            << "field of " << f.size << " bytes";
}

TEST_F(MenuFileTest, FailedSaveKeepsTheOldFile)
{
    ASSERT_EQ(1, loadMenuFile());
    Bytes old = join({version(), menuRecord("Old", 0)});
    struct Case {
        const char* what;
        bool directory;
    } cases[] = {{"target is a directory", true}, {"target is read-only", false}};
    for (const Case& c : cases) {
        std::string target = c.directory ? "folder.zt" : "locked.zt";
        if (c.directory) {
            CreateDirectoryA(target.c_str(), nullptr);
        } else {
            writeFileBytes(target, old);
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        copyField(dataFilePath, target.c_str());
        clearBoxes();
        EXPECT_EQ(0, saveMenuFile()) << c.what;
        ASSERT_EQ(1u, recordedBoxes.size()) << c.what;
        EXPECT_EQ("Could not open " + target + " for write.\nPlease check the file.",
                  recordedBoxes[0].text);
        EXPECT_EQ("Zentor", recordedBoxes[0].caption);
        EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
        DWORD attributes = GetFileAttributesA(target.c_str());
        if (c.directory)
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                        (attributes & FILE_ATTRIBUTE_DIRECTORY)) << attributes;
        else
            EXPECT_EQ("equal", compareBytes(old, readFileBytes(target))) << c.what;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((target + ".new").c_str()))
            << c.what << ": a stray .new file was left";
        EXPECT_EQ(2, menuCount()) << c.what;
    }
}

TEST_F(MenuFileTest, StoredCountsAlwaysMatchTheRecordsThatFollow)
{
    // A count below 0 is an empty menu; one entry added to it later must be
    // saved with the count 1, or the next load misreads everything after it.
    writeFileBytes("menus.zt", join({version(), menuRecord("Neg", -5), menuRecord("Next", 1),
                                     appRecord("x", "x.exe")}));
    ASSERT_EQ(1, loadMenuFile());
    ASSERT_EQ(2, menuCount());
    EXPECT_EQ(nullptr, menuList->firstApp);
    AppNode* added = newAppNode();
    copyField(added->name, "added");
    appendApp(menuList, added);
    // A count that disagrees with the chain is not written either.
    menuList->next->appCount = 9;
    ASSERT_EQ(1, saveMenuFile());
    EXPECT_EQ("equal", compareBytes(join({version(), menuRecord("Neg", 1), appRecord("added", ""),
                                          menuRecord("Next", 1), appRecord("x", "x.exe")}),
                                    readFileBytes("menus.zt")));
}

}  // namespace
