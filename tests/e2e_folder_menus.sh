#!/usr/bin/env bash
# Starts the bar with one menu "&Probe" holding "&Folder", an entry whose path
# is a folder, and from the keyboard as a person would: opens the menu, the
# folder's menu and its subfolder "Sub", and chooses the probe program there;
# then checks that the probe started in its own folder.
# Usage: e2e_folder_menus.sh <zentor.exe> <launch_probe.exe>
# Needs DISPLAY and WINEPREFIX (scripts/test.sh sets both).
set -euo pipefail

zentor=$1
probe=$2
profile=ztfolders
work=$(mktemp -d "${TMPDIR:-/tmp}/zentor-folders.XXXXXX")
. "$(dirname "$0")/e2e_bar.sh"

# The folder: a subfolder with the probe in it, and files that sort after it.
mkdir -p "$work/Folder/Sub"
cp "$probe" "$work/Folder/Sub/probe.exe"
touch "$work/Folder/a.txt" "$work/Folder/b.txt"
work_win=$("$ZENTOR_WINE" winepath -w "$work")

# The data file: version 102, one 48-byte menu record, one 296-byte entry
# whose path is the folder.
{
    le32 102
    field "&Probe" 30; head -c 2 /dev/zero; le32 1; head -c 12 /dev/zero
    field "$work_win\\Folder" 80; field "" 80; field "" 90
    field "&Folder" 30; le32 0; le32 0; head -c 8 /dev/zero
} >"$work/$profile.zt"

store_options # folder menus are on by default

export ZENTOR_PROBE_OUT="$work_win\\probe-out.txt"
out="$work/probe-out.txt"

start_bar

# Alt+P opens "&Probe", F opens the folder's menu on "Open Folder", Down
# goes to "Sub" (folders come first), Right opens it on its "Open Folder",
# Down goes to the probe and Enter chooses it. The keys are sent again until the probe reports, in case the
# first ones arrived before the bar took the keyboard.
choose_probe() {
    xdotool key --clearmodifiers alt+p
    xdotool key f Down Right Down Return
    wait_for 5 test -e "$out"
}
attempt=0
until choose_probe; do
    attempt=$((attempt + 1))
    [ $attempt -lt 4 ] || fail "the probe did not start from the folder's menu"
    xdotool key Escape Escape Escape Escape
done

grep -qixF "cwd=$work_win\\Folder\\Sub" "$out" || fail "wrong directory: $(grep cwd "$out")"
grep -qx 'show=9' "$out" || fail "wrong show command: $(grep show "$out")"
cmdline=$(grep '^cmdline=' "$out" || true)
[[ ${cmdline,,} == *'\folder\sub\probe.exe'* ]] || fail "wrong program: $cmdline"

xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2)) key --clearmodifiers alt+F4
wait_for 15 bar_gone || fail "the bar did not end on Alt+F4"
wait "$bar_pid" || true
bar_pid=""
echo "PASS: the keyboard started the probe from the folder's subfolder menu"
