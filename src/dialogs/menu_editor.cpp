#include "menu_editor.h"

#include "../app/app.h"
#include "../bar/bar_window.h"
#include "../../res/resource.h"

HWND editorWindow = nullptr;

INT_PTR CALLBACK menuEditorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}

void openMenuEditor()
{
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MENU_EDITOR), barWindow, menuEditorDlgProc, 0);
}
