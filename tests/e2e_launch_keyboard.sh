#!/usr/bin/env bash
# Starts the bar with one menu "&Probe" holding "&Run probe", opens the menu
# and chooses the item from the keyboard as a person would, and checks that
# the probe program started with the item's parameters and directory.
# Usage: e2e_launch_keyboard.sh <zentor.exe> <launch_probe.exe>
# Needs DISPLAY and WINEPREFIX (scripts/test.sh sets both).
set -euo pipefail

zentor=$1
probe=$2
profile=ztkeys
work=$(mktemp -d "${TMPDIR:-/tmp}/zentor-launch-keys.XXXXXX")
. "$(dirname "$0")/e2e_bar.sh"

probe_win=$("$ZENTOR_WINE" winepath -w "$probe")
work_win=$("$ZENTOR_WINE" winepath -w "$work")
parameters='keyboard "two words"'

# The data file: version 102, one 48-byte menu record, one 296-byte item.
{
    le32 102
    field "&Probe" 30; head -c 2 /dev/zero; le32 1; head -c 12 /dev/zero
    field "$probe_win" 80; field "$work_win" 80; field "$parameters" 90
    field "&Run probe" 30; le32 0; le32 0; head -c 8 /dev/zero
} >"$work/$profile.zt"
size=$(stat -c %s "$work/$profile.zt")
[ "$size" -eq $((4 + 48 + 296)) ] || fail "data file is $size bytes"

store_options

export ZENTOR_PROBE_OUT="$work_win\\probe-out.txt"
out="$work/probe-out.txt"

start_bar
[ "$Y" -eq 0 ] || fail "the bar stands at $Y, not at the top edge"

# Alt+P opens "&Probe" and R chooses "&Run probe". The keys are sent again
# until the probe reports, in case the first ones arrived before the bar
# took the keyboard.
choose_item() {
    xdotool key --clearmodifiers alt+p
    wait_for 2 test -e "$out" && return 0
    xdotool key r
    wait_for 5 test -e "$out"
}
attempt=0
until choose_item; do
    attempt=$((attempt + 1))
    [ $attempt -lt 4 ] || fail "the probe did not start from the keyboard"
    xdotool key Escape Escape
done

cmdline=$(grep '^cmdline=' "$out" || true)
[[ $cmdline == *" $parameters" ]] || fail "wrong command line: $cmdline"
grep -qixF "cwd=$work_win" "$out" || fail "wrong directory: $(grep cwd "$out")"
grep -qx 'show=9' "$out" || fail "wrong show command: $(grep show "$out")"

# Close the bar as a person would: Alt+F4 on it.
xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2)) key --clearmodifiers alt+F4
wait_for 15 bar_gone || fail "the bar did not end on Alt+F4"
wait "$bar_pid" || true
bar_pid=""
echo "PASS: the keyboard launched the probe with: $parameters"
