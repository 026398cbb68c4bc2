// The yardstick for start-up and exit: the least a program of this build can
// do to show a popup window with a menu bar, loading the same system
// libraries as zentor.exe. Built with the same compiler flags and static
// runtime as zentor.exe. Built once more as bare_app (BARE_APP defined), the
// same program on user32 and kernel32 alone, whose figures are shown beside
// the real ones for information.
#include <windows.h>
#ifndef BARE_APP
#include <commdlg.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>
#endif

static LRESULT CALLBACK minimalWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
    case WM_COMMAND:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

#ifndef BARE_APP
// One call, doing next to nothing, into each system library zentor.exe imports
// beyond user32 and kernel32: without a call the linker imports nothing from
// it, and the loader would not map and start the library as it does for the
// bar.
static void callSystemLibraries(HWND window)
{
    GetStockObject(NULL_BRUSH);     // gdi32
    DragAcceptFiles(window, FALSE); // shell32
    HKEY key;                       // advapi32
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    timeGetTime();          // winmm
    CommDlgExtendedError(); // comdlg32
    CoTaskMemFree(nullptr); // ole32
}
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = minimalWndProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
    windowClass.lpszClassName = "ZTMinimal";
    if (!RegisterClassA(&windowClass))
        return 1;

    HMENU bar = CreateMenu();
    for (int p = 0; p < 2; p++) {
        HMENU popup = CreatePopupMenu();
        AppendMenuA(popup, MF_STRING, 100 * p + 1, "Item");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)popup, p ? "Second" : "First");
    }
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "ZTMinimal", "Minimal",
                                  WS_POPUP | WS_DLGFRAME | WS_SYSMENU, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYMENU) + 5, nullptr, bar, instance,
                                  nullptr);
    if (!window)
        return 1;
#ifndef BARE_APP
    callSystemLibraries(window);
#endif
    ShowWindow(window, SW_RESTORE);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
