#include <gtest/gtest.h>

#include "app/text.h"
#include "menus/menu_list.h"
#include "test_support.h"

namespace {

MenuNode* addMenu(const char* name)
{
    MenuNode* m = newMenuNode();
    copyField(m->name, name);
    appendMenu(m);
    return m;
}

AppNode* addApp(MenuNode* m, const char* name)
{
    AppNode* a = newAppNode();
    copyField(a->name, name);
    appendApp(m, a);
    return a;
}

// Names from menuList on, "|" between; also checks every back link so a
// broken prev pointer shows up as "<broken>".
std::string menuOrder()
{
    std::string names;
    if (menuList && menuList->prev)
        return "<broken head>";
    for (MenuNode* m = menuList; m; m = m->next) {
        if (m->next && m->next->prev != m)
            return "<broken after " + std::string(m->name) + ">";
        names += (names.empty() ? "" : "|") + std::string(m->name);
    }
    return names;
}

std::string appOrder(const MenuNode* m)
{
    std::string names;
    if (m->firstApp && m->firstApp->prev)
        return "<broken head>";
    for (AppNode* a = m->firstApp; a; a = a->next) {
        if (a->next && a->next->prev != a)
            return "<broken after " + std::string(a->name) + ">";
        names += (names.empty() ? "" : "|") + std::string(a->name);
    }
    return names;
}

// Releases the lists when they are whole. Lists a test broke are dropped
// instead, their records left behind: a broken link may close a circle, and
// releasing (or appending to) that would walk it forever. The order checks
// above stop at the first link that does not lead back, which every circle
// has.
void dropMenus()
{
    bool whole = menuOrder()[0] != '<';
    for (MenuNode* m = whole ? menuList : nullptr; m; m = m->next)
        whole = whole && appOrder(m)[0] != '<';
    if (whole)
        freeAllMenus();
    menuList = nullptr;
}

class MenuListTest : public ::testing::Test {
protected:
    void SetUp() override { resetProgramState(); }
    void TearDown() override { dropMenus(); }
};

TEST_F(MenuListTest, MovingAtTheEndsIsRefused)
{
    MenuNode* a = addMenu("a");
    EXPECT_EQ(0, moveMenu(a, VK_UP));
    EXPECT_EQ(0, moveMenu(a, VK_DOWN));
    MenuNode* b = addMenu("b");
    EXPECT_EQ(0, moveMenu(a, VK_UP));
    EXPECT_EQ(0, moveMenu(b, VK_DOWN));
    EXPECT_EQ(0, moveMenu(nullptr, VK_UP));
    EXPECT_EQ("a|b", menuOrder());

    AppNode* only = addApp(a, "x");
    EXPECT_EQ(0, moveApp(only, VK_UP));
    EXPECT_EQ(0, moveApp(only, VK_DOWN));
    EXPECT_EQ(only, a->firstApp);
    EXPECT_EQ(1, a->appCount);
    EXPECT_TRUE(recordedBoxes.empty());
}

TEST_F(MenuListTest, MovingMenusKeepsMenuListAtTheHead)
{
    struct Case {
        int which; // 0-based position of the menu to move
        int direction;
        const char* order;
    } cases[] = {
        {1, VK_UP, "b|a|c"},   // second up becomes the head
        {0, VK_DOWN, "b|a|c"}, // head down gives the head to the second
        {2, VK_UP, "a|c|b"},
        {1, VK_DOWN, "a|c|b"},
    };
    for (const Case& c : cases) {
        dropMenus();
        MenuNode* menus[3] = {addMenu("a"), addMenu("b"), addMenu("c")};
        EXPECT_EQ(1, moveMenu(menus[c.which], c.direction)) << "menu " << c.which;
        EXPECT_EQ(c.order, menuOrder()) << "menu " << c.which << " dir " << c.direction;
    }
}

TEST_F(MenuListTest, MovingAppsLeavesFirstAppToTheCaller)
{
    struct Case {
        int which;
        int direction;
        const char* order;
        int newFirst; // which record the caller makes firstApp, -1 = unchanged
    } cases[] = {
        {1, VK_UP, "y|x|z", 1},
        {0, VK_DOWN, "y|x|z", 1},
        {2, VK_UP, "x|z|y", -1},
        {1, VK_DOWN, "x|z|y", -1},
    };
    for (const Case& c : cases) {
        dropMenus();
        MenuNode* m = addMenu("m");
        AppNode* apps[3] = {addApp(m, "x"), addApp(m, "y"), addApp(m, "z")};
        EXPECT_EQ(1, moveApp(apps[c.which], c.direction)) << "app " << c.which;
        // moveApp never touches the menu record.
        EXPECT_EQ(apps[0], m->firstApp) << "app " << c.which;
        if (c.newFirst >= 0)
            m->firstApp = apps[c.newFirst];
        EXPECT_EQ(c.order, appOrder(m)) << "app " << c.which << " dir " << c.direction;
        EXPECT_EQ(3, m->appCount);
    }
}

TEST_F(MenuListTest, FreeMenuKeepsTheListLinked)
{
    MenuNode* a = addMenu("a");
    addApp(a, "x");
    addApp(a, "y");
    MenuNode* b = addMenu("b");
    addMenu("c");
    freeMenu(a);
    EXPECT_EQ(b, menuList);
    ASSERT_EQ("b|c", menuOrder());
    freeMenu(b);
    // A broken list is left to the guarded release of TearDown.
    ASSERT_EQ("c", menuOrder());
    freeMenu(nullptr);
    freeAllMenus();
    EXPECT_EQ(nullptr, menuList);
}

TEST_F(MenuListTest, FindMenuTakesTheFirstEqualNameOrWarns)
{
    MenuNode* first = addMenu("&Apps");
    addMenu("&apps");
    addMenu("&Apps");
    EXPECT_EQ(first, findMenu("&Apps"));
    EXPECT_TRUE(recordedBoxes.empty());
    EXPECT_EQ(nullptr, findMenu("Apps"));
    ASSERT_EQ(1u, recordedBoxes.size());
    EXPECT_EQ("Menu not found in linked list!", recordedBoxes[0].text);
    EXPECT_EQ("Zentor", recordedBoxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
}

TEST_F(MenuListTest, FindApp)
{
    MenuNode* m = addMenu("m");
    AppNode* x = addApp(m, "x");
    AppNode* separatorNamed = addApp(m, SEPARATOR_TEXT);
    AppNode* second = addApp(m, "x");
    struct Case {
        AppNode* start;
        const char* text;
        AppNode* found;
        const char* warning; // nullptr: no box
    } cases[] = {
        {m->firstApp, "x", x, nullptr},
        {second, "x", second, nullptr},
        {separatorNamed, "x", second, nullptr},
        {m->firstApp, "-------", nullptr, nullptr}, // even though an item has that name
        {nullptr, "-------", nullptr, nullptr},
        {nullptr, "x", nullptr, "Application not found in linked list!"},
        {m->firstApp, "X", nullptr, "Application not found in linked list!"},
    };
    for (const Case& c : cases) {
        clearBoxes();
        EXPECT_EQ(c.found, findApp(c.start, c.text)) << c.text;
        if (!c.warning) {
            EXPECT_TRUE(recordedBoxes.empty()) << c.text << ": " << recordedBoxes[0].text;
            continue;
        }
        ASSERT_EQ(1u, recordedBoxes.size()) << c.text;
        EXPECT_EQ(c.warning, recordedBoxes[0].text);
        EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
    }
}

}  // namespace
