// Posts one message to the running bar (or to every top-level window, or to
// the window of a given title or one of its controls), so scripts can work
// the bar and its dialogs as the system or the user would.
// Usage: post_message [--broadcast | --window TITLE [--control ID]]
//                     MESSAGE [WPARAM [LPARAM]]
// MESSAGE is a number (0, WM_NULL, asks only whether the window is there) or
// the name of a registered message ("TaskbarCreated"). Messages posted to
// the windows of one program arrive in the order they were posted.
// Exits 0 when the message was posted, 1 when there was no such window or
// it failed.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

// Returns 0 when a name cannot be registered.
static int messageOf(const char* word, UINT* message)
{
    char* end = nullptr;
    unsigned long number = strtoul(word, &end, 0);
    if (end && *end == '\0') {
        *message = (UINT)number;
        return 1;
    }
    *message = RegisterWindowMessageA(word);
    return *message != 0;
}

int main(int argc, char** argv)
{
    int i = 1;
    HWND target = nullptr;
    if (i < argc && strcmp(argv[i], "--broadcast") == 0) {
        target = HWND_BROADCAST;
        i++;
    } else if (i + 1 < argc && strcmp(argv[i], "--window") == 0) {
        target = FindWindowA(nullptr, argv[i + 1]);
        i += 2;
        if (target && i + 1 < argc && strcmp(argv[i], "--control") == 0) {
            target = GetDlgItem(target, atoi(argv[i + 1]));
            i += 2;
        }
    } else {
        target = FindWindowA("ZTClass", "Zentor");
    }
    if (i >= argc)
        return 2;
    UINT message = 0;
    int known = messageOf(argv[i], &message);
    WPARAM wParam = i + 1 < argc ? (WPARAM)strtoul(argv[i + 1], nullptr, 0) : 0;
    LPARAM lParam = i + 2 < argc ? (LPARAM)strtol(argv[i + 2], nullptr, 0) : 0;
    if (!target || !known)
        return 1;
    return PostMessageA(target, message, wParam, lParam) ? 0 : 1;
}
