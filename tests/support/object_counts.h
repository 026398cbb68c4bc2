// What a process holds, for the soak benchmarks: USER objects (windows,
// menus, icons), GDI objects by type, and private bytes.
//
// Wine's GetGuiResources answers 0. Wine takes a USER or GDI handle by its
// table index alone (high word 0), so live objects are counted by asking
// every index for its kind: USER entry i is 0x20 + 2 * i, GDI entry i is i.
// Menus and icons answer only in the process that owns them; windows answer
// in every process, so they are kept to this one. On Windows the probe finds
// nothing and GetGuiResources gives the totals instead.
#ifndef ZENTOR_OBJECT_COUNTS_H
#define ZENTOR_OBJECT_COUNTS_H

#include <windows.h>
#include <psapi.h>

#include <stdio.h>

struct UserObjects {
    long windows, menus, icons;
    long total() const { return windows + menus + icons; }
};

// GDI objects by GetObjectType; index 0 is unused.
constexpr int GDI_TYPES = OBJ_COLORSPACE + 1;
struct GdiObjects {
    long byType[GDI_TYPES];
    long total() const
    {
        long sum = 0;
        for (long n : byType)
            sum += n;
        return sum;
    }
};

// 1 when the probes count here (Wine), 0 when GetGuiResources does (Windows).
inline int countingByProbe()
{
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) == 0;
}

inline int isLiveIcon(HICON icon)
{
    ICONINFO info;
    if (!GetIconInfo(icon, &info))
        return 0;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return 1;
}

inline UserObjects countUserObjects()
{
    UserObjects counts = {};
    if (!countingByProbe()) {
        counts.windows = (long)GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        return counts;
    }
    const DWORD self = GetCurrentProcessId();
    for (UINT_PTR index = 0x20; index < 0x10000; index += 2) {
        DWORD owner = 0;
        if (IsWindow((HWND)index) && GetWindowThreadProcessId((HWND)index, &owner) && owner == self)
            counts.windows++;
        else if (IsMenu((HMENU)index))
            counts.menus++;
        else if (isLiveIcon((HICON)index))
            counts.icons++;
    }
    return counts;
}

inline GdiObjects countGdiObjects()
{
    GdiObjects counts = {};
    if (!countingByProbe()) {
        counts.byType[0] = (long)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        return counts;
    }
    for (UINT_PTR index = 1; index < 0x10000; index++) {
        DWORD type = GetObjectType((HGDIOBJ)index);
        if (type && type < GDI_TYPES)
            counts.byType[type]++;
    }
    return counts;
}

// The objects that probesWork makes and frees.
struct ProbeCheck {
    HFONT fonts[50];
    HMENU menus[10];
    HWND windows[5];
    HICON icons[5];
};

inline void makeCheckObjects(ProbeCheck* check)
{
    static const BYTE bits[128] = {};
    for (HFONT& f : check->fonts)
        f = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    for (HMENU& m : check->menus)
        m = CreateMenu();
    for (HWND& w : check->windows)
        w = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (HICON& i : check->icons)
        i = CreateIcon(nullptr, 32, 32, 1, 1, bits, bits);
}

inline void freeCheckObjects(ProbeCheck* check)
{
    for (HFONT f : check->fonts)
        DeleteObject(f);
    for (HMENU m : check->menus)
        DestroyMenu(m);
    for (HWND w : check->windows)
        DestroyWindow(w);
    for (HICON i : check->icons)
        DestroyIcon(i);
}

// Checks that the probes see what they claim to count: 50 fonts, 10 menus,
// 5 windows and 5 icons made and kept, then freed. The first round and the
// window kept through the check let the system make what it keeps for a
// thread while it has windows. Returns 0 (and says why) when they do not.
inline int probesWork(const char* bench)
{
    if (!countingByProbe())
        return 1;
    HWND anchor = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ProbeCheck check;
    makeCheckObjects(&check);
    freeCheckObjects(&check);
    GdiObjects gdiBefore = countGdiObjects();
    UserObjects userBefore = countUserObjects();
    makeCheckObjects(&check);
    GdiObjects gdiDuring = countGdiObjects();
    UserObjects userDuring = countUserObjects();
    freeCheckObjects(&check);
    GdiObjects gdiAfter = countGdiObjects();
    UserObjects userAfter = countUserObjects();
    DestroyWindow(anchor);
    printf("%s: GetGuiResources is 0 here (Wine); counting objects by handle probe "
           "(check: fonts %ld, +50 made %ld, freed %ld; menus %ld, %ld, %ld; "
           "windows %ld, %ld, %ld; icons %ld, %ld, %ld)\n",
           bench, gdiBefore.byType[OBJ_FONT], gdiDuring.byType[OBJ_FONT],
           gdiAfter.byType[OBJ_FONT], userBefore.menus, userDuring.menus, userAfter.menus,
           userBefore.windows, userDuring.windows, userAfter.windows, userBefore.icons,
           userDuring.icons, userAfter.icons);
    int works = gdiDuring.byType[OBJ_FONT] - gdiBefore.byType[OBJ_FONT] == 50 &&
                userDuring.menus - userBefore.menus == 10 &&
                userDuring.windows - userBefore.windows == 5 &&
                userDuring.icons - userBefore.icons == 5 &&
                gdiAfter.total() == gdiBefore.total() && userAfter.total() == userBefore.total();
    if (!works)
        printf("%s: the handle probe does not count what it should here\n", bench);
    return works;
}

inline SIZE_T privateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&counters,
                              sizeof counters))
        return 0;
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

#endif
