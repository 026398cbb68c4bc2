// The menu editor on 400 menus of 99 items: opening it, and choosing a menu
// of 99 items, each against making the same dialog and filling its list
// boxes with the same lines from an array (goal 1.5 x); and OK (save, menu
// bar rebuild, repaint) against the save alone (goal 1.3 x). Medians over the
// rounds.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "app/app.h"
#include "bar/bar_window.h"
#include "bench_util.h"
#include "big_menus.h"
#include "dialogs/menu_editor.h"
#include "menus/menu_file.h"
#include "resource.h"
#include "test_support.h"

// Drawn once at the end: a visible list box drawn after every line takes
// tens of times longer.
static void fillFromArray(HWND list, const std::vector<std::string>& lines)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)line.c_str());
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// The floor's dialog: the same template; it fills its menu list from the
// array it is given when it opens, as the editor does from the lists.
static INT_PTR CALLBACK plainDlgProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    fillFromArray(GetDlgItem(dialog, IDC_MENU_LIST), *(const std::vector<std::string>*)lParam);
    return TRUE;
}

static HWND makeDialog(DLGPROC procedure, const void* lines)
{
    return CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_MENU_EDITOR), barWindow, procedure,
                              (LPARAM)lines);
}

int main(int argc, char** argv)
{
    int rounds = roundsArgument(argc, argv, 21);
    enterBenchFolder("zentor-bench-editor");
    resetProgramState();
    copyField(dataFilePath, "bench.zt");
    popupMenu = GetSubMenu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_BAR_POPUP)), 0);
    if (!registerBarClass() || !createBar()) {
        printf("editor: no bar\n");
        return 2;
    }
    buildBigMenus();

    // The lines the editor shows: every menu, and the first menu's entries
    // with a separator line above each entry that has one.
    std::vector<std::string> menuLines, entryLines;
    for (MenuNode* m = menuList; m; m = m->next)
        menuLines.push_back(m->name);
    for (AppNode* a = menuList->firstApp; a; a = a->next) {
        if (a->separatorBefore)
            entryLines.push_back(SEPARATOR_TEXT);
        entryLines.push_back(a->name);
    }

    std::vector<double> openMs, openFloorMs, chooseMs, chooseFloorMs, okMs, okFloorMs;
    for (int r = 0; r < rounds; r++) {
        // Each window is made once the display has settled from the last,
        // and which comes first changes from round to round: the one made
        // second tends to pay for the first.
        HWND editor = nullptr, plain = nullptr;
        double editorMs = 0, plainMs = 0;
        for (int turn = 0; turn < 2; turn++) {
            pumpMessages(100);
            double start = nowMs();
            if ((turn + r) % 2 == 0) {
                editor = makeDialog(menuEditorDlgProc, nullptr);
                editorMs = nowMs() - start;
            } else {
                plain = makeDialog(plainDlgProc, &menuLines);
                plainMs = nowMs() - start;
            }
        }
        pumpMessages(100);

        // Choosing a menu and filling from the array take turns too.
        HWND list = GetDlgItem(editor, IDC_MENU_LIST);
        double chosenMs = 0, filledMs = 0;
        for (int turn = 0; turn < 2; turn++) {
            double start = nowMs();
            if ((turn + r) % 2 == 0) {
                SendMessageA(list, LB_SETCURSEL, 0, 0);
                SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDC_MENU_LIST, LBN_SELCHANGE),
                             (LPARAM)list);
                chosenMs = nowMs() - start;
            } else {
                SendDlgItemMessageA(plain, IDC_MENU_LIST, LB_SETCURSEL, 0, 0);
                fillFromArray(GetDlgItem(plain, IDC_APP_LIST), entryLines);
                filledMs = nowMs() - start;
            }
        }
        pumpMessages(0);
        size_t shown = (size_t)SendDlgItemMessageA(editor, IDC_APP_LIST, LB_GETCOUNT, 0, 0);
        size_t menus = (size_t)SendMessageA(list, LB_GETCOUNT, 0, 0);
        if (shown != entryLines.size() || menus != menuLines.size()) {
            printf("editor: shows %u menus and %u lines, not %u and %u\n", (unsigned)menus,
                   (unsigned)shown, (unsigned)menuLines.size(), (unsigned)entryLines.size());
            return 2;
        }
        DestroyWindow(plain);
        pumpMessages(100);

        // The OK and the save alone take turns at coming first: the first of
        // the two pays for bringing the menus back into the processor's caches.
        // Both wait until the display has drawn the lists chosen above.
        double ok = 0, save = 0;
        for (int turn = 0; turn < 2; turn++) {
            double start = nowMs();
            if ((turn + r) % 2 == 0) {
                SendMessageA(editor, WM_COMMAND, IDOK, 0);
                ok = nowMs() - start;
            } else {
                saveMenuFile();
                save = nowMs() - start;
            }
        }
        DestroyWindow(editor);
        pumpMessages(0);

        openMs.push_back(editorMs);
        openFloorMs.push_back(plainMs);
        chooseMs.push_back(chosenMs);
        chooseFloorMs.push_back(filledMs);
        okMs.push_back(ok);
        okFloorMs.push_back(save);
    }
    removeBar();
    freeAllMenus();
    DeleteFileA(dataFilePath);

    printf("editor: %d menus x %d items, %d rounds, medians\n", BIG_MENUS, BIG_ITEMS, rounds);
    int met = reportRatio("editor open", "the editor", median(openMs), "filled from an array",
                          median(openFloorMs), 1.5);
    met &= reportRatio("editor choose", "choosing a menu", median(chooseMs),
                       "filled from an array", median(chooseFloorMs), 1.5);
    met &= reportRatio("editor OK", "OK", median(okMs), "the save alone", median(okFloorMs), 1.3);
    return met ? 0 : 1;
}
