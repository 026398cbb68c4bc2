// Posts one message to the running bar (or to every top-level window), so
// scripts can work the bar as the system or its menus would.
// Usage: post_message [--broadcast] MESSAGE [WPARAM [LPARAM]]
// MESSAGE is a number or the name of a registered message ("TaskbarCreated").
// Exits 0 when the message was posted, 1 when there was no bar or it failed.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

// The message a word names; 0 for a name that cannot be registered (a
// number, 0 included, stands for itself).
static UINT messageOf(const char* word, int* known)
{
    char* end = nullptr;
    unsigned long number = strtoul(word, &end, 0);
    if (end && *end == '\0')
        return (UINT)number;
    UINT message = RegisterWindowMessageA(word);
    *known = message != 0;
    return message;
}

int main(int argc, char** argv)
{
    int i = 1;
    int broadcast = 0;
    if (i < argc && strcmp(argv[i], "--broadcast") == 0) {
        broadcast = 1;
        i++;
    }
    if (i >= argc)
        return 2;
    int known = 1;
    UINT message = messageOf(argv[i], &known);
    WPARAM wParam = i + 1 < argc ? (WPARAM)strtoul(argv[i + 1], nullptr, 0) : 0;
    LPARAM lParam = i + 2 < argc ? (LPARAM)strtol(argv[i + 2], nullptr, 0) : 0;
    HWND target = broadcast ? HWND_BROADCAST : FindWindowA("ZTClass", "Zentor");
    if (!target || !known)
        return 1;
    return PostMessageA(target, message, wParam, lParam) ? 0 : 1;
}
