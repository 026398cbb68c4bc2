// A program for the launch tests to start: it writes what it was given (its
// command line, its current directory and the show command of its start-up
// info) to the file named by ZENTOR_PROBE_OUT, or to probe-out.txt beside
// itself, one item per line, then ends.
#include <windows.h>
#include <stdio.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char out[MAX_PATH];
    if (!GetEnvironmentVariableA("ZENTOR_PROBE_OUT", out, sizeof out)) {
        GetModuleFileNameA(nullptr, out, sizeof out);
        char* slash = strrchr(out, '\\');
        if (slash)
            slash[1] = '\0';
        strncat(out, "probe-out.txt", sizeof out - strlen(out) - 1);
    }
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);

    // Written beside the target and moved in place, so a reader never sees
    // half a file.
    char temporary[MAX_PATH + 8];
    snprintf(temporary, sizeof temporary, "%s.tmp", out);
    FILE* file = fopen(temporary, "wb");
    if (!file)
        return 1;
    fprintf(file, "cmdline=%s\n", GetCommandLineA());
    fprintf(file, "cwd=%s\n", directory);
    fprintf(file, "flags=%lu\n", (unsigned long)startup.dwFlags);
    fprintf(file, "show=%u\n", (unsigned)startup.wShowWindow);
    fclose(file);
    MoveFileExA(temporary, out, MOVEFILE_REPLACE_EXISTING);
    return 0;
}
