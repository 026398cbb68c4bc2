// Options against the real registry, under profiles of their own so that no
// other test's key is touched.
#include <gtest/gtest.h>

#include <string.h>

#include "app/app.h"
#include "app/text.h"
#include "options/options.h"
#include "options/settings.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const PROFILE = "zt-options-test";

std::string keyOf(const char* profile)
{
    return std::string("Software\\Zentor\\") + (profile[0] ? profile : "default");
}

int32_t intAt(const Bytes& b, size_t at)
{
    return (int32_t)((uint32_t)b[at] | (uint32_t)b[at + 1] << 8 | (uint32_t)b[at + 2] << 16 |
                     (uint32_t)b[at + 3] << 24);
}

// A block unlike the defaults in every flag; printable so that a string
// value holds it unchanged.
Bytes unusualBlock()
{
    Bytes b(OPTIONS_SIZE, 0);
    int32_t flags[7] = {0, 1, 1, 0, 1, 0, 0x41424344};
    for (int f = 0; f < 7; f++)
        for (int i = 0; i < 4; i++)
            b[4 * f + i] = (unsigned char)((uint32_t)flags[f] >> (8 * i));
    memcpy(b.data() + 28, "c:\\sounds\\gong.wav", 18);
    b[OPTIONS_SIZE - 1] = 'T'; // a tail behind the path's terminator is kept too
    return b;
}

std::string greeting(const char* profile)
{
    if (profile[0])
        return std::string("Thanks for trying Zentor, ") + profile +
               "!\nIf you find any bugs, please report\nthem to " + CONTACT_ADDRESS + "!";
    return std::string("Thanks for trying Zentor!  If you find\nany bugs, please report them to\n") +
           CONTACT_ADDRESS + "!";
}

void expectGreeting(size_t index, const char* profile)
{
    ASSERT_LT(index, recordedBoxes.size());
    const RecordedBox& box = recordedBoxes[index];
    EXPECT_EQ(greeting(profile), box.text);
    EXPECT_EQ("Zentor", box.caption);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, box.type);
    EXPECT_EQ(nullptr, box.owner);
}

// The stored defaults: flags at their offsets, empty WAV file.
void expectStoredDefaults(const char* profile)
{
    DWORD type = 0;
    Bytes stored = readStoredOptions(profile, &type);
    ASSERT_EQ((size_t)OPTIONS_SIZE, stored.size()) << profile;
    EXPECT_EQ((DWORD)REG_BINARY, type);
    const int32_t want[6] = {1, 0, 0, 1, 0, 1};
    for (int f = 0; f < 6; f++)
        EXPECT_EQ(want[f], intAt(stored, 4 * f)) << "flag at offset " << 4 * f;
    EXPECT_EQ(0, stored[28]) << "wavFile";
}

// Every box text, for failure messages.
std::string allBoxes()
{
    std::string texts;
    for (const RecordedBox& box : recordedBoxes)
        texts += "[" + box.text + "] ";
    return texts;
}

void setProfile(const char* profile)
{
    copyField(profileName, profile);
}

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        deleteOptionsKey(PROFILE);
    }
    void TearDown() override { deleteOptionsKey(PROFILE); }
};

TEST_F(OptionsTest, FirstRunGreetsAndWritesTheDefaults)
{
    for (const char* profile : {"", PROFILE}) {
        resetProgramState();
        deleteOptionsKey(profile);
        setProfile(profile);
        loadOptions();
        ASSERT_EQ(1u, recordedBoxes.size()) << "profile '" << profile << "' " << allBoxes();
        expectGreeting(0, profile);
        expectStoredDefaults(profile);
        EXPECT_EQ(1, userOptions.alwaysOnTop);
        EXPECT_EQ(1, userOptions.displayMemory);
        EXPECT_EQ(1, userOptions.autoHide);
        EXPECT_EQ(0, userOptions.bottom);
    }
    EXPECT_STREQ("default.zt", dataFilePath) << "no profile and no -f";
    deleteOptionsKey("");
}

TEST_F(OptionsTest, StoredBlockIsTakenWhateverItsType)
{
    for (DWORD type : {(DWORD)REG_BINARY, (DWORD)REG_NONE, (DWORD)REG_DWORD}) {
        resetProgramState();
        setProfile(PROFILE);
        ASSERT_TRUE(storeOptionsValue(PROFILE, unusualBlock(), type));
        loadOptions();
        EXPECT_TRUE(recordedBoxes.empty()) << "type " << type << ": " << allBoxes();
        Bytes want = unusualBlock();
#ifdef ZENTOR_NT3
        want[20] = 1; // autoHide forced on after the load
#endif
        Bytes got(OPTIONS_SIZE);
        packOptions(&userOptions, got.data());
        EXPECT_TRUE(want == got) << "type " << type;
        EXPECT_EQ(0, userOptions.alwaysOnTop) << "type " << type;
        EXPECT_EQ(1, userOptions.bottom) << "type " << type;
        EXPECT_STREQ("c:\\sounds\\gong.wav", userOptions.wavFile) << "type " << type;
    }
}

TEST_F(OptionsTest, WrongSizeIsReplacedByTheDefaults)
{
    for (size_t size : {(size_t)107, (size_t)109, (size_t)0}) {
        resetProgramState();
        setProfile(PROFILE);
        Bytes value = unusualBlock();
        value.resize(size, 'z');
        ASSERT_TRUE(storeOptionsValue(PROFILE, value));
        loadOptions();
        ASSERT_EQ(2u, recordedBoxes.size()) << size << " bytes " << allBoxes();
        EXPECT_EQ("Obsolete or corrupt registry data found.\nDeleting and installing default data.",
                  recordedBoxes[0].text);
        EXPECT_EQ((UINT)MB_ICONWARNING, recordedBoxes[0].type);
        EXPECT_EQ("Zentor", recordedBoxes[0].caption);
        expectGreeting(1, PROFILE);
        expectStoredDefaults(PROFILE);
        EXPECT_EQ(1, userOptions.alwaysOnTop) << size << " bytes";
        EXPECT_EQ(0, userOptions.bottom) << size << " bytes";
    }
}

// Our choice: a key without the value is that key's first run.
TEST_F(OptionsTest, KeyWithoutValueIsAFirstRun)
{
    HKEY key;
    ASSERT_EQ(0, RegCreateKeyExA(HKEY_CURRENT_USER, keyOf(PROFILE).c_str(), 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    setProfile(PROFILE);
    loadOptions();
    ASSERT_EQ(1u, recordedBoxes.size()) << allBoxes();
    expectGreeting(0, PROFILE);
    expectStoredDefaults(PROFILE);
}

TEST_F(OptionsTest, SaveWritesTheBlockAndLoadReadsItBack)
{
    setProfile(PROFILE);
    userOptions.alwaysOnTop = 0;
    userOptions.chimeHourly = 1;
    userOptions.displayDate = 1;
    userOptions.displayMemory = 0;
    userOptions.bottom = 1;
    userOptions.autoHide = 0;
    userOptions.reserved = 0x01020304;
    std::string wav = "c:\\" + std::string(70, 'w') + "\\a.wav"; // 79 characters
    ASSERT_EQ(79u, wav.size());
    copyField(userOptions.wavFile, wav.c_str());
    ASSERT_EQ(1, saveOptions());

    DWORD type = 0;
    Bytes stored = readStoredOptions(PROFILE, &type);
    ASSERT_EQ((size_t)OPTIONS_SIZE, stored.size());
    EXPECT_EQ((DWORD)REG_BINARY, type);
    const int32_t want[7] = {0, 1, 1, 0, 1, 0, 0x01020304};
    for (int f = 0; f < 7; f++)
        EXPECT_EQ(want[f], intAt(stored, 4 * f)) << "offset " << 4 * f;
    EXPECT_EQ(wav, std::string((const char*)stored.data() + 28));

    memset(&userOptions, 0, sizeof userOptions);
    loadOptions();
    EXPECT_TRUE(recordedBoxes.empty()) << allBoxes();
    EXPECT_EQ(wav, userOptions.wavFile);
    EXPECT_EQ(0x01020304, userOptions.reserved);
    EXPECT_EQ(1, userOptions.chimeHourly);
}

// The settings beside the block: a value of its own each, taken when it is
// of its type and size, its default otherwise; all written back at exit
// with the block unchanged.
TEST_F(OptionsTest, SettingsBesideTheBlockFallBackAloneAndAreSaved)
{
    setProfile(PROFILE);
    setDefaultSettings();
    const BarSettings defaults = barSettings;
    ASSERT_TRUE(storeOptionsValue(PROFILE, unusualBlock()));
    HKEY key;
    ASSERT_EQ(0, RegOpenKeyExA(HKEY_CURRENT_USER, keyOf(PROFILE).c_str(), 0, KEY_ALL_ACCESS, &key));
    const DWORD off = 0;
    const char monitor[] = "\\\\.\\DISPLAY2";
    RegSetValueExA(key, "Icons", 0, REG_DWORD, (const BYTE*)&off, 4);
    RegSetValueExA(key, "FolderMenus", 0, REG_BINARY, (const BYTE*)&off, 4); // wrong type
    RegSetValueExA(key, "HotKey", 0, REG_DWORD, (const BYTE*)&off, 2);        // wrong size
    RegSetValueExA(key, "Monitor", 0, REG_SZ, (const BYTE*)monitor, sizeof monitor);
    loadOptions();
    EXPECT_TRUE(recordedBoxes.empty()) << allBoxes();
    EXPECT_EQ(0, barSettings.showIcons);
    EXPECT_EQ(defaults.folderMenus, barSettings.folderMenus);
    EXPECT_EQ(defaults.hotKey, barSettings.hotKey);
    EXPECT_STREQ(monitor, barSettings.monitor);

    barSettings.folderMenus = 0;
    ASSERT_EQ(1, saveOptions());
    Bytes block = unusualBlock();
#ifdef ZENTOR_NT3
    block[20] = 1; // this build always auto-hides
#endif
    EXPECT_EQ("equal", compareBytes(block, readStoredOptions(PROFILE)));
    for (const char* name : {"Icons", "FolderMenus", "HotKey"}) {
        DWORD value = 7, size = sizeof value, type = 0;
        EXPECT_EQ(0, RegQueryValueExA(key, name, nullptr, &type, (BYTE*)&value, &size)) << name;
        EXPECT_EQ((DWORD)REG_DWORD, type) << name;
        EXPECT_EQ(strcmp(name, "HotKey") ? 0u : (DWORD)defaults.hotKey, value) << name;
    }
    RegCloseKey(key);
}

// Our choice: switches win over what is stored, for this run.
TEST_F(OptionsTest, SwitchesWinOverStoredOptions)
{
    struct Case {
        bool stored;
        std::vector<std::string> args;
        int32_t alwaysOnTop, chimeHourly, bottom, autoHide;
    } cases[] = {
        {true, {"-c", "+s"}, 1, 0, 1, 0},  // stored: top 0, chime 1, bottom 1, hide 0
        {true, {"-b", "+a"}, 0, 1, 0, 1},
        {false, {"+b", "-s", "-a"}, 0, 0, 1, 0}, // over the first-run defaults
    };
    for (const Case& c : cases) {
        resetProgramState();
        deleteOptionsKey(PROFILE);
        if (c.stored)
            ASSERT_TRUE(storeOptionsValue(PROFILE, unusualBlock()));
        std::vector<std::string> words = {"zentor.exe"};
        words.insert(words.end(), c.args.begin(), c.args.end());
        words.push_back(PROFILE);
        std::vector<char*> argv;
        for (std::string& w : words)
            argv.push_back(&w[0]);
        parseArguments((int)argv.size(), argv.data());
        loadOptions();
        std::string what = c.args[0] + " " + c.args[1];
#ifdef ZENTOR_NT3
        const int32_t autoHide = 1;
#else
        const int32_t autoHide = c.autoHide;
#endif
        EXPECT_EQ(c.alwaysOnTop, userOptions.alwaysOnTop) << what;
        EXPECT_EQ(c.chimeHourly, userOptions.chimeHourly) << what;
        EXPECT_EQ(c.bottom, userOptions.bottom) << what;
        EXPECT_EQ(autoHide, userOptions.autoHide) << what;
        EXPECT_EQ(c.stored ? 1 : 0, userOptions.displayDate) << what << ": not switched";
    }
}

#ifdef ZENTOR_NT3
TEST_F(OptionsTest, Nt3AlwaysAutoHides)
{
    setProfile(PROFILE);
    ASSERT_TRUE(storeOptionsValue(PROFILE, unusualBlock())); // autoHide 0
    loadOptions();
    EXPECT_TRUE(recordedBoxes.empty());
    EXPECT_EQ(1, userOptions.autoHide);
    EXPECT_EQ(1, userOptions.bottom) << "the rest stands as stored";
}
#else
TEST_F(OptionsTest, StoredAutoHideOffStands)
{
    setProfile(PROFILE);
    ASSERT_TRUE(storeOptionsValue(PROFILE, unusualBlock()));
    loadOptions();
    EXPECT_EQ(0, userOptions.autoHide);
}
#endif

}  // namespace
