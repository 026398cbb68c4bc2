#!/usr/bin/env bash
# Builds the bar and makes the screenshots in docs/: it runs zentor.exe on a
# virtual display with a profile of its own, opens its dialogs as a user
# would, and saves each window as a PNG. Each part of the program adds its
# shots in scripts/shots/<name>.sh (sourced in name order), using the
# functions below.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages
choose_arch
build_all --target zentor post_message >/dev/null
trap 'stop_shots; stop_all' EXIT
trap 'exit 130' INT TERM
start_display
start_wine "$BUILD_DIR/shots-prefix"

DOCS=$ROOT/docs
WORK=$BUILD_DIR/shots
PROFILE=shots
BAR_PID=""
mkdir -p "$DOCS"

# The X window of the Wine window titled exactly $1 (the first one).
window_id() {
    xdotool search --name "^$1\$" 2>/dev/null | head -n 1
}

has_window() {
    [ -n "$(window_id "$1")" ]
}

wait_window() {
    wait_for 20 has_window "$1" || { echo "screenshots: no window \"$1\"" >&2; exit 1; }
}

# The options of a first run (always on top, memory shown, auto-hide), stored
# beforehand so no greeting stands in the way: keys pressed to answer it
# could reach the bar's first dialog instead.
DEFAULT_OPTIONS=$(printf '%s%0160d' 01000000000000000000000001000000000000000100000000000000 0)

# Starts the bar in a fresh folder with the data file $1 (copied there when
# given) and the command-line switches after it, and waits for the bar.
start_bar() {
    stop_shots
    rm -rf "$WORK"
    mkdir -p "$WORK"
    [ -z "${1:-}" ] || cp "$1" "$WORK/$PROFILE.zt"
    # The profile's settings as a new user has them (the earlier shots'
    # bars saved theirs).
    "$ZENTOR_WINE" reg delete "HKCU\\Software\\Zentor\\$PROFILE" /f >/dev/null 2>&1 || true
    "$ZENTOR_WINE" reg add "HKCU\\Software\\Zentor\\$PROFILE" /v User_Vars /t REG_BINARY \
        /d "$DEFAULT_OPTIONS" /f >/dev/null 2>&1
    (cd "$WORK" && exec "$ZENTOR_WINE" "$BUILD_DIR/zentor.exe" "$PROFILE" "${@:2}") &
    BAR_PID=$!
    wait_for 20 bar_is_up || { echo "screenshots: the bar did not start" >&2; exit 1; }
}

bar_is_up() {
    "$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0 >/dev/null 2>&1
}

# Posts a command to the bar as its right-click menu would (40004 Edit Menus,
# 40001 Options, 40005 About).
bar_command() {
    "$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x111 "$1"
}

# Saves the window titled $1 as docs/$2 once it has been drawn: when two
# pictures taken a moment apart are the same (a busy machine may take
# seconds to show and paint a dialog). With a geometry $3 (WxH+X+Y) it saves
# that part of the screen instead, for what stands outside the window (an
# open menu).
shoot() {
    wait_window "$1"
    local id shot=$BUILD_DIR/shot.png last=$BUILD_DIR/shot-last.png tries=0
    id=$(window_id "$1")
    # Without an id, import would wait for a click on the screen.
    [ -n "$id" ] || { echo "screenshots: window \"$1\" closed" >&2; exit 1; }
    rm -f "$shot" "$last"
    until [ -e "$last" ] && [ -e "$shot" ] && cmp -s "$shot" "$last"; do
        tries=$((tries + 1))
        [ $tries -le 40 ] || { echo "screenshots: \"$1\" did not settle" >&2; exit 1; }
        if [ -e "$shot" ]; then mv "$shot" "$last"; fi
        sleep 0.5
        if [ -n "${3:-}" ]; then
            import -window root -crop "$3" +repage "$shot" 2>/dev/null || rm -f "$shot"
        else
            import -window "$id" "$shot" 2>/dev/null || rm -f "$shot"
        fi
    done
    mv "$shot" "$DOCS/$2"
    rm -f "$last"
    echo "screenshot: docs/$2"
}

# Presses keys in the window titled $1. A key that closes the window leaves
# the key's release without a window, which xdotool reports as an error.
press() {
    local title=$1
    shift
    xdotool key --window "$(window_id "$title")" "$@" 2>/dev/null || true
}

stop_shots() {
    if [ -n "$BAR_PID" ] && kill -0 "$BAR_PID" 2>/dev/null; then
        "$ZENTOR_WINE" "$BUILD_DIR/tests/post_message.exe" 0x111 40006 >/dev/null 2>&1 || true
        wait_for 10 bash -c "! kill -0 $BAR_PID 2>/dev/null" || kill "$BAR_PID" 2>/dev/null || true
    fi
    BAR_PID=""
}

for shots in "$ROOT"/scripts/shots/*.sh; do
    [ -e "$shots" ] || continue
    . "$shots"
done
