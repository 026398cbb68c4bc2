#!/usr/bin/env bash
# Starts the bar with one menu "&Probe" holding "&Run probe", opens the menu
# and chooses the item from the keyboard as a person would, and checks that
# the probe program started with the item's parameters and directory.
# Usage: e2e_launch_keyboard.sh <zentor.exe> <launch_probe.exe>
# Needs DISPLAY and WINEPREFIX (scripts/test.sh sets both).
set -euo pipefail
. "$(dirname "$0")/../scripts/lib.sh" # wait_for

zentor=$1
probe=$2
profile=ztkeys
key="HKCU\\Software\\Zentor\\$profile"
work=$(mktemp -d "${TMPDIR:-/tmp}/zentor-launch-keys.XXXXXX")
bar_pid=""

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cleanup() {
    # WM_CLOSE first, so the bar takes itself off the shell; killed only when
    # that does not end it.
    if [ -n "$bar_pid" ] && kill -0 "$bar_pid" 2>/dev/null; then
        "$ZENTOR_WINE" taskkill /im "$(basename "$zentor")" >/dev/null 2>&1 || true
        wait_for 10 bar_gone || kill -9 "$bar_pid" 2>/dev/null || true
    fi
    "$ZENTOR_WINE" reg delete "$key" /f >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

bar_gone() { ! kill -0 "$bar_pid" 2>/dev/null; }

le32() {
    local v=$1
    printf "\\x$(printf %02x $((v & 255)))\\x$(printf %02x $((v >> 8 & 255)))"
    printf "\\x$(printf %02x $((v >> 16 & 255)))\\x$(printf %02x $((v >> 24 & 255)))"
}

# A text in a zero-filled field of $2 bytes.
field() {
    local text=$1 size=$2
    [ ${#text} -lt "$size" ] || fail "\"$text\" does not fit in $size bytes"
    printf '%s' "$text"
    head -c $((size - ${#text})) /dev/zero
}

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

# Stored options, so that no first-run greeting waits for an answer: on top,
# memory shown, top edge, no auto-hide (the bar stays where the keys reach it).
options=010000000000000000000000010000000000000000000000
options=$options$(printf '0%.0s' $(seq 1 $((216 - ${#options}))))
"$ZENTOR_WINE" reg add "$key" /v User_Vars /t REG_BINARY /d "$options" /f >/dev/null 2>&1 ||
    fail "could not store the options"

export ZENTOR_PROBE_OUT="$work_win\\probe-out.txt"
out="$work/probe-out.txt"

cd "$work"
"$ZENTOR_WINE" "$zentor" "$profile" >/dev/null 2>&1 &
bar_pid=$!

bar_window() { bar=$(xdotool search --name '^Zentor$' 2>/dev/null | head -n 1) && [ -n "$bar" ]; }
wait_for 30 bar_window || fail "the bar did not appear"
eval "$(xdotool getwindowgeometry --shell "$bar")"
[ "$Y" -eq 0 ] || fail "the bar stands at $Y, not at the top edge"

# Keys go to the window under the pointer (no window manager runs): rest the
# pointer on the bar, away from its menus. Then Alt+P opens "&Probe" and R
# chooses "&Run probe". The keys are sent again until the probe reports, in
# case the first ones arrived before the bar took the keyboard.
xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2))
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
