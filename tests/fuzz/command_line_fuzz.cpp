// The command-line parser on any arguments (the input split at each
// newline): the fields it fills stay terminated inside their sizes, the
// flags are 0 or 1, every warning formats whole, and a profile always names
// the data file.
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/warning.h"

char profileName[PROFILE_NAME_SIZE];
char dataFilePath[DATA_PATH_SIZE];
UserOptions userOptions;

void showWarning(const char* text)
{
    (void)strlen(text);
}

void showWarningf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char text[512];
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    showWarning(text);
}

static void check(bool holds, const char* what)
{
    if (!holds) {
        fprintf(stderr, "broken: %s\n", what);
        abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words{"zentor.exe"};
    std::string word;
    for (size_t i = 0; i < size; i++) {
        if (data[i] == '\n') {
            words.push_back(word);
            word.clear();
        } else {
            word += (char)data[i];
        }
    }
    words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);

    memset(&userOptions, 0, sizeof userOptions);
    memset(profileName, 'p', sizeof profileName);
    memset(dataFilePath, 'd', sizeof dataFilePath);
    int accepted = parseArguments((int)words.size(), argv.data());

    check(memchr(profileName, '\0', PROFILE_NAME_SIZE) != nullptr, "profile name terminated");
    check(memchr(dataFilePath, '\0', DATA_PATH_SIZE) != nullptr, "data file path terminated");
    const int32_t* flags = &userOptions.alwaysOnTop;
    for (int i = 0; i < 6; i++)
        check(flags[i] == 0 || flags[i] == 1, "flags are 0 or 1");
    check(userOptions.reserved == 0 && userOptions.wavFile[0] == 0, "only flags are switched");
    if (accepted && profileName[0]) {
        std::string named = std::string(profileName) + ".zt";
        check(named == dataFilePath, "a profile names the data file");
    }
    return 0;
}
