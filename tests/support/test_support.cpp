#include "test_support.h"

#include <direct.h>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/start_paths.h"
#include "app/command_line.h"
#include "bar/auto_hide.h"
#include "bar/bar_window.h"
#include "bar/full_screen.h"
#include "bar/status.h"
#include "menus/folder_menus.h"
#include "menus/menu_bar.h"
#include "menus/menu_icons.h"
#include "options/settings.h"
#include "menus/menu_list.h"
#include "options/options.h"
#include "options/settings.h"

void pumpMessages(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

bool until(const std::function<bool()>& pred, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (pred())
            return true;
        if (GetTickCount() - start >= ms)
            return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

static void removeTree(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, ".."))
                continue;
            std::string path = dir + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

std::string enterFreshDirectory(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "zentor-tests";
    CreateDirectoryA(dir.c_str(), nullptr);
    dir += "\\";
    dir += name;
    removeTree(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    SetCurrentDirectoryA(dir.c_str());
    return dir;
}

std::string compareBytes(const std::vector<unsigned char>& want,
                         const std::vector<unsigned char>& got)
{
    if (want.size() != got.size())
        return "size " + std::to_string(want.size()) + ", got " + std::to_string(got.size());
    for (size_t i = 0; i < want.size(); i++)
        if (want[i] != got[i])
            return "offset " + std::to_string(i) + ": want " + std::to_string(want[i]) +
                   ", got " + std::to_string(got[i]);
    return "equal";
}

std::vector<unsigned char> readFileBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    unsigned char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    fclose(file);
    return bytes;
}

void writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

static std::string optionsKeyOf(const char* profile)
{
    return std::string("Software\\Zentor\\") + (profile[0] ? profile : "default");
}

void deleteOptionsKey(const char* profile)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, optionsKeyOf(profile).c_str());
}

std::vector<unsigned char> readStoredOptions(const char* profile, DWORD* type)
{
    std::vector<unsigned char> data(512);
    DWORD size = (DWORD)data.size();
    DWORD got = REG_NONE;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, optionsKeyOf(profile).c_str(), 0, KEY_READ, &key) != 0)
        return {};
    LONG result = RegQueryValueExA(key, "User_Vars", nullptr, &got, data.data(), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return {};
    data.resize(size);
    if (type)
        *type = got;
    return data;
}

int storeOptionsValue(const char* profile, const std::vector<unsigned char>& value, DWORD type)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, optionsKeyOf(profile).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 0;
    LONG result = RegSetValueExA(key, "User_Vars", 0, type, value.data(), (DWORD)value.size());
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void resetProgramState()
{
    if (barWindow && IsWindow(barWindow))
        DestroyWindow(barWindow);
    barWindow = nullptr;
    stopMenuIcons();
    stopFolderMenus();
    memset(&barSettings, 0, sizeof barSettings);
    barShown = 1;
    hideTimerId = 0;
    chimePlayed = 0;
    fullScreenOpen = 0;
    barSettings.hotKey = 0;
    barSettings.monitor[0] = '\0';
    freeAllMenus();
    menuBar = nullptr;
    memset(&userOptions, 0, sizeof userOptions);
    optionsUnreadable = 0;
    profileName[0] = '\0';
    dataFilePath[0] = '\0';
    dataFileLocation[0] = '\0';
    startDirectory[0] = '\0';
    switchesGiven = 0;
    appInstance = GetModuleHandleA(nullptr);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    onBattery = 0;
    clearBoxes();
}
