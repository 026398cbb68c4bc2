#!/usr/bin/env bash
# The bar on the second of two monitors of different sizes: at that
# monitor's bottom edge, as wide as it, its strip reserved there through the
# shell (as another bar asking the shell finds). Started again once that
# monitor is gone, it docks on the primary one and keeps its setting.
# It auto-hides there too. zentornt3 stays on the one screen. Runs on an X server with two screens in
# one Xinerama desktop, in a Wine prefix that takes its monitors from
# Xinerama (\\.\DISPLAY1 1024 x 768, primary, and \\.\DISPLAY2 800 x 600,
# both at 0,0): both of its own, so the other tests' display is left alone.
# Usage: e2e_monitors.sh zentor.exe zentornt3.exe dock_probe.exe PREFIX_FOLDER
set -u
. "$(dirname "$0")/../scripts/lib.sh" # wait_for

PROBE=$3
PROFILE=zentor-e2e-monitors
KEY="HKCU\\Software\\Zentor\\$PROFILE"
export WINEPREFIX=$4 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
XVFB="" BAR_PID="" X="" Y="" WIDTH="" HEIGHT=""
WORK=$(mktemp -d)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

stop_display() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    [ -z "$XVFB" ] || { kill "$XVFB" 2>/dev/null; wait "$XVFB" 2>/dev/null; }
    XVFB=""
}
trap '[ -z "$BAR_PID" ] || kill -9 "$BAR_PID" 2>/dev/null; stop_display; rm -rf "$WORK"' EXIT

# An X server on a free display with the given screens, once it answers, and
# Wine started afresh on it: Wine reads its monitors when it starts.
start_screens() {
    local n=150 i=0 screens=()
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    for size in "$@"; do screens+=(-screen $((i++)) "$size"); done
    Xvfb ":$n" "${screens[@]}" +xinerama -nolisten tcp >/dev/null 2>&1 &
    XVFB=$!
    export DISPLAY=":$n"
    wait_for 20 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb :$n does not answer"
    [ -f "$WINEPREFIX/system.reg" ] || "$ZENTOR_WINE" wineboot -i >/dev/null 2>&1
    for value in UseXRandR Managed; do
        "$ZENTOR_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v $value /d N /f >/dev/null 2>&1
    done
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    wineserver -p
}

# Reads the geometry of the bar of process $1: its window titled "Zentor"
# as wide as a screen (a box of the program bears the same title).
bar_geometry() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '^Zentor$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=-?[0-9]+$')"
        [ "${WIDTH:-0}" -ge 640 ] && return 0
    done
    return 1
}

bar_gone() { ! kill -0 "$BAR_PID" 2>/dev/null; }

# Runs program $1 at the bottom edge without auto-hide, so that it reserves
# a strip, and checks that its bar stands at x 0, $2 wide, and (unless $3 is
# empty) at the bottom of a monitor $3 high with its strip reserved there.
# The bar's exit must leave the Monitor value as it was.
check_bar() {
    (cd "$WORK" && exec "$ZENTOR_WINE" "$1" "$PROFILE" +b -a >/dev/null 2>&1) &
    BAR_PID=$!
    wait_for 20 bar_geometry "$BAR_PID" || fail "$1: no bar"
    [ "$X $WIDTH" = "0 $2" ] || fail "$1: bar at x $X, $WIDTH wide; wanted 0 and $2"
    if [ -n "$3" ]; then
        wait_for 5 bar_geometry "$BAR_PID" && [ "$Y" -eq $(($3 - HEIGHT)) ] ||
            fail "$1: bar top $Y, $HEIGHT high; wanted $(($3 - HEIGHT))"
        local granted
        granted=$("$ZENTOR_WINE" "$PROBE" bottom 0 0 "$2" "$3" 2>/dev/null | tr -d '\r')
        [ "${granted##* }" = "$Y" ] || fail "$1: another bar at that bottom is granted \"$granted\"; wanted it to end at $Y"
    fi
    "$ZENTOR_WINE" taskkill /im "$(basename "$1")" >/dev/null 2>&1
    wait_for 20 bar_gone || fail "$1 did not end on WM_CLOSE"
    BAR_PID=""
    local stored
    stored=$("$ZENTOR_WINE" reg query "$KEY" /v Monitor 2>/dev/null | tr -d '\r' | awk '$1 == "Monitor" {print $3}')
    [ "$stored" = '\\.\DISPLAY2' ] || fail "$1: the Monitor value became \"$stored\""
    echo "$(basename "$1"): bar at 0,$Y, $WIDTH x $HEIGHT"
}

start_screens 1024x768x24 800x600x24
# Stored options (on top, memory shown), so that no greeting stands in the way.
BLOCK=$(printf '%s%0160d' 01000000000000000000000001000000000000000000000000000000 0)
"$ZENTOR_WINE" reg add "$KEY" /v User_Vars /t REG_BINARY /d "$BLOCK" /f >/dev/null 2>&1 &&
    "$ZENTOR_WINE" reg add "$KEY" /v Monitor /d '\\.\DISPLAY2' /f >/dev/null 2>&1 ||
    fail "cannot store the options"
check_bar "$1" 800 600
# Auto-hide there: a shell that knows no auto-hide bars per monitor (Wine's,
# Windows 7's) takes it as its edge's. The shell is asked before the bar is
# shown, so a refusal's warning box stands by the time the bar does.
(cd "$WORK" && exec "$ZENTOR_WINE" "$1" "$PROFILE" +b +a >/dev/null 2>&1) &
BAR_PID=$!
wait_for 20 bar_geometry "$BAR_PID" || fail "$1: no auto-hide bar"
for id in $(xdotool search --all --onlyvisible --pid "$BAR_PID" --name '^Zentor$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^WIDTH=[0-9]+$')"
    [ "$WIDTH" -ge 640 ] || fail "a box stands over the auto-hide bar on the second monitor"
done
"$ZENTOR_WINE" taskkill /im "$(basename "$1")" >/dev/null 2>&1
wait_for 20 bar_gone || fail "$1 did not end on WM_CLOSE"
BAR_PID=""
check_bar "$2" 1024 ""
# The second monitor is gone.
stop_display
start_screens 1024x768x24
check_bar "$1" 1024 768
"$ZENTOR_WINE" reg delete "$KEY" /f >/dev/null 2>&1
echo "PASS"
