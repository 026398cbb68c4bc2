// A data file the program cannot use ends it with one fatal box, without a
// bar and without saving anything.
#include "driver.h"

#include <string.h>

namespace {

const char* const OLD_FILE = "Old or invalid data file found.  Please\ndelete it and restart Zentor.";

// A second menu that promises three items but holds two and a half.
std::vector<unsigned char> cutInsideThirdItemOfSecondMenu()
{
    std::vector<unsigned char> bytes = {0x66, 0, 0, 0};
    auto record = [&](size_t size, const char* name, size_t nameAt, int count) {
        std::vector<unsigned char> r(size, 0);
        memcpy(r.data() + nameAt, name, strlen(name) + 1);
        if (size == 48)
            r[32] = (unsigned char)count;
        else
            memcpy(r.data(), "x.exe", 6);
        bytes.insert(bytes.end(), r.begin(), r.end());
    };
    record(48, "First", 0, 1);
    record(296, "a", 250, 0);
    record(48, "Second", 0, 3);
    record(296, "b", 250, 0);
    record(296, "c", 250, 0);
    record(296, "d", 250, 0);
    bytes.resize(bytes.size() - 100);
    return bytes;
}

// One menu that claims two billion items and holds one.
std::vector<unsigned char> countOfBillions()
{
    std::vector<unsigned char> bytes = defaultDataFile();
    bytes.resize(4 + 48 + 296);
    const uint32_t count = 2000000000;
    memcpy(&bytes[4 + 32], &count, 4);
    return bytes;
}

TEST_F(E2eTest, BadDataFileEndsTheProgramWithOneFatalBox)
{
    std::vector<unsigned char> version101 = defaultDataFile();
    version101[0] = 101;
    std::vector<unsigned char> version103 = defaultDataFile();
    version103[0] = 103;
    std::vector<unsigned char> swapped = defaultDataFile(); // 102 in the other byte order
    swapped[0] = 0;
    swapped[3] = 102;
    const struct {
        const char* what;
        const char* variant;
        std::vector<unsigned char> bytes;
        const char* message;
    } cases[] = {
        {"version 101", "zentor", version101, OLD_FILE},
        {"version 101", "zentornt3", version101, OLD_FILE},
        {"version 103", "zentor", version103, OLD_FILE},
        {"version 102 byte-swapped", "zentor", swapped, OLD_FILE},
        {"half a version word", "zentor", {0x66, 0x00}, OLD_FILE},
        {"cut inside menu 2 item 3", "zentor", cutInsideThirdItemOfSecondMenu(),
         "Error reading menu: 2 app: 3\nfrom data file: default.zt. Please\n"
         "delete it and restart Zentor."},
        {"cut inside menu 2 item 3", "zentornt3", cutInsideThirdItemOfSecondMenu(),
         "Error reading menu: 2 app: 3\nfrom data file: default.zt. Please\n"
         "delete it and restart Zentor."},
        {"a count of billions", "zentor", countOfBillions(),
         "Error reading menu: 1 app: 2\nfrom data file: default.zt. Please\n"
         "delete it and restart Zentor."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.variant) + ": " + c.what);
        boxes.clear();
        writeBytes(file("default.zt"), c.bytes);
        writeOptions("default", defaultOptions());

        // +d would reach the registry only if the options were saved.
        Running& program = start(c.variant, "+d");
        bool barShown = false;
        ASSERT_TRUE(driveUntil(program, [&] {
            barShown |= findWindowOf(program, "ZTClass") != nullptr;
            return program.ended;
        })) << "still running";
        EXPECT_NE(0u, program.exitCode);
        EXPECT_FALSE(barShown);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Fatal Zentor Error", boxes[0].caption);
        EXPECT_EQ(c.message, boxes[0].text);
        EXPECT_EQ((UINT)MB_ICONERROR, boxes[0].icon);

        EXPECT_EQ("", byteDifference(c.bytes, readBytes(file("default.zt")))) << "data file touched";
        std::vector<unsigned char> options;
        DWORD type = 0;
        ASSERT_TRUE(readOptions("default", &options, &type));
        EXPECT_EQ("", byteDifference(defaultOptions(), options)) << "options saved";
    }
}

TEST_F(E2eTest, LockedDataFileIsLeftAloneWithOneFatalBox)
{
    const std::vector<unsigned char> mine = defaultDataFile();
    writeBytes(file("default.zt"), mine);
    writeOptions("default", defaultOptions());
    // Another program holds the file open without sharing it.
    HANDLE lock = CreateFileA(file("default.zt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);

    Running& program = start("zentor", "+d");
    bool barShown = false;
    bool ended = driveUntil(program, [&] {
        barShown |= findWindowOf(program, "ZTClass") != nullptr;
        return program.ended;
    });
    CloseHandle(lock);
    ASSERT_TRUE(ended) << "still running";
    EXPECT_NE(0u, program.exitCode);
    EXPECT_FALSE(barShown);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Fatal Zentor Error", boxes[0].caption);
    EXPECT_EQ("Could not read data file: default.zt.\nIt may be in use by another program,\n"
              "or you may not have permission to read it.\nPlease check it and restart Zentor.",
              boxes[0].text);
    EXPECT_EQ("", byteDifference(mine, readBytes(file("default.zt")))) << "data file touched";
    EXPECT_FALSE(fileExists(file("default.zt.new")));
    std::vector<unsigned char> options;
    DWORD type = 0;
    ASSERT_TRUE(readOptions("default", &options, &type));
    EXPECT_EQ("", byteDifference(defaultOptions(), options)) << "options saved";
}

}  // namespace
