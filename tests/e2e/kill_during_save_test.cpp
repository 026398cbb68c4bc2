// A bar with a large data file, ended by "E&xit Zentor" and killed at spread
// moments of its save: the data file is always the whole old file or the
// whole new one, the next start loads it, and the temporary file a killed
// save leaves stops no later save. The bars auto-hide, so a killed one
// leaves no reserved strip behind, and each is taken off the shell after it.
#include "driver.h"

#include <shellapi.h>

#include <stdio.h>
#include <string.h>

namespace {

using Bytes = std::vector<unsigned char>;

const UINT CMD_EXIT = 40006;
const int KILLS = 50;

void putInt(Bytes& bytes, size_t at, int32_t value)
{
    for (int b = 0; b < 4; b++)
        bytes[at + b] = (unsigned char)((uint32_t)value >> (8 * b));
}

// 400 menus of 99 items (11.7 MB), as a long-time user's file.
Bytes largeDataFile()
{
    const int menus = 400, items = 99;
    Bytes bytes(4 + menus * (48 + items * 296), 0);
    putInt(bytes, 0, 102);
    size_t at = 4;
    for (int m = 0; m < menus; m++) {
        snprintf((char*)&bytes[at], 30, "Menu %d", m);
        putInt(bytes, at + 32, items);
        at += 48;
        for (int i = 0; i < items; i++, at += 296) {
            snprintf((char*)&bytes[at], 80, "c:\\program files\\product %d\\program%d.exe", m,
                     i);
            snprintf((char*)&bytes[at + 250], 30, "Item %d of menu %d", i, m);
        }
    }
    return bytes;
}

// Whole file, in one read: the file is large and read often.
Bytes readWhole(const std::string& path)
{
    Bytes bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    fseek(f, 0, SEEK_END);
    bytes.resize((size_t)ftell(f));
    fseek(f, 0, SEEK_SET);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
    fclose(f);
    return bytes;
}

size_t sizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

class KillDuringSave : public E2eTest {
protected:
    // Starts a bar on the data file as it stands, puts the old file in its
    // place and asks the bar to end; returns the bar's process, or null when
    // no bar came up. exitAsked is when the bar was asked.
    Running* exitWithOldFile(const Bytes& oldFile)
    {
        boxes.clear();
        Running& program = start("zentor", "");
        HWND bar = waitForBar(program);
        EXPECT_NE(nullptr, bar) << "no bar; exit code " << program.exitCode
                                << (boxes.empty() ? "" : ", box: " + boxes[0].text);
        if (!bar)
            return nullptr;
        EXPECT_TRUE(boxes.empty()) << boxes[0].text;
        lastBar = bar;
        writeBytes(file("default.zt"), oldFile);
        exitAsked = GetTickCount();
        PostMessageA(bar, WM_COMMAND, CMD_EXIT, 0);
        return &program;
    }

    DWORD exitAsked = 0;
    HWND lastBar = nullptr;
};

// Wine's shell keeps a killed bar registered until the Wine server ends, and
// later tests would meet it; it takes the removal from anyone.
void forgetKilledBar(HWND bar)
{
    APPBARDATA data{};
    data.cbSize = sizeof data;
    data.hWnd = bar;
    SHAppBarMessage(ABM_REMOVE, &data);
}

TEST_F(KillDuringSave, DataFileIsAlwaysWholeOldOrWholeNew)
{
    // The new file is the old one without the 47 bytes behind its last menu,
    // which loading ignores and saving drops.
    const Bytes newFile = largeDataFile();
    Bytes oldFile = newFile;
    oldFile.insert(oldFile.end(), 47, 0xEE);
    writeOptions("default", defaultOptions());
    writeBytes(file("default.zt"), oldFile);

    // One whole exit first, to spread the kills over the time its save
    // takes to put the new file in place.
    Running* program = exitWithOldFile(oldFile);
    ASSERT_NE(nullptr, program);
    ASSERT_TRUE(waitFor([&] { return sizeOf(file("default.zt")) == newFile.size(); }));
    const DWORD saveMs = GetTickCount() - exitAsked;
    ASSERT_TRUE(waitForEnd(*program));
    ASSERT_EQ("", byteDifference(newFile, readWhole(file("default.zt"))));

    // Most kills spread from the moment the bar is asked to end over the
    // time its save took; the last ones once the new file is in place, while
    // the bar still goes (a save can take longer than the one measured).
    const int AFTER = 10;
    int notBegun = 0, writing = 0, written = 0, done = 0;
    for (int k = 0; k < KILLS; k++) {
        program = exitWithOldFile(oldFile);
        ASSERT_NE(nullptr, program) << "start after kill " << k;
        DWORD delay = saveMs * (DWORD)k / (KILLS - AFTER);
        if (k >= KILLS - AFTER) {
            waitFor([&] { return sizeOf(file("default.zt")) == newFile.size(); });
            delay = 5 * (DWORD)(k - (KILLS - AFTER));
        }
        Sleep(delay); // the moment of the kill
        TerminateProcess(program->info.hProcess, 99);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(program->info.hProcess, 10000));
        forgetKilledBar(lastBar);
        program->ended = true;
        ASSERT_TRUE(waitFor([] { return !FindWindowA("ZTClass", "Zentor"); }));

        const Bytes now = readWhole(file("default.zt"));
        ASSERT_TRUE(now == oldFile || now == newFile)
            << "kill " << k << ", a save took " << saveMs << " ms: " << byteDifference(newFile, now);
        // Where the save stood: not begun, writing, written but not in
        // place, done.
        const size_t temporary = fileExists(file("default.zt.new"))
                                     ? sizeOf(file("default.zt.new")) : (size_t)-1;
        if (now == newFile)
            done++;
        else if (temporary == (size_t)-1)
            notBegun++;
        else if (temporary < newFile.size())
            writing++;
        else
            written++;
    }
    printf("%d kills over a save of %u ms: %d before the new file was begun, %d while it was "
           "written, %d with it written but not in place, %d after\n",
           KILLS, (unsigned)saveMs, notBegun, writing, written, done);
    EXPECT_GT(notBegun + writing + written, 0);
    EXPECT_GE(done, AFTER);

    // The last kill's file loads, and the save that ends this bar goes
    // through whatever temporary file is left.
    program = exitWithOldFile(oldFile);
    ASSERT_NE(nullptr, program);
    ASSERT_TRUE(waitForEnd(*program));
    EXPECT_EQ(0u, program->exitCode);
    EXPECT_EQ("", byteDifference(newFile, readWhole(file("default.zt"))));
    EXPECT_FALSE(fileExists(file("default.zt.new")));
    EXPECT_EQ(0u, boxes.size()) << boxes[0].text;
}

}  // namespace
