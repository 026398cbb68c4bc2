// Icons beside the bar's menu items, with the shell's icon calls answered
// by the stand-ins below: a file's icon is a colour of its name, a type's
// is green, the generic icon has no alpha channel (its mask makes a corner
// clear), and a file named "stuck" keeps its lookup until the test lets it go.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/text.h"
#include "bar/bar_window.h"
#include "menus/icon_lookup.h"
#include "menus/menu_bar.h"
#include "menus/menu_icons.h"
#include "options/settings.h"
#include "resource.h"
#include "test_support.h"

static std::mutex lookupsLock;
static std::map<std::string, int> lookups; // path (as asked) -> times
static HANDLE letStuckGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);

// A monochrome bitmap's rows are whole 16-bit words.
static size_t maskStride(int size)
{
    return (size_t)(size + 15) / 16 * 2;
}

// An icon of one colour (32 bits a pixel) whose mask is clear but for its
// first maskedRows rows.
static HICON makeIcon(int size, DWORD argb, int maskedRows)
{
    std::vector<DWORD> colour((size_t)size * size, argb);
    std::vector<BYTE> mask(maskStride(size) * size, 0);
    for (size_t at = 0; at < maskStride(size) * maskedRows; at++)
        mask[at] = 0xFF;
    HBITMAP colourBits = CreateBitmap(size, size, 1, 32, colour.data());
    HBITMAP maskBits = CreateBitmap(size, size, 1, 1, mask.data());
    ICONINFO info = {TRUE, 0, 0, maskBits, colourBits};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colourBits);
    DeleteObject(maskBits);
    return icon;
}

HICON shellFileIcon(const char* path, int large)
{
    std::string name = path;
    {
        std::lock_guard<std::mutex> hold(lookupsLock);
        lookups[name]++;
    }
    if (name.find("stuck") != std::string::npos)
        WaitForSingleObject(letStuckGo, INFINITE);
    int size = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
    // Each file has a colour of its own.
    return makeIcon(size, 0x80FF0000 | (DWORD)name.size(), 0);
}

// Programs' own icons come from the shell's answer in this test.
HICON firstIconOf(const char*, int)
{
    return nullptr;
}

// A type's icon is green; the generic icon has no alpha channel: white,
// with the mask's first row clear.
HICON shellTypeIcon(const char* extension, int large)
{
    {
        std::lock_guard<std::mutex> hold(lookupsLock);
        lookups[std::string("*") + extension]++;
    }
    int size = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
    return extension[0] ? makeIcon(size, 0xFF00FF00, 0) : makeIcon(size, 0x00FFFFFF, 1);
}

namespace {

int timesLookedUp(const std::string& path)
{
    std::lock_guard<std::mutex> hold(lookupsLock);
    auto found = lookups.find(path);
    return found == lookups.end() ? 0 : found->second;
}

HBITMAP itemBitmap(HMENU popup, int position)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    GetMenuItemInfoA(popup, (UINT)position, TRUE, &item);
    return item.hbmpItem;
}

// The bitmaps of a popup's items as they open; a null one waits.
std::vector<HBITMAP> openAndRead(int menu)
{
    HMENU popup = GetSubMenu(menuBar, menu);
    fillBarPopup(popup);
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < GetMenuItemCount(popup); i++)
        bitmaps.push_back(itemBitmap(popup, i));
    return bitmaps;
}

bool allIn(HMENU popup)
{
    if (GetMenuItemCount(popup) <= 0)
        return false;
    for (int i = 0; i < GetMenuItemCount(popup); i++)
        if (!itemBitmap(popup, i))
            return false;
    return true;
}

DWORD pixel(HBITMAP bitmap, int x, int y)
{
    DIBSECTION dib = {};
    if (GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32)
        return 0xDEADBEEF; // not a 32-bit DIB section
    return ((const DWORD*)dib.dsBm.bmBits)[y * dib.dsBm.bmWidth + x];
}

class MenuIconsTest : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override
    {
        resetProgramState();
        dir = enterFreshDirectory("icons");
        barSettings.showIcons = 1;
        ResetEvent(letStuckGo);
        lookups.clear();
    }
    void TearDown() override
    {
        SetEvent(letStuckGo);
        removeBar();
        stopMenuIcons();
        resetProgramState();
    }
    void touch(const std::string& name) { writeFileBytes(dir + "\\" + name, {'x'}); }
    MenuNode* addMenu(const char* name, const std::vector<std::string>& paths)
    {
        MenuNode* m = newMenuNode();
        copyField(m->name, name);
        appendMenu(m);
        for (const std::string& path : paths) {
            AppNode* a = newAppNode();
            copyField(a->name, path.c_str());
            copyField(a->path, path.c_str());
            appendApp(m, a);
        }
        return m;
    }
    void makeBar()
    {
        popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
        ASSERT_TRUE(registerBarClass());
        ASSERT_EQ(1, createBar());
    }
};

TEST_F(MenuIconsTest, ItemsShowTheIconsOfTheirFilesLookedUpOnceEach)
{
    touch("tool.exe");
    touch("notes.txt");
    touch("other.txt");
    CreateDirectoryA((dir + "\\Work").c_str(), nullptr);
    SetEnvironmentVariableA("ZT_ICONS", dir.c_str());
    const std::string tool = dir + "\\tool.exe";
    addMenu("&Files", {tool, dir + "\\notes.txt", dir + "\\OTHER.TXT", dir + "\\missing.exe",
                       dir + "\\Work", "%ZT_ICONS%\\tool.exe"});
    makeBar();
    // Open before the lookups begin (they begin on a timer): the open
    // popup keeps its items, and gets its icons at its next opening.
    openAndRead(0);
    startMenuIcons();
    EXPECT_EQ(6, GetMenuItemCount(GetSubMenu(menuBar, 0))) << "items went from an open popup";
    std::vector<HBITMAP> first = openAndRead(0);
    EXPECT_EQ(std::vector<HBITMAP>(first.size(), nullptr), first) << "a popup waited for lookups";
    HMENU popup = GetSubMenu(menuBar, 0);
    ASSERT_TRUE(until([&] { return allIn(popup); })) << "icons did not arrive in the open popup";
    std::vector<HBITMAP> got = openAndRead(0);

    // Premultiplied 32-bit pixels: red at half alpha is 0x80 of red; the
    // generic icon has no alpha: opaque where its mask is set, clear elsewhere.
    EXPECT_EQ(0x80800000u, pixel(got[0], 4, 4) & 0xFFFFFF00u);
    EXPECT_EQ(0xFF00FF00u, pixel(got[1], 4, 4));
    EXPECT_EQ(0xFFFFFFFFu, pixel(got[3], 4, 4)) << "generic icon inside";
    EXPECT_EQ(0u, pixel(got[3], 4, 0)) << "generic icon's clear row";
    // One type, one icon; one file however it is written, one icon.
    EXPECT_EQ(got[1], got[2]);
    EXPECT_EQ(got[0], got[5]);
    EXPECT_NE(got[0], got[4]);
    EXPECT_NE(got[0], got[3]);

    std::string lower = dir;
    CharLowerBuffA(&lower[0], (DWORD)lower.size());
    EXPECT_EQ(1, timesLookedUp(lower + "\\tool.exe"));
    EXPECT_EQ(1, timesLookedUp("*.txt"));
    EXPECT_EQ(1, timesLookedUp(lower + "\\work"));
    EXPECT_EQ(0, timesLookedUp(lower + "\\missing.exe"));

    // An edit looks up only what is new, and the old pictures are kept.
    addMenu("&More", {tool, dir + "\\notes.txt", dir + "\\new.exe"});
    touch("new.exe");
    size_t before = lookups.size();
    rebuildMenuBar();
    openAndRead(1);
    ASSERT_TRUE(until([&] { return allIn(GetSubMenu(menuBar, 1)); }));
    EXPECT_EQ(before + 1, lookups.size());
    EXPECT_EQ(1, timesLookedUp(lower + "\\new.exe"));

    // Switched off: the items lose their pictures and every bitmap is freed.
    stopMenuIcons();
    for (HBITMAP b : got)
        EXPECT_EQ(0u, GetObjectType(b)) << "bitmap left";
    EXPECT_EQ(std::vector<HBITMAP>(6, nullptr), openAndRead(0));
}

TEST_F(MenuIconsTest, AStuckLookupHoldsBackNoOtherIcon)
{
    touch("stuck.exe");
    touch("a.exe");
    touch("b.exe");
    addMenu("&Slow", {dir + "\\stuck.exe", dir + "\\a.exe", dir + "\\b.exe"});
    makeBar();
    startMenuIcons();
    openAndRead(0);
    HMENU popup = GetSubMenu(menuBar, 0);
    ASSERT_TRUE(until([&] { return itemBitmap(popup, 1) && itemBitmap(popup, 2); }, 3000))
        << "the other items waited for the stuck one";
    // It gets the generic icon once given up, and its own if it comes back.
    ASSERT_TRUE(until([&] { return itemBitmap(popup, 0) != nullptr; }, 5000));
    HBITMAP generic = itemBitmap(popup, 0);
    SetEvent(letStuckGo);
    ASSERT_TRUE(until([&] {
        rebuildMenuBar();
        return openAndRead(0)[0] != generic;
    }));
}

} // namespace
