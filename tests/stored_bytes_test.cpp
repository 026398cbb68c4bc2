// The data file and the options value hold the same bytes whichever build
// wrote them, so a user can switch between the 32-bit and the 64-bit
// zentor.exe and keep everything. Both builds' suites compare what the
// program writes with the same stored bytes (tests/golden), made for menus
// and options that set every field, and read those bytes back.
// Usage: stored_bytes_test <folder of the golden files>
#include <gtest/gtest.h>

#include <string.h>

#include "app/app.h"
#include "app/text.h"
#include "menus/menu_file.h"
#include "menus/menu_list.h"
#include "options/options.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const PROFILE = "zt-stored-bytes";

std::string goldenFile(const char* name)
{
    std::string folder = __argc > 1 ? __argv[1] : ".";
    return (folder[0] == '/' ? "Z:" + folder : folder) + "\\" + name;
}

// A field's whole width: the text, its terminator, then the bytes behind it.
template <size_t N> void fill(char (&field)[N], const char* text, const char* tail = "")
{
    memset(field, 0, N);
    size_t length = strlen(text);
    memcpy(field, text, length);
    strncpy(field + length + 1, tail, N - length - 1);
}

AppNode* app(MenuNode* menu, const char* name, const char* path, const char* dir,
             const char* params, int32_t show, int32_t separator)
{
    AppNode* a = newAppNode();
    fill(a->name, name, "old");
    fill(a->path, path, "tail");
    fill(a->workingDir, dir, "x");
    fill(a->parameters, params, "y");
    a->showCommand = show;
    a->separatorBefore = separator;
    appendApp(menu, a);
    return a;
}

// Every field of both records set, texts of the longest length and with
// bytes behind their terminators, a character beyond ASCII, reserved bytes.
void buildEveryField()
{
    MenuNode* tools = newMenuNode();
    fill(tools->name, "&Tools \xe9t\xe9", "tail");
    tools->reserved[0] = 0xA5;
    tools->reserved[1] = 0x5A;
    appendMenu(tools);
    app(tools, "&Editor", "%WINDIR%\\notepad.exe", "C:\\Work", "-n \"a b\"", 3, 1);
    app(tools, std::string(29, 'N').c_str(), std::string(79, 'P').c_str(),
        std::string(79, 'W').c_str(), std::string(89, 'A').c_str(), 6, 0);
    app(tools, "Plain", "C:\\plain.exe", "", "", 9, 1);
    MenuNode* empty = newMenuNode();
    fill(empty->name, "Empty");
    empty->reserved[1] = 0x01;
    appendMenu(empty);

    userOptions.alwaysOnTop = 1;
    userOptions.chimeHourly = 1;
    userOptions.displayDate = 0;
    userOptions.displayMemory = 1;
    userOptions.bottom = 1;
    userOptions.autoHide = 0;
    userOptions.reserved = (int32_t)0x89ABCDEF;
    fill(userOptions.wavFile, "C:\\Sounds\\chime.wav", "tail");
}

TEST(StoredBytes, BothBuildsWriteAndReadTheSameBytes)
{
    resetProgramState();
    enterFreshDirectory("stored_bytes");
    copyField(profileName, PROFILE);
    copyField(dataFilePath, "menus.zt");
    deleteOptionsKey(PROFILE);
    const Bytes menus = readFileBytes(goldenFile("every-field.zt"));
    const Bytes options = readFileBytes(goldenFile("every-field.options"));

    buildEveryField();
    ASSERT_EQ(1, saveMenuFile());
    ASSERT_EQ(1, saveOptions());
    EXPECT_EQ("equal", compareBytes(menus, readFileBytes("menus.zt"))) << "data file";
    EXPECT_EQ("equal", compareBytes(options, readStoredOptions(PROFILE))) << "options value";

    // Read by this build and written again, the bytes stay as they were.
    freeAllMenus();
    memset(&userOptions, 0, sizeof userOptions);
    writeFileBytes("menus.zt", menus);
    ASSERT_TRUE(storeOptionsValue(PROFILE, options));
    loadOptions();
    ASSERT_EQ(1, loadMenuFile());
    ASSERT_EQ(1, saveMenuFile());
    ASSERT_EQ(1, saveOptions());
    EXPECT_EQ("equal", compareBytes(menus, readFileBytes("menus.zt"))) << "data file read and saved";
    EXPECT_EQ("equal", compareBytes(options, readStoredOptions(PROFILE))) << "options read and saved";
    EXPECT_TRUE(recordedBoxes.empty()) << recordedBoxes[0].text;

    freeAllMenus();
    deleteOptionsKey(PROFILE);
}

} // namespace
