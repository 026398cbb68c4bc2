// What Explorer's Properties show of each built program, read back the way
// Explorer reads it.
// Usage: version_info_test zentor.exe zentornt3.exe
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Argument 1 is zentor.exe, argument 2 zentornt3.exe, in the host's spelling.
std::string programPath(int argument)
{
    std::string path = argument < __argc ? __argv[argument] : "";
    return !path.empty() && path[0] == '/' ? "Z:" + path : path;
}

std::string versionString(const std::vector<char>& info, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    return VerQueryValueA(info.data(), query.c_str(), (void**)&value, &length) && value ? value
                                                                                        : "(none)";
}

TEST(VersionInfo, BothProgramsNameTheProductTheirVersionAndThemselves)
{
    const struct { const char* file; const char* description; } programs[] = {
        {"zentor.exe", sizeof(void*) == 8 ? "Zentor application launcher (64-bit)"
                                          : "Zentor application launcher"},
        {"zentornt3.exe", "Zentor application launcher for Windows NT 3.x"}};
    for (int i = 0; i < 2; i++) {
        std::string path = programPath(i + 1);
        SCOPED_TRACE(path);
        std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), nullptr));
        ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(path.c_str(), 0, info.size(), info.data()))
            << "no version resource, error " << GetLastError();
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", (void**)&fixed, &length));
        EXPECT_EQ(0x00000063u, fixed->dwFileVersionMS) << "wanted 0.99";
        EXPECT_EQ(0x00000063u, fixed->dwProductVersionMS) << "wanted 0.99";
        EXPECT_EQ("Zentor", versionString(info, "ProductName"));
        EXPECT_EQ("0.99", versionString(info, "ProductVersion"));
        EXPECT_EQ("0.99", versionString(info, "FileVersion"));
        EXPECT_EQ(programs[i].description, versionString(info, "FileDescription"));
        EXPECT_EQ(programs[i].file, versionString(info, "OriginalFilename"));
    }
}

} // namespace
