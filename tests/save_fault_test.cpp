// A save that fails at any of its file calls leaves the previous data file
// as it was, leaves no temporary file, and tells the user once.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/text.h"
#include "menus/menu_file.h"
#include "menus/menu_list.h"
#include "test_support.h"

extern int saveCallsMade;
extern int failingSaveCall;

namespace {

using Bytes = std::vector<unsigned char>;

// A file of some size, which a failing write leaves half written.
void buildManyMenus()
{
    for (int m = 0; m < 5; m++) {
        MenuNode* menu = newMenuNode();
        formatText(menu->name, sizeof menu->name, "Menu %d", m);
        appendMenu(menu);
        for (int i = 0; i < 99; i++) {
            AppNode* a = newAppNode();
            formatText(a->name, sizeof a->name, "Item %d", i);
            formatText(a->path, sizeof a->path, "c:\\bin\\program%d.exe", i);
            appendApp(menu, a);
        }
    }
}

TEST(SaveFaults, EveryFailingFileCallKeepsThePreviousFile)
{
    resetProgramState();
    enterFreshDirectory("save_faults");
    copyField(dataFilePath, "menus.zt");
    buildManyMenus();
    const Bytes old = {0x66, 0, 0, 0};
    writeFileBytes("menus.zt", old);
    // A temporary file that a killed save left behind, marked read-only and
    // hidden since, stands in the way.
    writeFileBytes("menus.zt.new", Bytes(200000, 'x'));
    SetFileAttributesA("menus.zt.new", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    failingSaveCall = 0;
    saveCallsMade = 0;
    ASSERT_EQ(1, saveMenuFile());
    const int calls = saveCallsMade;
    const Bytes saved = readFileBytes("menus.zt");
    EXPECT_EQ(4u + 5 * (48 + 99 * 296), saved.size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("menus.zt.new"));
    EXPECT_TRUE(recordedBoxes.empty());
    // Open, the writes, flush, close, rename.
    ASSERT_GE(calls, 5);

    for (int failing = 1; failing <= calls; failing++) {
        SCOPED_TRACE("call " + std::to_string(failing) + " of " + std::to_string(calls) +
                     " fails");
        writeFileBytes("menus.zt", old);
        clearBoxes();
        failingSaveCall = failing;
        saveCallsMade = 0;
        EXPECT_EQ(0, saveMenuFile());
        Bytes now = readFileBytes("menus.zt");
        EXPECT_TRUE(now == old) << "data file now " << now.size() << " bytes";
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("menus.zt.new"))
            << "temporary file left";
        ASSERT_EQ(1u, recordedBoxes.size());
        EXPECT_EQ("Could not open menus.zt for write.\nPlease check the file.",
                  recordedBoxes[0].text);
        EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
    }
    // And the next save, with nothing failing, goes through.
    failingSaveCall = 0;
    clearBoxes();
    ASSERT_EQ(1, saveMenuFile());
    EXPECT_TRUE(readFileBytes("menus.zt") == saved);
    EXPECT_TRUE(recordedBoxes.empty());
    freeAllMenus();
}

}  // namespace
