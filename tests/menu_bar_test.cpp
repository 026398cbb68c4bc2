#include <gtest/gtest.h>

#include <set>

#include "app/app.h"
#include "app/text.h"
#include "bar/bar_window.h"
#include "menus/menu_bar.h"
#include "menus/menu_list.h"
#include "resource.h"
#include "test_support.h"

namespace {

MenuNode* addMenu(const char* name, int items, int separatorEvery = 0)
{
    MenuNode* m = newMenuNode();
    copyField(m->name, name);
    appendMenu(m);
    for (int i = 1; i <= items; i++) {
        AppNode* a = newAppNode();
        formatText(a->name, sizeof a->name, "%s item %d", name, i);
        a->separatorBefore = separatorEvery && i % separatorEvery == 0;
        appendApp(m, a);
    }
    return m;
}

// The bar's popup at that position, filled as when it opens.
HMENU openedPopup(int position)
{
    HMENU popup = GetSubMenu(menuBar, position);
    fillBarPopup(popup);
    return popup;
}

std::string menuText(HMENU menu, UINT position)
{
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// Ids of the popup's items, 0 for a separator line.
std::vector<int> popupIds(HMENU popup)
{
    std::vector<int> ids;
    int count = GetMenuItemCount(popup);
    for (int p = 0; p < count; p++) {
        UINT state = GetMenuState(popup, p, MF_BYPOSITION);
        ids.push_back(state & MF_SEPARATOR ? 0 : (int)GetMenuItemID(popup, p));
    }
    return ids;
}

std::vector<int> mapIds()
{
    std::vector<int> ids;
    makeCommandMap();
    for (CommandMapEntry* c = commandMap; c; c = c->next)
        ids.push_back(c->id);
    return ids;
}

std::string idList(const std::vector<int>& ids)
{
    std::string text;
    for (int id : ids)
        text += std::to_string(id) + " ";
    return text;
}

// The items of the bar's popups, each as "id text", a separator as "-".
std::vector<std::vector<std::string>> barPopups()
{
    std::vector<std::vector<std::string>> popups(GetMenuItemCount(menuBar));
    for (size_t k = 0; k < popups.size(); k++) {
        HMENU popup = GetSubMenu(menuBar, (int)k);
        std::vector<int> ids = popupIds(popup);
        for (size_t p = 0; p < ids.size(); p++)
            popups[k].push_back(ids[p] ? std::to_string(ids[p]) + " " + menuText(popup, (UINT)p)
                                       : "-");
    }
    return popups;
}

bool menuShown()
{
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu);
}

// Runs inside a menu's own loop: once a menu shows, the arrow keys go to the
// next menu and back, and the menu is left.
VOID CALLBACK walkTheMenus(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!menuShown())
        return;
    KillTimer(nullptr, timer);
    for (WPARAM key : {VK_RIGHT, VK_LEFT})
        PostMessageA(barWindow, WM_KEYDOWN, key, 0);
    PostMessageA(barWindow, WM_CANCELMODE, 0, 0);
}

// Opens a menu with the message, which returns once walkTheMenus left it.
void walkMenus(UINT message, WPARAM wParam, LPARAM lParam)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 10, walkTheMenus);
    SendMessageA(barWindow, message, wParam, lParam);
    KillTimer(nullptr, timer);
}

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        // A plain top-level window standing in for the bar; its own title so
        // that no running bar is mistaken for it.
        barWindow = CreateWindowExA(0, "STATIC", "menu bar test", WS_OVERLAPPEDWINDOW, 0, 0, 600,
                                    100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(barWindow);
    }
    void TearDown() override { resetProgramState(); }

    // Every item of the bar: its id is unique, within WM_COMMAND's 16 bits,
    // not one of the bar's own commands, and leads back to its own record.
    void expectEveryItemFindable()
    {
        std::set<int> seen;
        int k = 0;
        for (MenuNode* m = menuList; m; m = m->next, k++) {
            HMENU popup = openedPopup(k);
            ASSERT_TRUE(popup) << "menu " << k + 1;
            std::vector<int> ids = popupIds(popup);
            ASSERT_EQ((size_t)m->appCount, ids.size()) << "menu " << k + 1;
            AppNode* a = m->firstApp;
            for (size_t i = 0; i < ids.size(); i++, a = a->next) {
                int id = ids[i];
                EXPECT_TRUE(id > 0 && id <= 65535) << a->name << " id " << id;
                EXPECT_TRUE(id != CMD_OPTIONS && id != CMD_EDIT_MENUS && id != CMD_INFO &&
                            id != CMD_EXIT) << a->name << " id " << id;
                EXPECT_TRUE(seen.insert(id).second) << a->name << " repeats id " << id;
                EXPECT_EQ(a, findCommandApp(id)) << a->name << " id " << id;
            }
        }
    }
};

TEST_F(MenuBarTest, TwoMenusOfThreeItems)
{
    MenuNode* apps = addMenu("&Apps", 3);
    MenuNode* games = addMenu("G&ames", 3);
    rebuildMenuBar();
    EXPECT_EQ(menuBar, GetMenu(barWindow));
    ASSERT_EQ(2, GetMenuItemCount(menuBar));
    EXPECT_EQ("&Apps", menuText(menuBar, 0));
    EXPECT_EQ("G&ames", menuText(menuBar, 1));
    EXPECT_EQ("101 102 103 ", idList(popupIds(openedPopup(0))));
    EXPECT_EQ("201 202 203 ", idList(popupIds(openedPopup(1))));
    EXPECT_EQ("&Apps item 2", menuText(openedPopup(0), 1));
    EXPECT_EQ("101 102 103 201 202 203 ", idList(mapIds()));
    EXPECT_EQ(games->firstApp->next, findCommandApp(202));
    EXPECT_EQ(nullptr, findCommandApp(104));
    ASSERT_TRUE(popupList && popupList->next);
    EXPECT_EQ(apps, popupList->menu);
    EXPECT_EQ(GetSubMenu(menuBar, 1), popupList->next->popup);

    // Moving the second menu up renumbers both.
    moveMenu(games, VK_UP);
    rebuildMenuBar();
    EXPECT_EQ("G&ames", menuText(menuBar, 0));
    EXPECT_EQ(games->firstApp, findCommandApp(101));
    EXPECT_EQ(apps->firstApp, findCommandApp(201));
}

TEST_F(MenuBarTest, SeparatorsTakeNoId)
{
    MenuNode* m = addMenu("m", 4, 2); // separators above items 2 and 4
    m->firstApp->separatorBefore = 1;   // and above the first
    rebuildMenuBar();
    EXPECT_EQ("0 101 0 102 103 0 104 ", idList(popupIds(openedPopup(0))));
    EXPECT_EQ("101 102 103 104 ", idList(mapIds()));
}

TEST_F(MenuBarTest, MenusWithoutItems)
{
    rebuildMenuBar();
    EXPECT_EQ(0, GetMenuItemCount(menuBar));
    EXPECT_EQ(nullptr, commandMap);
    EXPECT_EQ(nullptr, popupList);
    EXPECT_EQ(nullptr, findCommandApp(101));

    addMenu("empty", 0);
    addMenu("full", 2);
    rebuildMenuBar();
    ASSERT_EQ(2, GetMenuItemCount(menuBar));
    EXPECT_EQ(0, GetMenuItemCount(openedPopup(0)));
    EXPECT_EQ("201 202 ", idList(popupIds(openedPopup(1))));
    EXPECT_EQ("201 202 ", idList(mapIds()));
}

TEST_F(MenuBarTest, RebuildingReplacesEverything)
{
    addMenu("a", 2);
    addMenu("b", 1);
    rebuildMenuBar();
    openedPopup(0);
    rebuildMenuBar();
    EXPECT_EQ(menuBar, GetMenu(barWindow));
    ASSERT_EQ(2, GetMenuItemCount(menuBar));
    EXPECT_EQ(2, GetMenuItemCount(openedPopup(0)));
    EXPECT_EQ("101 102 201 ", idList(mapIds()));
    int popups = 0;
    for (PopupEntry* p = popupList; p; p = p->next)
        popups++;
    EXPECT_EQ(2, popups);
    // Shutdown's order: the lists go first and take the bar's items with them.
    freeAllMenus();
    EXPECT_EQ(0, GetMenuItemCount(menuBar));
    EXPECT_EQ(nullptr, commandMap);
}

// Ids stay unique where 100 * menu + item would collide or not fit.
TEST_F(MenuBarTest, IdsNeverCollide)
{
    struct Case {
        const char* what;
        int menus;       // menus before the last one, of one item each
        int lastItems;   // items of the last menu
        int extraMenu;   // items of one more menu after it (0: none)
    } cases[] = {
        {"101 items then another menu", 0, 101, 2},
        // Over 100 items need ids of their own, past those of the places.
        {"one menu of 201 items", 0, 201, 0},
        {"400th menu of 6 items", 399, 6, 0},
        {"700 menus", 699, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        freeAllMenus();
        for (int k = 1; k <= c.menus; k++)
            addMenu("m", 1);
        MenuNode* last = addMenu("last", c.lastItems);
        if (c.extraMenu)
            addMenu("extra", c.extraMenu);
        rebuildMenuBar();
        expectEveryItemFindable();

        // Ids that collide with nothing keep their place.
        int k = 1;
        for (MenuNode* m = menuList; m; m = m->next, k++) {
            int i = 1;
            for (AppNode* a = m->firstApp; a; a = a->next, i++) {
                int natural = 100 * k + i;
                bool free = i <= 100 && natural <= 65535 && natural != CMD_OPTIONS &&
                            natural != CMD_EDIT_MENUS && natural != CMD_INFO && natural != CMD_EXIT;
                if (free) {
                    EXPECT_EQ(a, findCommandApp(natural)) << a->name << " id " << natural;
                }
            }
        }
        if (c.lastItems == 6) {
            AppNode* second = last->firstApp->next;
            EXPECT_EQ(second, findCommandApp(40002));
        }
    }
}

// A popup filled when it first opens holds what filling it at once gives:
// the same items, ids and separators, however often it opens. The bar's
// right-click menu stays as it is.
TEST_F(MenuBarTest, PopupsFilledOnOpeningMatchThoseFilledAtOnce)
{
    DestroyWindow(barWindow);
    addMenu("&Apps", 3, 2);
    MenuNode* games = addMenu("&Games", 4, 3);
    games->firstApp->separatorBefore = 1;
    popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
    ASSERT_TRUE(registerBarClass() && createBar());
    int rightClickItems = GetMenuItemCount(popupMenu);

    std::vector<std::vector<std::string>> expected = {
        {"101 &Apps item 1", "-", "102 &Apps item 2", "103 &Apps item 3"},
        {"-", "201 &Games item 1", "202 &Games item 2", "-", "203 &Games item 3",
         "204 &Games item 4"}};
    for (PopupEntry* p = popupList; p; p = p->next)
        fillBarPopup(p->popup);
    EXPECT_EQ(expected, barPopups()) << "filled at once";

    // Made anew as the editor's OK does, then opened as a user would: Alt+A,
    // the arrow keys to the next menu and back to the first.
    rebuildMenuBar();
    walkMenus(WM_SYSCOMMAND, SC_KEYMENU, 'a');
    EXPECT_EQ(expected, barPopups()) << "filled on opening";

    walkMenus(WM_NCRBUTTONDOWN, HTMENU, MAKELPARAM(10, 10));
    EXPECT_EQ(rightClickItems, GetMenuItemCount(popupMenu));
    EXPECT_EQ(expected, barPopups()) << "after the right-click menu";

    // An edit of the items alone: opened again, the popups hold the items as
    // they are now; a renamed menu shows its new title.
    copyField(games->firstApp->name, "Renamed");
    rebuildMenuBar();
    walkMenus(WM_SYSCOMMAND, SC_KEYMENU, 'a');
    expected[1][1] = "201 Renamed";
    EXPECT_EQ(expected, barPopups()) << "after an edit of the items";
    copyField(games->name, "&Tools");
    rebuildMenuBar();
    EXPECT_EQ("&Tools", menuText(menuBar, 1));
    removeBar();
}

}  // namespace
