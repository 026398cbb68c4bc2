#include "settings.h"

#include <commctrl.h>
#include <string.h>


BarSettings barSettings;

// Each setting: its registry value, its type, where it lives, how many bytes
// it takes there, and the default of a number.
struct SettingValue {
    const char* name;
    DWORD type; // REG_DWORD or REG_SZ
    void* field;
    DWORD size;
    int32_t defaultNumber;
};

static const SettingValue SETTINGS[] = {
    {"Icons", REG_DWORD, &barSettings.showIcons, sizeof barSettings.showIcons, 1},
    {"FolderMenus", REG_DWORD, &barSettings.folderMenus, sizeof barSettings.folderMenus, 1},
    // Ctrl + Alt + Home: no shortcut of Windows (whose Magnifier takes
    // Ctrl + Alt + Space), no character that a keyboard layout types with
    // AltGr (which is Ctrl + Alt), and a key the hot key control takes.
    {"HotKey", REG_DWORD, &barSettings.hotKey, sizeof barSettings.hotKey,
     (HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT) << 8 | VK_HOME},
    {"Monitor", REG_SZ, barSettings.monitor, sizeof barSettings.monitor, 0},
};

static void setDefault(const SettingValue& s)
{
    if (s.type == REG_DWORD)
        memcpy(s.field, &s.defaultNumber, sizeof s.defaultNumber);
    else
        memset(s.field, 0, s.size);
}

void setDefaultSettings()
{
    for (const SettingValue& s : SETTINGS)
        setDefault(s);
}

// A text must end inside its field; a number must be exactly a DWORD.
static int valueFits(const SettingValue& s, DWORD type, DWORD size, const BYTE* value)
{
    if (type != s.type)
        return 0;
    if (s.type == REG_DWORD)
        return size == sizeof(DWORD);
    return size > 0 && size <= s.size && memchr(value, '\0', size) != nullptr;
}

void loadSettings(HKEY key)
{
    for (const SettingValue& s : SETTINGS) {
        BYTE value[MONITOR_NAME_SIZE] = {};
        DWORD size = sizeof value;
        DWORD type = REG_NONE;
        if (RegQueryValueExA(key, s.name, nullptr, &type, value, &size) == ERROR_SUCCESS &&
            valueFits(s, type, size, value))
            memcpy(s.field, value, s.type == REG_DWORD ? sizeof(DWORD) : s.size);
        else
            setDefault(s);
    }
}

int saveSettings(HKEY key)
{
    int ok = 1;
    for (const SettingValue& s : SETTINGS) {
        DWORD size = s.type == REG_DWORD ? s.size : (DWORD)strlen((const char*)s.field) + 1;
        ok = RegSetValueExA(key, s.name, 0, s.type, (const BYTE*)s.field, size) == ERROR_SUCCESS &&
             ok;
    }
    return ok;
}
