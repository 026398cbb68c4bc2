# A folder entry open as a menu, with one of its subfolders: docs/folder_menu.png.
# Sourced by scripts/screenshots.sh (after editor.sh, whose record writers it
# uses).

# A folder of programs as a user keeps one: subfolders, programs, a document
# and a web link (shown without its ".url").
folder_root=$BUILD_DIR/shots-folders
system32=$WINEPREFIX/drive_c/windows/system32
rm -rf "$folder_root"
mkdir -p "$folder_root/Programs/Accessories" "$folder_root/Programs/Games" \
    "$folder_root/Programs/System Tools"
cp "$system32/notepad.exe" "$folder_root/Programs/Accessories/Notepad.exe"
cp "$system32/write.exe" "$folder_root/Programs/Accessories/WordPad.exe"
cp "$system32/clock.exe" "$folder_root/Programs/Accessories/Clock.exe"
cp "$system32/winemine.exe" "$folder_root/Programs/Games/Minesweeper.exe"
cp "$system32/taskmgr.exe" "$folder_root/Programs/System Tools/Task Manager.exe"
cp "$system32/cmd.exe" "$folder_root/Programs/Command Prompt.exe"
printf 'Zentor shows this folder as a menu.\r\n' >"$folder_root/Programs/Read me.txt"
printf '[InternetShortcut]\r\nURL=https://www.winehq.org/\r\n' >"$folder_root/Programs/Wine Home Page.url"
folders_win=$("$ZENTOR_WINE" winepath -w "$folder_root")

folder_data=$BUILD_DIR/shots-folder.zt
{
    shot_le32 102
    shot_menu "&Start" 2
    shot_entry "&Programs" "$folders_win\\Programs" '' '' 0 0
    shot_entry "&Notepad" 'C:\windows\notepad.exe' '' '' 0 0
    shot_menu "&Tools" 0
} >"$folder_data"

start_bar "$folder_data" -a # -a: the bar stays in view
post_bar() {
    "$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" "$@"
}
# Alt+S opens "&Start", P opens the folder's menu, Down goes to its first
# subfolder and Right opens it, as the user's keys would.
open_folder_menus() {
    post_bar 0x112 0xF100 0x73 # WM_SYSCOMMAND, SC_KEYMENU, "s"
    post_bar 0x102 0x70        # WM_CHAR "p"
    post_bar 0x100 0x28        # WM_KEYDOWN, Down
    post_bar 0x100 0x27        # WM_KEYDOWN, Right
}
# Wine draws an icon that comes while its menu is open only at the menu's
# next opening: an opening, once it has settled, has its items' icons looked
# up, and the next shows them. The lookups begin a moment after the bar
# shows, which may be after the first opening: the third shows them all.
for opening in 1 2 3; do
    open_folder_menus
    shoot Zentor folder_menu.png 440x168+0+0
    post_bar 0x1F # WM_CANCELMODE closes the menus
done
stop_shots
