// The User Menus editor (dialog 106): menus and their entries, edited on the
// live lists, saved and put on the bar at OK.
#ifndef ZENTOR_MENU_EDITOR_H
#define ZENTOR_MENU_EDITOR_H

#include <windows.h>

extern HWND editorWindow; // the open editor; the setup dialogs update its list boxes

INT_PTR CALLBACK menuEditorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "&Edit Menus...": runs the editor, modal over the bar.
void openMenuEditor();

#endif
