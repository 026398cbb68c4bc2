#include "options.h"

#include "../app/app.h"
#include "../app/command_line.h"
#include "../app/message_box.h"
#include "../app/text.h"
#include "settings.h"

UserOptions userOptions;
char optionsKeyName[OPTIONS_KEY_SIZE];
int optionsUnreadable = 0;

static void buildKeyName()
{
    formatText(optionsKeyName, sizeof optionsKeyName, "Software\\Zentor\\%s",
               profileName[0] ? profileName : "default");
}

static void setDefaults()
{
    userOptions.alwaysOnTop = 1;
    userOptions.chimeHourly = 0;
    userOptions.displayDate = 0;
    userOptions.displayMemory = 1;
    userOptions.bottom = 0;
    userOptions.autoHide = 1;
    userOptions.wavFile[0] = '\0';
}

static int openKey(HKEY* key, DWORD* disposition)
{
    return RegCreateKeyExA(HKEY_CURRENT_USER, optionsKeyName, 0, nullptr,
                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key,
                           disposition) == ERROR_SUCCESS;
}

static int writeBlock(HKEY key)
{
    uint8_t block[OPTIONS_SIZE];
    packOptions(&userOptions, block);
    return RegSetValueExA(key, "User_Vars", 0, REG_BINARY, block, OPTIONS_SIZE) ==
           ERROR_SUCCESS;
}

// What reading "User_Vars" found.
enum BlockRead { BLOCK_TAKEN, BLOCK_MISSING, BLOCK_OBSOLETE, BLOCK_UNREADABLE };

static BlockRead readBlock(HKEY key)
{
    uint8_t block[OPTIONS_SIZE] = {};
    DWORD size = OPTIONS_SIZE;
    LONG result = RegQueryValueExA(key, "User_Vars", nullptr, nullptr, block, &size);
    if (result == ERROR_FILE_NOT_FOUND)
        return BLOCK_MISSING; // a first run of this key
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
        return BLOCK_UNREADABLE;
    return readOptionBlock(block, size, &userOptions) ? BLOCK_TAKEN : BLOCK_OBSOLETE;
}

// The zentornt3 build has no shell to dock with: its bar always auto-hides.
static void forceBuildOptions()
{
#ifdef ZENTOR_NT3
    userOptions.autoHide = 1;
#endif
}

void loadOptions()
{
    UserOptions switched = userOptions;
    setDefaultSettings();
    buildKeyName();
    if (!dataFilePath[0])
        copyField(dataFilePath, "default.zt");

    HKEY key;
    DWORD disposition = 0;
    if (!openKey(&key, &disposition)) {
        showWarning("Error opening Registry key!\nUsing defaults.");
        // The stored options may only be out of reach for now: the defaults
        // of this run must not be written over them at exit.
        optionsUnreadable = 1;
        setDefaults();
        applyCommandLineSwitches(&switched);
        forceBuildOptions();
        if (profileName[0])
            formatText(dataFilePath, sizeof dataFilePath, "%s.zt", profileName);
        else
            copyField(dataFilePath, "default.zt");
        return;
    }

    BlockRead read = BLOCK_MISSING;
    if (disposition == REG_OPENED_EXISTING_KEY) {
        read = readBlock(key);
        loadSettings(key);
    }
    if (read == BLOCK_OBSOLETE)
        showWarning("Obsolete or corrupt registry data found.\n"
                    "Deleting and installing default data.");
    if (read == BLOCK_UNREADABLE) {
        // A value that is there but cannot be read now is kept as it is.
        showWarning("Error reading user options from Registry!\nUsing defaults.");
        optionsUnreadable = 1;
        setDefaults();
    } else if (read != BLOCK_TAKEN) {
        installDefaultOptions(key);
    }
    applyCommandLineSwitches(&switched);
    forceBuildOptions();
    RegCloseKey(key);
}

void installDefaultOptions(HKEY key)
{
    char greeting[256];
    if (profileName[0])
        formatText(greeting, sizeof greeting,
                   "Thanks for trying Zentor, %s!\nIf you find any bugs, please report\n"
                   "them to %s!",
                   profileName, CONTACT_ADDRESS);
    else
        formatText(greeting, sizeof greeting,
                   "Thanks for trying Zentor!  If you find\nany bugs, please report them to\n%s!",
                   CONTACT_ADDRESS);
    showMessageBox(nullptr, greeting, "Zentor", MB_ICONINFORMATION);

    setDefaults();
    if (!writeBlock(key))
        showWarning("Error saving user options to Registry!");
}

int saveOptions()
{
    if (optionsUnreadable)
        return 0;
    buildKeyName();
    HKEY key;
    DWORD disposition = 0;
    if (!openKey(&key, &disposition)) {
        showWarning("Error saving user options to Registry!");
        return 0;
    }
    int ok = writeBlock(key);
    ok = saveSettings(key) && ok;
    RegCloseKey(key);
    if (!ok)
        showWarning("Error saving user options to Registry!");
    return ok;
}
