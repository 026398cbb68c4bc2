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

editor_command() { # WPARAM of a WM_COMMAND posted to the editor
    wine "$BUILD_DIR/tests/post_message.exe" --window "User Menus" 0x111 "$1"
}

start_bar "$editor_data"
bar_command 40004
wait_window "User Menus"
# The focus starts on OK; seven tabs reach the menu list, Down chooses its
# first menu, a tab and Down its fourth line (the entry below a separator).
press "User Menus" Tab Tab Tab Tab Tab Tab Tab Down Tab Down Down Down Down
shoot "User Menus" editor.png

editor_command $((2 << 16 | 1002)) # a double-click on the chosen entry
shoot "Application Setup" app_setup.png
press "Application Setup" Escape
wait_for 10 bash -c "! xdotool search --name '^Application Setup\$' >/dev/null 2>&1"

editor_command $((2 << 16 | 1004)) # a double-click on the chosen menu
shoot "Menu Setup" menu_setup.png
press "Menu Setup" Escape
stop_shots
rm -f "$editor_data"
