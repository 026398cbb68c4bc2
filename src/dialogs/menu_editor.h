// The User Menus editor (dialog 106): menus and their entries, edited on the
// live lists, saved and put on the bar at OK.
#ifndef ZENTOR_MENU_EDITOR_H
#define ZENTOR_MENU_EDITOR_H

#include <windows.h>

#include "../menus/menu_list.h"

extern HWND editorWindow;        // the open editor; the setup dialogs update its list boxes
extern MenuNode* editorShownMenu; // the menu whose entries the application list shows; null for none

// Item data of an application-list line: what the line stands for. A
// separator line is told by this mark, not by its text, so an entry that
// happens to be named like one is still an entry.
constexpr LPARAM ENTRY_LINE = 0; // what a list box gives a new line
constexpr LPARAM SEPARATOR_LINE = 1;

INT_PTR CALLBACK menuEditorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "&Edit Menus...": runs the editor, modal over the bar.
void openMenuEditor();

// Paints one of the four arrow buttons with its icon, raised or sunken.
void drawArrowButton(const DRAWITEMSTRUCT* item, UINT controlId);

// Fills the application list with menu's entries (empty for null), a
// separator line above each entry that carries one.
void showMenuEntries(HWND dialog, MenuNode* menu);

// Inserts a line of the given kind into one of the editor's list boxes at
// index (-1: at the end).
void putLine(HWND list, int index, const char* text, LPARAM kind);

#endif
