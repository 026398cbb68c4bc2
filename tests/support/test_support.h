// Shared helpers of the behaviour tests.
#ifndef ZENTOR_TEST_SUPPORT_H
#define ZENTOR_TEST_SUPPORT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// One message box the program asked for, as the fake showMessageBox saw it.
struct RecordedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    bool wide = false; // shown with a wide text, recorded here in UTF-8
};

// Every box shown since the last clearBoxes().
extern std::vector<RecordedBox> recordedBoxes;
void clearBoxes();
// The answer the next boxes return (IDOK unless a test says otherwise).
extern int boxAnswer;

// Pumps this thread's messages until pred() holds or ms pass; returns pred().
bool until(const std::function<bool()>& pred, DWORD ms = 5000);
// Pumps messages for at most ms without waiting for anything in particular.
void pumpMessages(DWORD ms);

// A fresh, empty directory under the test's temporary folder; the process's
// current directory is set to it.
std::string enterFreshDirectory(const char* name);

// Reads a whole file; empty when it does not exist.
std::vector<unsigned char> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
// "equal", or where the bytes first differ: "offset i: want w, got g", or
// "size w, got g".
std::string compareBytes(const std::vector<unsigned char>& want,
                         const std::vector<unsigned char>& got);

// Removes HKCU\Software\Zentor\<profile> (or \default for an empty profile).
void deleteOptionsKey(const char* profile);
// The profile's stored "User_Vars" value (empty when there is none); type is
// set to the registry type it has.
std::vector<unsigned char> readStoredOptions(const char* profile, DWORD* type = nullptr);
int storeOptionsValue(const char* profile, const std::vector<unsigned char>& value,
                      DWORD type = REG_BINARY);

// Puts every global of the program back as a fresh process has it.
void resetProgramState();

#endif
