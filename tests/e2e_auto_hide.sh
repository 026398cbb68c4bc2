#!/usr/bin/env bash
# Auto-hide as the user meets it: the real programs under the X server, the
# pointer moved with xdotool. Another window taking the activation hides the
# bar, the pointer on the 2-pixel strip brings it back, and the pointer
# leaving it hides it again; at the top and at the bottom edge, in both
# builds. Runs inside scripts/test.sh's display and Wine prefix.
# Usage: e2e_auto_hide.sh zentor.exe zentornt3.exe
set -u
. "$(dirname "$0")/../scripts/lib.sh" # wait_for

PROFILE=zentor-e2e-hide
DEADLINE=15 # seconds any one wait may take

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Gone, or ended and waiting to be reaped.
process_gone() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null)
    [ -z "$state" ] || [[ $state == Z* ]]
}

[ -n "${DISPLAY:-}" ] || fail "no DISPLAY"
[ -n "${WINEPREFIX:-}" ] || fail "no WINEPREFIX"
command -v xdotool >/dev/null || fail "xdotool is missing"

# The programs run as copies under names of their own, so that the Wine
# settings below reach them and nothing else.
WORK=$(mktemp -d)
cp "$1" "$WORK/zentor-autohide.exe" && cp "$2" "$WORK/zentornt3-autohide.exe" ||
    fail "cannot copy the programs"

# Wine's unmanaged windows (the test script's choice for speed) are stacked
# by the X server in the order they were raised, so the other window would
# cover the topmost bar's strip; as managed windows they keep Windows'
# z-order, as the user's desktop does. Only the programs this test starts are
# made managed, so even a run that dies before its cleanup leaves the setting
# of every other program as it was.
APP_KEYS=()
for app in zentor-autohide.exe zentornt3-autohide.exe notepad.exe; do
    APP_KEYS+=("HKCU\\Software\\Wine\\AppDefaults\\$app\\X11 Driver")
done

BARS=()   # the bars this script started
OTHERS=() # the other programs it started
cleanup() {
    # A bar that ends on WM_CLOSE takes itself off the shell; only one that
    # does not end so is killed.
    local pid name
    for pid in "${BARS[@]}"; do
        if ! process_gone "$pid"; then
            for name in zentor-autohide.exe zentornt3-autohide.exe; do
                "$ZENTOR_WINE" taskkill /im "$name" >/dev/null 2>&1
            done
            wait_for "$DEADLINE" process_gone "$pid" || kill -9 "$pid" 2>/dev/null
        fi
    done
    for pid in "${OTHERS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${BARS[@]}" "${OTHERS[@]}"; do
        wait "$pid" 2>/dev/null
    done
    "$ZENTOR_WINE" reg delete "HKCU\\Software\\Zentor\\$PROFILE" /f >/dev/null 2>&1
    for key in "${APP_KEYS[@]}"; do
        "$ZENTOR_WINE" reg delete "$key" /f >/dev/null 2>&1
    done
    for app in zentor-autohide.exe zentornt3-autohide.exe; do
        "$ZENTOR_WINE" reg delete "HKCU\\Software\\Wine\\AppDefaults\\$app" /f >/dev/null 2>&1
    done
    rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK" || fail "no work directory"
for key in "${APP_KEYS[@]}"; do
    "$ZENTOR_WINE" reg add "$key" /v Managed /t REG_SZ /d Y /f >/dev/null 2>&1 || fail "cannot set $key"
done

# A stored option block (always on top, memory shown, auto-hide on), so no
# greeting box stands in the way; the edge comes from the command line.
BLOCK=$(printf '%s%0160d' 01000000000000000000000001000000000000000100000000000000 0)
[ ${#BLOCK} -eq 216 ] || fail "option block is ${#BLOCK} hex digits"
"$ZENTOR_WINE" reg add "HKCU\\Software\\Zentor\\$PROFILE" /v User_Vars /t REG_BINARY /d "$BLOCK" /f \
    >/dev/null 2>&1 || fail "could not write the options"

read -r SCREEN_W SCREEN_H < <(xdotool getdisplaygeometry)

TOP=""
WIDTH=""
HEIGHT=""
# Reads the geometry of window $1 into TOP, WIDTH and HEIGHT.
read_geometry() {
    local X="" Y="" WIDTH_="" HEIGHT_="" SCREEN="" WINDOW=""
    eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | sed 's/^\(WIDTH\|HEIGHT\)=/\1_=/')"
    TOP=$Y
    WIDTH=$WIDTH_
    HEIGHT=$HEIGHT_
    [ -n "$TOP" ]
}

# The bar of process $1: its window titled "Zentor" as wide as the screen
# (a box of the program bears the same title).
BAR=""
bar_window() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '^Zentor$' 2>/dev/null); do
        if read_geometry "$id" && [ "$WIDTH" = "$SCREEN_W" ]; then
            BAR=$id
            return 0
        fi
    done
    return 1
}

bar_top_is() {
    read_geometry "$BAR" && [ "$TOP" = "$1" ]
}

NUDGE=0
# The pointer onto the strip; each call moves it by a pixel so the bar sees
# a movement every time.
pointer_on_strip_shows() {
    NUDGE=$((1 - NUDGE))
    xdotool mousemove $((SCREEN_W / 2 + NUDGE)) "$1"
    bar_top_is "$2"
}

notepad_window() {
    xdotool search --onlyvisible --pid "$1" --name 'Notepad' >/dev/null 2>&1
}

# One round: program, edge switch (-b top, +b bottom), the extra height.
round() {
    local name=$1 edge=$2 extra=$3
    echo "== $name $edge"

    "$ZENTOR_WINE" "$WORK/$name" "$PROFILE" "$edge" >>"$WORK/wine.log" 2>&1 &
    local bar_pid=$!
    BARS+=("$bar_pid")
    wait_for "$DEADLINE" bar_window "$bar_pid" || fail "$name $edge: no bar window appeared"
    local M=$((HEIGHT - extra))
    local shown hidden strip
    if [ "$edge" = "+b" ]; then
        shown=$((SCREEN_H - M - extra))
        hidden=$((SCREEN_H - 2))
        strip=$((SCREEN_H - 1))
    else
        shown=0
        hidden=$((2 - M - extra))
        strip=0
    fi
    [ "$M" -gt 0 ] || fail "$name $edge: bar is $HEIGHT high"

    # Another window takes the activation: the bar withdraws to its strip.
    "$ZENTOR_WINE" notepad >>"$WORK/wine.log" 2>&1 &
    local other_pid=$!
    OTHERS+=("$other_pid")
    wait_for "$DEADLINE" notepad_window "$other_pid" || fail "notepad did not come up"
    wait_for "$DEADLINE" bar_top_is "$hidden" || fail "$name $edge: after deactivation top $TOP, wanted $hidden"

    # The pointer on the strip brings it out; leaving it lets it go again.
    for pass in 1 2; do
        wait_for "$DEADLINE" pointer_on_strip_shows "$strip" "$shown" || fail "$name $edge: pointer on the strip, top $TOP, wanted $shown"
        xdotool mousemove $((SCREEN_W / 2)) $((SCREEN_H / 2))
        wait_for "$DEADLINE" bar_top_is "$hidden" || fail "$name $edge: pointer away, top $TOP, wanted $hidden"
    done
    echo "   shown at $shown, hidden at $hidden"

    # WM_CLOSE ends the bar; only one bar can run, so the name finds ours.
    "$ZENTOR_WINE" taskkill /im "$name" >>"$WORK/wine.log" 2>&1
    wait_for "$DEADLINE" process_gone "$bar_pid" || fail "$name $edge: the bar did not end on WM_CLOSE"
    [ -f "$WORK/$PROFILE.zt" ] || fail "$name $edge: data file not saved at the exit"
    rm -f "$WORK/$PROFILE.zt"
    kill "$other_pid" 2>/dev/null
    wait_for "$DEADLINE" process_gone "$other_pid" || fail "notepad did not end"
    wait "$other_pid" "$bar_pid" 2>/dev/null
}

round zentor-autohide.exe -b 5
round zentor-autohide.exe +b 5
round zentornt3-autohide.exe -b 10
round zentornt3-autohide.exe +b 10
echo "PASS"
