// Asks the shell, as a bar of its own would, where it may dock at an edge of
// a rectangle, and prints the rectangle the shell grants: the strips other
// bars have reserved there are cut from it. Then it leaves the shell again.
// Usage: dock_probe top|bottom LEFT TOP RIGHT BOTTOM
// Prints "LEFT TOP RIGHT BOTTOM"; exits 1 when the shell refuses the probe.
#include <windows.h>
#include <shellapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc != 6)
        return 2;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "dock probe", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    APPBARDATA data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    if (!window || !SHAppBarMessage(ABM_NEW, &data))
        return 1;
    data.uEdge = strcmp(argv[1], "top") == 0 ? ABE_TOP : ABE_BOTTOM;
    SetRect(&data.rc, atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    SHAppBarMessage(ABM_QUERYPOS, &data);
    printf("%ld %ld %ld %ld\n", data.rc.left, data.rc.top, data.rc.right, data.rc.bottom);
    SHAppBarMessage(ABM_REMOVE, &data);
    DestroyWindow(window);
    return 0;
}
