#include <gtest/gtest.h>

#include "menus/menu_list.h"
#include "test_support.h"

namespace {

MenuNode* addMenu(const char* name)
{
    MenuNode* m = newMenuNode();
    strcpy(m->name, name);
    appendMenu(m);
    return m;
}

class MenuListTest : public ::testing::Test {
protected:
    void SetUp() override { resetProgramState(); }
    void TearDown() override { freeAllMenus(); }
};

TEST_F(MenuListTest, MovingAtTheEndsIsRefused)
{
    MenuNode* a = addMenu("a");
    EXPECT_EQ(0, moveMenu(a, VK_UP));
    EXPECT_EQ(0, moveMenu(a, VK_DOWN));
    MenuNode* b = addMenu("b");
    EXPECT_EQ(0, moveMenu(a, VK_UP));
    EXPECT_EQ(0, moveMenu(b, VK_DOWN));
    EXPECT_EQ(a, menuList);
    EXPECT_EQ(b, a->next);
    EXPECT_EQ(a, b->prev);
}

}  // namespace
