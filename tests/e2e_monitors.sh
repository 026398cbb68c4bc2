#!/usr/bin/env bash
# The bar on the second of two monitors, as on a laptop with a docked screen
# of another size: at the bottom edge of that monitor, as wide as it, with its
# strip reserved there through the shell. Started again after that monitor
# has gone, the bar is on the primary one, and its setting is kept for when
# the monitor comes back. zentornt3 stays on the one screen.
# Runs on an X server of its own with two screens in one Xinerama desktop
# (Wine then reports \\.\DISPLAY1 1024 x 768, the primary one, and
# \\.\DISPLAY2 800 x 600, both at 0,0), in a Wine prefix of its own that
# takes its monitors from Xinerama; the other tests' display is left alone.
# Usage: e2e_monitors.sh zentor.exe zentornt3.exe dock_probe.exe PREFIX_FOLDER
set -u
. "$(dirname "$0")/../scripts/lib.sh" # wait_for

ZENTOR=$1
ZENTORNT3=$2
PROBE=$3
PROFILE=zentor-e2e-monitors
KEY="HKCU\\Software\\Zentor\\$PROFILE"
DEADLINE=20 # seconds any one wait may take
XVFB=""
BAR_PID=""

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

command -v xdotool >/dev/null || fail "xdotool is missing"
export WINEPREFIX=$4
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WORK=$(mktemp -d)

stop_bar() {
    [ -n "$BAR_PID" ] || return 0
    # WM_CLOSE, so the bar saves and takes itself off the shell.
    "$ZENTOR_WINE" taskkill /im "$(basename "$1")" >/dev/null 2>&1
    wait_for "$DEADLINE" bar_gone || kill -9 "$BAR_PID" 2>/dev/null
    wait "$BAR_PID" 2>/dev/null
    BAR_PID=""
}

bar_gone() {
    ! kill -0 "$BAR_PID" 2>/dev/null
}

stop_display() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    if [ -n "$XVFB" ]; then
        kill "$XVFB" 2>/dev/null
        wait "$XVFB" 2>/dev/null
    fi
    XVFB=""
}

cleanup() {
    if [ -n "$BAR_PID" ]; then kill -9 "$BAR_PID" 2>/dev/null; fi
    stop_display
    rm -rf "$WORK"
}
trap cleanup EXIT

# Starts an X server on a free display with the screens given ("1024x768x24
# 800x600x24") and waits until it answers.
start_screens() {
    local n=150 i=0 screens=()
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    for size in "$@"; do
        screens+=(-screen "$i" "$size")
        i=$((i + 1))
    done
    Xvfb ":$n" "${screens[@]}" +xinerama -nolisten tcp >/dev/null 2>&1 &
    XVFB=$!
    export DISPLAY=":$n"
    wait_for "$DEADLINE" xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb :$n does not answer"
    wineserver -p 2>/dev/null
}

# The prefix is made once and kept in the build folder.
start_screens 1024x768x24 800x600x24
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    "$ZENTOR_WINE" wineboot -i >/dev/null 2>&1
    wineserver -w
    wineserver -p 2>/dev/null
fi
for value in UseXRandR Managed; do
    "$ZENTOR_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f >/dev/null 2>&1 ||
        fail "cannot set $value"
done
# Wine reads its monitors when its desktop starts: started again, it takes
# them from Xinerama.
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
wineserver -p

# Stored options (on top, memory shown), so no greeting stands in the way;
# the bar docks at the bottom edge without auto-hide, so it reserves a strip.
BLOCK=$(printf '%s%0160d' 01000000000000000000000001000000000000000000000000000000 0)
"$ZENTOR_WINE" reg add "$KEY" /v User_Vars /t REG_BINARY /d "$BLOCK" /f >/dev/null 2>&1 ||
    fail "cannot store the options"
"$ZENTOR_WINE" reg add "$KEY" /v Monitor /t REG_SZ /d '\\.\DISPLAY2' /f >/dev/null 2>&1 ||
    fail "cannot store the monitor"

X="" Y="" WIDTH="" HEIGHT=""
# The geometry of the bar of process $1 (a box of the program bears the same
# title, but is never as wide as a screen).
bar_geometry() {
    local id g
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '^Zentor$' 2>/dev/null); do
        g=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
        eval "$(sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=\([-0-9]*\)$/\1=\2/p' <<<"$g")"
        [ "${WIDTH:-0}" -ge 640 ] && return 0
    done
    return 1
}

# Starts program $1 with the profile at the bottom edge without auto-hide and
# waits until its bar stands still.
start_bar() {
    (cd "$WORK" && exec "$ZENTOR_WINE" "$1" "$PROFILE" +b -a >/dev/null 2>&1) &
    BAR_PID=$!
    wait_for "$DEADLINE" bar_geometry "$BAR_PID" || fail "$(basename "$1"): no bar appeared"
}

# The strip the shell grants another bar at the bottom of the given rectangle.
granted_bottom() {
    local granted
    granted=$("$ZENTOR_WINE" "$PROBE" bottom "$@" 2>/dev/null | tr -d '\r') || return 1
    echo "${granted##* }"
}

stored_monitor() {
    "$ZENTOR_WINE" reg query "$KEY" /v Monitor 2>/dev/null | tr -d '\r' | awk '$1 == "Monitor" {print $3}'
}

# Both screens: the bar on the second one, at its bottom edge.
start_bar "$ZENTOR"
wait_for "$DEADLINE" bar_geometry "$BAR_PID" && [ "$Y" -eq $((600 - HEIGHT)) ] ||
    fail "on the second monitor the bar stands at $X,$Y, $WIDTH x $HEIGHT; wanted its top at $((600 - HEIGHT))"
[ "$X" -eq 0 ] && [ "$WIDTH" -eq 800 ] || fail "on the second monitor the bar is at x $X, $WIDTH wide; wanted 0 and 800"
bottom=$(granted_bottom 0 0 800 600) || fail "the shell refused the probe"
[ "$bottom" = $((600 - HEIGHT)) ] || fail "another bar at the second monitor's bottom may reach down to $bottom; wanted $((600 - HEIGHT))"
echo "two monitors: the bar at 0,$Y, 800 x $HEIGHT, its strip reserved on the second monitor"
stop_bar "$ZENTOR"
[ "$(stored_monitor)" = '\\.\DISPLAY2' ] || fail "the Monitor value became \"$(stored_monitor)\""

# zentornt3 knows one screen: its (hidden) bar stands on the primary monitor.
start_bar "$ZENTORNT3"
[ "$X" -eq 0 ] && [ "$WIDTH" -eq 1024 ] || fail "zentornt3's bar is at x $X, $WIDTH wide; wanted 0 and 1024"
stop_bar "$ZENTORNT3"
echo "two monitors: zentornt3's bar on the primary monitor, 1024 wide"

# The second monitor is gone: the bar docks on the primary one, and the
# setting waits for the monitor to come back.
stop_display
start_screens 1024x768x24
start_bar "$ZENTOR"
wait_for "$DEADLINE" bar_geometry "$BAR_PID" && [ "$Y" -eq $((768 - HEIGHT)) ] ||
    fail "with one monitor the bar stands at $X,$Y, $WIDTH x $HEIGHT; wanted its top at $((768 - HEIGHT))"
[ "$X" -eq 0 ] && [ "$WIDTH" -eq 1024 ] || fail "with one monitor the bar is at x $X, $WIDTH wide; wanted 0 and 1024"
bottom=$(granted_bottom 0 0 1024 768) || fail "the shell refused the probe"
[ "$bottom" = $((768 - HEIGHT)) ] || fail "another bar at the primary monitor's bottom may reach down to $bottom; wanted $((768 - HEIGHT))"
stop_bar "$ZENTOR"
[ "$(stored_monitor)" = '\\.\DISPLAY2' ] || fail "the Monitor value became \"$(stored_monitor)\""
echo "one monitor: the bar at 0,$Y, 1024 x $HEIGHT, its strip reserved; Monitor still \\\\.\\DISPLAY2"
"$ZENTOR_WINE" reg delete "$KEY" /f >/dev/null 2>&1
echo "PASS"
