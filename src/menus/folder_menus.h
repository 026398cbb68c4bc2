// Folder menus: an entry whose path (after %VAR% expansion) is a folder, or a
// shortcut to one, opens as a menu of what the folder holds, its subfolders
// as menus to any depth. Each menu is filled as it opens, from a listing
// taken then, so it shows the folder as it is now; its items start their
// files through the same launch as the entries.
//
// Whether an entry is a folder and what a folder holds are asked of the
// folder worker: the bar waits a bounded time for the answer, and an answer
// that comes later is used at the next opening.
//
// A folder menu's items take ids that no entry and no bar command takes;
// they go back when their menu is emptied: at its next opening, and at each
// opening of one of the bar's popups, when no folder menu is open.
//
// Everything here runs on the bar's thread.
#ifndef ZENTOR_FOLDER_MENUS_H
#define ZENTOR_FOLDER_MENUS_H

#include <stdint.h>
#include <windows.h>

#include "menu_list.h"

// Items a folder menu shows at most; a last "More..." opens the folder.
constexpr int FOLDER_MENU_LIMIT = 500;
// How long an opening waits for a folder's listing before it shows
// "(Not responding)".
constexpr DWORD FOLDER_LISTING_WAIT_MS = 200;
// How long the first filling of a bar's popup waits to know which of its
// entries are folders; an entry not known by then is a plain item until the
// popup's next opening.
constexpr DWORD FOLDER_ENTRY_WAIT_MS = 100;

// A bar's popup is being filled (wait 1) or opened again (wait 0) with the
// menu's entries: asks whether each is a folder (again, for those known
// already), and at a filling waits for the entries not known yet. Nothing
// when folder menus are off.
void checkFolderEntries(const MenuNode* menu, int wait);
// Appends the entry with the given id as a folder's menu, when it is known
// to be a folder and folder menus are on: 1. Else 0, and nothing is appended.
int appendFolderEntry(HMENU popup, UINT id, const AppNode* entry);
// Counts the answers that changed whether an entry is a folder: a popup
// filled before the last change is filled anew at its next opening.
int folderEntriesVersion();

// WM_INITMENUPOPUP of a menu that is no bar popup: fills it when it is a
// folder menu. Returns 1 when it was one.
int fillFolderMenu(HMENU popup);
// Empties every folder menu (none may be open): their ids go back.
void emptyFolderMenus();
// Forgets the folder menus under the bar's popup (null: under every popup),
// which is being emptied or destroyed with them; their ids go back.
void forgetFolderMenus(HMENU barPopup);

// WM_COMMAND: when the id is an item of a folder menu, opens its folder or
// starts its file, and returns 1; else returns 0.
int chooseFolderItem(int32_t id);
// WM_FOLDERS_READY: takes the worker's answers.
void onFolderAnswers();
// Stops the worker and forgets every answer: at exit.
void stopFolderMenus();

#endif
