#!/usr/bin/env bash
# Auto-hide as the user meets it: the real programs under the X server, the
# pointer moved with xdotool. Another window taking the activation hides the
# bar, the pointer on the 2-pixel strip brings it back, and the pointer
# leaving it hides it again; at the top and at the bottom edge, in both
# builds. Runs inside scripts/test.sh's display and Wine prefix.
# Usage: e2e_auto_hide.sh zentor.exe zentornt3.exe
set -u

ZENTOR=$(realpath "$1")
ZENTORNT3=$(realpath "$2")
PROFILE=zentor-e2e-hide
DEADLINE=15 # seconds any one wait may take

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ -n "${DISPLAY:-}" ] || fail "no DISPLAY"
[ -n "${WINEPREFIX:-}" ] || fail "no WINEPREFIX"
command -v xdotool >/dev/null || fail "xdotool is missing"

WORK=$(mktemp -d)
STARTED=() # the processes this script started; ended on exit
cleanup() {
    for pid in "${STARTED[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${STARTED[@]}"; do
        wait "$pid" 2>/dev/null
    done
    wine reg delete "HKCU\\Software\\Zentor\\$PROFILE" /f >/dev/null 2>&1
    wine reg add "$X11_KEY" /v Managed /t REG_SZ /d "$MANAGED_BEFORE" /f >/dev/null 2>&1
    rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK" || fail "no work directory"

# Wine's unmanaged windows (the test script's choice for speed) are stacked
# by the X server in the order they were raised, so the other window would
# cover the topmost bar's strip; as managed windows they keep Windows'
# z-order, as the user's desktop does.
X11_KEY='HKCU\Software\Wine\X11 Driver'
MANAGED_BEFORE=$(wine reg query "$X11_KEY" /v Managed 2>/dev/null | tr -d '\r' | awk '$1 == "Managed" {print $3}')
MANAGED_BEFORE=${MANAGED_BEFORE:-Y}
wine reg add "$X11_KEY" /v Managed /t REG_SZ /d Y /f >/dev/null 2>&1

# A stored option block (always on top, memory shown, auto-hide on), so no
# greeting box stands in the way; the edge comes from the command line.
BLOCK=$(printf '%s%0160d' 01000000000000000000000001000000000000000100000000000000 0)
[ ${#BLOCK} -eq 216 ] || fail "option block is ${#BLOCK} hex digits"
wine reg add "HKCU\\Software\\Zentor\\$PROFILE" /v User_Vars /t REG_BINARY /d "$BLOCK" /f \
    >/dev/null 2>&1 || fail "could not write the options"

read -r SCREEN_W SCREEN_H < <(xdotool getdisplaygeometry)

# Polls until "$@" succeeds or the deadline passes.
poll() {
    local end=$((SECONDS + DEADLINE))
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}

BAR=""
bar_window() {
    BAR=$(xdotool search --onlyvisible --name '^Zentor$' 2>/dev/null | head -n 1)
    [ -n "$BAR" ]
}

TOP=""
HEIGHT=""
bar_top_is() {
    local X="" Y="" WIDTH="" HEIGHT_="" SCREEN="" WINDOW=""
    eval "$(xdotool getwindowgeometry --shell "$BAR" 2>/dev/null | sed 's/^HEIGHT=/HEIGHT_=/')"
    TOP=$Y
    HEIGHT=$HEIGHT_
    [ "$TOP" = "$1" ]
}

bar_height_known() {
    bar_top_is none
    [ -n "$HEIGHT" ] && [ "$HEIGHT" -gt 0 ]
}

# Gone, or ended and waiting to be reaped.
NUDGE=0
# The pointer onto the strip; each call moves it by a pixel so the bar sees
# a movement every time.
pointer_on_strip_shows() {
    NUDGE=$((1 - NUDGE))
    xdotool mousemove $((SCREEN_W / 2 + NUDGE)) "$1"
    bar_top_is "$2"
}

notepad_window() {
    xdotool search --onlyvisible --name 'Notepad' >/dev/null 2>&1
}

process_gone() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null)
    [ -z "$state" ] || [[ $state == Z* ]]
}

# One round: program, edge switch (-b top, +b bottom), the extra height.
round() {
    local program=$1 edge=$2 extra=$3
    local name
    name=$(basename "$program")
    echo "== $name $edge"

    wine "$program" "$PROFILE" "$edge" >>"$WORK/wine.log" 2>&1 &
    local bar_pid=$!
    STARTED+=("$bar_pid")
    poll bar_window || fail "$name $edge: no bar window appeared"
    poll bar_height_known || fail "$name $edge: cannot read the bar's geometry"
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
    [ "$HEIGHT" -eq $((M + extra)) ] || fail "$name $edge: bar is $HEIGHT high"

    # Another window takes the activation: the bar withdraws to its strip.
    wine notepad >>"$WORK/wine.log" 2>&1 &
    local other_pid=$!
    STARTED+=("$other_pid")
    poll notepad_window || fail "notepad did not come up"
    poll bar_top_is "$hidden" || fail "$name $edge: after deactivation top $TOP, wanted $hidden"

    # The pointer on the strip brings it out; leaving it lets it go again.
    for pass in 1 2; do
        poll pointer_on_strip_shows "$strip" "$shown" || fail "$name $edge: pointer on the strip, top $TOP, wanted $shown"
        xdotool mousemove $((SCREEN_W / 2)) $((SCREEN_H / 2))
        poll bar_top_is "$hidden" || fail "$name $edge: pointer away, top $TOP, wanted $hidden"
    done
    echo "   shown at $shown, hidden at $hidden"

    # WM_CLOSE ends the bar; only one bar can run, so the name finds ours.
    wine taskkill /im "$name" >>"$WORK/wine.log" 2>&1
    poll process_gone "$bar_pid" || fail "$name $edge: the bar did not end on WM_CLOSE"
    [ -f "$WORK/$PROFILE.zt" ] || fail "$name $edge: data file not saved at the exit"
    rm -f "$WORK/$PROFILE.zt"
    kill "$other_pid" 2>/dev/null
    poll process_gone "$other_pid" || fail "notepad did not end"
    wait "$other_pid" "$bar_pid" 2>/dev/null
}

round "$ZENTOR" -b 5
round "$ZENTOR" +b 5
round "$ZENTORNT3" -b 10
round "$ZENTORNT3" +b 10
echo "PASS"
