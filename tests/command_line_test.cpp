#include <gtest/gtest.h>

#include "app/app.h"
#include "app/text.h"
#include "options/options.h"
#include "test_support.h"

namespace {

const int32_t UNTOUCHED = 7;

struct Case {
    std::vector<std::string> args;
    std::string profile;
    std::string dataFile;
    std::vector<std::string> warnings;
    int32_t alwaysOnTop = UNTOUCHED;
    int32_t bottom = UNTOUCHED;
};

std::string joined(const std::vector<std::string>& words)
{
    std::string all;
    for (const std::string& w : words)
        all += "[" + w + "] ";
    return all;
}

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override { resetProgramState(); }

    void run(const Case& c)
    {
        resetProgramState();
        userOptions.alwaysOnTop = UNTOUCHED;
        userOptions.bottom = UNTOUCHED;
        std::vector<std::string> words = {"zentor.exe"};
        words.insert(words.end(), c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& w : words)
            argv.push_back(&w[0]);
        argv.push_back(nullptr);
        parseArguments((int)words.size(), argv.data());

        std::string what = joined(c.args);
        EXPECT_EQ(c.profile, profileName) << what;
        EXPECT_EQ(c.dataFile, dataFilePath) << what;
        EXPECT_EQ(c.alwaysOnTop, userOptions.alwaysOnTop) << what;
        EXPECT_EQ(c.bottom, userOptions.bottom) << what;
        std::vector<std::string> shown;
        for (const RecordedBox& box : recordedBoxes) {
            shown.push_back(box.text);
            EXPECT_EQ("Zentor", box.caption) << what;
            EXPECT_EQ((UINT)MB_ICONWARNING, box.type) << what;
            EXPECT_EQ(nullptr, box.owner) << what;
        }
        EXPECT_EQ(c.warnings, shown) << what;
    }
};

const char* const BAD_FILE = "Missing or invalid filename on command line!";

TEST_F(CommandLineTest, Grammar)
{
    Case cases[] = {
        {{"fred", "-f", "my.zt"}, "fred", "fred.zt", {}},
        {{"-f", "my.zt", "fred"}, "fred", "fred.zt", {}},
        {{"-f", "my.zt"}, "", "my.zt", {}},
        {{"+files", "c:\\menus\\my.zt"}, "", "c:\\menus\\my.zt", {}},
        {{"-f", ".\\my.zt"}, "", ".\\my.zt", {}},
        {{"-s", "-f"}, "", "", {BAD_FILE}, 0},
        {{"-f", "1.zt"}, "", "", {BAD_FILE}},
        {{"-f", "\\\\server\\my.zt"}, "", "", {BAD_FILE}},
        {{"-f", "-s"}, "", "", {BAD_FILE}}, // -s is swallowed and sets nothing
        {{"-x"}, "", "", {"Unknown option: -x"}},
        {{"-S"}, "", "", {"Unknown option: -S"}},
        {{"+"}, "", "", {"Unknown option: +"}},
        {{"-"}, "", "", {"Unknown option: -"}},
        {{"-xyz", "+s"}, "", "", {"Unknown option: -xyz"}, 1},
        {{"-bottom"}, "", "", {}, UNTOUCHED, 0},
        {{"-b"}, "", "", {}, UNTOUCHED, 0},
        {{"+bottom", "-s", "+s"}, "", "", {}, 1, 1},
        {{"fred", "mary"}, "mary", "mary.zt", {}},
        {{"fred", ""}, "", "", {}},
    };
    for (const Case& c : cases)
        run(c);
}

// Words longer than their fields are refused whole, never stored cut.
TEST_F(CommandLineTest, OverlongWordsAreRefused)
{
    std::string profile19(19, 'p');
    std::string profile20(20, 'p');
    std::string file79 = "c:\\" + std::string(73, 'f') + ".zt";
    std::string file80 = "c:\\" + std::string(74, 'f') + ".zt";
    ASSERT_EQ(79u, file79.size());
    Case cases[] = {
        {{profile19}, profile19, profile19 + ".zt", {}},
        {{"fred", profile20}, "fred", "fred.zt",
         {"The profile name is too long (at most 19 characters):\n" + profile20}},
        {{"-f", file79}, "", file79, {}},
        {{"-f", "my.zt", "-f", file80}, "", "my.zt",
         {"The data file name is too long (at most 79 characters):\n" + file80}},
    };
    for (const Case& c : cases)
        run(c);
}

}  // namespace
