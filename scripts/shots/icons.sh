# A menu whose items show their files' icons: docs/icons.png. Sourced by
# scripts/screenshots.sh (after editor.sh, whose record writers it uses).

mkdir -p "$WINEPREFIX/drive_c/Zentor"
cp "$BUILD_DIR/zentor.exe" "$WINEPREFIX/drive_c/Zentor/zentor.exe"
icons_data=$BUILD_DIR/shots-icons.zt
{
    shot_le32 102
    shot_menu "&Tools" 8
    shot_entry "&Zentor" 'C:\Zentor\zentor.exe' '' '' 9 0
    shot_entry "&Notepad" 'C:\windows\notepad.exe' '' '' 9 0
    shot_entry "&Command Prompt" '%SystemRoot%\system32\cmd.exe' 'C:\' '' 9 0
    shot_entry "&Registry Editor" 'C:\windows\regedit.exe' '' '' 3 0
    shot_entry "&Windows folder" 'C:\windows' '' '' 9 1
    shot_entry "W&in.ini" 'C:\windows\win.ini' '' '' 9 0
    shot_entry "&System.ini" 'C:\windows\system.ini' '' '' 9 0
    shot_entry "&Gone away" 'C:\nowhere\gone.exe' '' '' 9 1
} >"$icons_data"

start_bar "$icons_data" -a
# Alt+T opens "&Tools"; its icons are looked up as it opens and show at its
# next opening.
"$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x112 0xF100 0x74
shoot Zentor icons.png 320x200+0+0
"$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x1F
"$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x112 0xF100 0x74
shoot Zentor icons.png 320x200+0+0
"$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x1F
stop_shots
