# The menu editor and its two setup dialogs: docs/editor.png,
# docs/menu_setup.png and docs/app_setup.png. Sourced by scripts/screenshots.sh.

# Little-endian 32-bit word; text in a zero-filled field of $2 bytes.
shot_le32() {
    local v=$1
    printf "\\x$(printf %02x $((v & 255)))\\x$(printf %02x $((v >> 8 & 255)))"
    printf "\\x$(printf %02x $((v >> 16 & 255)))\\x$(printf %02x $((v >> 24 & 255)))"
}
shot_field() {
    printf '%s' "$1"
    head -c $(($2 - ${#1})) /dev/zero
}
shot_menu() { # name, number of entries
    shot_field "$1" 30; head -c 2 /dev/zero; shot_le32 "$2"; head -c 12 /dev/zero
}
shot_entry() { # name, path, working directory, parameters, show command, separator before
    shot_field "$2" 80; shot_field "$3" 80; shot_field "$4" 90; shot_field "$1" 30
    shot_le32 "$5"; shot_le32 "$6"; head -c 8 /dev/zero
}

editor_data=$BUILD_DIR/shots-editor.zt
{
    shot_le32 102
    shot_menu "&Tools" 4
    shot_entry "&Notepad" 'C:\windows\notepad.exe' '' '' 9 0
    shot_entry "&Command Prompt" 'C:\windows\system32\cmd.exe' 'C:\' '' 9 0
    shot_entry "&Registry Editor" 'C:\windows\regedit.exe' '' '' 3 1
    shot_entry "&Task Manager" 'C:\windows\system32\taskmgr.exe' '' '' 9 0
    shot_menu "&Documents" 2
    shot_entry "&Letters" 'C:\users\letters' '' '' 3 0
    shot_entry "&Read me" 'C:\readme.txt' '' '' 9 0
    shot_menu "&Games" 2
    shot_entry "&Minesweeper" 'C:\windows\winmine.exe' '' '' 9 0
    shot_entry "&Solitaire" 'C:\windows\sol.exe' '' '' 9 0
} >"$editor_data"

post_to() { # window title, then post_message's own arguments
    "$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" --window "$@"
}

closed() {
    ! has_window "$1"
}

# Chooses line $2 of list box $1 of the editor, as a click on it would.
choose_line() {
    post_to "User Menus" --control "$1" 0x186 "$2" # LB_SETCURSEL
    post_to "User Menus" 0x111 $((1 << 16 | $1))   # LBN_SELCHANGE
}

start_bar "$editor_data"
bar_command 40004
wait_window "User Menus"
choose_line 1004 0 # the first menu
choose_line 1002 3 # its fourth line: the entry below a separator
shoot "User Menus" editor.png

post_to "User Menus" 0x111 $((2 << 16 | 1002)) # a double-click on the chosen entry
shoot "Application Setup" app_setup.png
post_to "Application Setup" 0x111 2 # Cancel
wait_for 20 closed "Application Setup"

post_to "User Menus" 0x111 $((2 << 16 | 1004)) # a double-click on the chosen menu
shoot "Menu Setup" menu_setup.png
post_to "Menu Setup" 0x111 2
wait_for 20 closed "Menu Setup"
stop_shots
rm -f "$editor_data"
