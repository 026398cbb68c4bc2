// What Explorer's Properties show of each built program, read back the way
// Explorer reads it, and zentor.exe's application manifest.
// Usage: version_info_test zentor.exe zentornt3.exe
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string programPath(const char* variant)
{
    std::string wanted = std::string(variant) + ".exe";
    for (int i = 1; i < __argc; i++) {
        std::string path = __argv[i];
        size_t slash = path.find_last_of("/\\");
        if (path.substr(slash == std::string::npos ? 0 : slash + 1) == wanted)
            return path[0] == '/' ? "Z:" + path : path;
    }
    return wanted;
}

// A string of the U.S. English block; "(none)" when it is missing.
std::string versionString(const std::vector<char>& info, const char* name)
{
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), query.c_str(), (void**)&value, &length) || !value)
        return "(none)";
    return value;
}

// The text of the program's manifest, empty when it has none.
std::string manifestOf(const std::string& path)
{
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return "cannot load " + path;
    std::string text;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    if (found) {
        const char* data = (const char*)LockResource(LoadResource(module, found));
        text.assign(data, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

TEST(VersionInfo, BothProgramsNameTheProductTheirVersionAndThemselves)
{
    const struct { const char* variant; const char* description; } programs[] = {
        {"zentor", "Zentor application launcher"},
        {"zentornt3", "Zentor application launcher for Windows NT 3.x"}};
    for (const auto& program : programs) {
        SCOPED_TRACE(program.variant);
        std::string path = programPath(program.variant);
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        ASSERT_NE(0u, size) << path << ": no version resource, error " << GetLastError();
        std::vector<char> info(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", (void**)&fixed, &length));
        EXPECT_EQ(0x00000063u, fixed->dwFileVersionMS) << "wanted 0.99";
        EXPECT_EQ(0u, fixed->dwFileVersionLS);
        EXPECT_EQ(0x00000063u, fixed->dwProductVersionMS);
        EXPECT_EQ((DWORD)VFT_APP, fixed->dwFileType);

        EXPECT_EQ("Zentor", versionString(info, "ProductName"));
        EXPECT_EQ("0.99", versionString(info, "ProductVersion"));
        EXPECT_EQ("0.99", versionString(info, "FileVersion"));
        EXPECT_EQ(program.description, versionString(info, "FileDescription"));
        EXPECT_EQ(std::string(program.variant) + ".exe", versionString(info, "OriginalFilename"));
    }
}

TEST(VersionInfo, OnlyZentorCarriesTheManifest)
{
    std::string manifest = manifestOf(programPath("zentor"));
    const char* settings[] = {
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "level=\"asInvoker\"",
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"};
    for (const char* setting : settings)
        EXPECT_NE(std::string::npos, manifest.find(setting)) << setting << " not in:\n" << manifest;
    // Windows NT 3.x knows no manifest.
    EXPECT_EQ("", manifestOf(programPath("zentornt3")));
}

} // namespace
