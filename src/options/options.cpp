#include "options.h"

#include <string.h>

#include "../app/app.h"
#include "../app/byte_order.h"
#include "../app/command_line.h"
#include "../app/message_box.h"
#include "../app/text.h"

UserOptions userOptions;
char optionsKeyName[OPTIONS_KEY_SIZE];
int optionsUnreadable = 0;

// Stored layout of "User_Vars" (108 bytes, little-endian):
//   0 alwaysOnTop   4 chimeHourly   8 displayDate   12 displayMemory
//  16 bottom       20 autoHide     24 reserved      28 wavFile[80]

void packOptions(const UserOptions* o, uint8_t out[OPTIONS_SIZE])
{
    putInt32(out + 0, o->alwaysOnTop);
    putInt32(out + 4, o->chimeHourly);
    putInt32(out + 8, o->displayDate);
    putInt32(out + 12, o->displayMemory);
    putInt32(out + 16, o->bottom);
    putInt32(out + 20, o->autoHide);
    putInt32(out + 24, o->reserved);
    memcpy(out + 28, o->wavFile, WAV_FILE_SIZE);
}

void unpackOptions(const uint8_t in[OPTIONS_SIZE], UserOptions* o)
{
    o->alwaysOnTop = getInt32(in + 0);
    o->chimeHourly = getInt32(in + 4);
    o->displayDate = getInt32(in + 8);
    o->displayMemory = getInt32(in + 12);
    o->bottom = getInt32(in + 16);
    o->autoHide = getInt32(in + 20);
    o->reserved = getInt32(in + 24);
    memcpy(o->wavFile, in + 28, WAV_FILE_SIZE);
    // A stored path may lack its terminator; never read past the field. A
    // terminated one is kept whole, tail included, for the next save.
    if (!memchr(o->wavFile, '\0', WAV_FILE_SIZE))
        o->wavFile[WAV_FILE_SIZE - 1] = '\0';
}

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
    if (size != OPTIONS_SIZE)
        return BLOCK_OBSOLETE;
    unpackOptions(block, &userOptions);
    return BLOCK_TAKEN;
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
    if (disposition == REG_OPENED_EXISTING_KEY)
        read = readBlock(key);
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
    RegCloseKey(key);
    if (!ok)
        showWarning("Error saving user options to Registry!");
    return ok;
}
