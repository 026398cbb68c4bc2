# Shared by the end-to-end scripts that start the bar with a data file of
# their own and drive it from the keyboard. Sourced after the script has set
# zentor (the program), profile and work (a fresh folder).
# Needs DISPLAY and WINEPREFIX (scripts/test.sh sets both).
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh" # wait_for

key="HKCU\\Software\\Zentor\\$profile"
bar_pid=""

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

bar_gone() { ! kill -0 "$bar_pid" 2>/dev/null; }

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

# Stores the profile's options, so that no first-run greeting waits for an
# answer: on top, memory shown, top edge, no auto-hide (the bar stays where
# the keys reach it); the later settings keep their defaults.
store_options() {
    local options=010000000000000000000000010000000000000000000000
    options=$options$(printf '0%.0s' $(seq 1 $((216 - ${#options}))))
    "$ZENTOR_WINE" reg add "$key" /v User_Vars /t REG_BINARY /d "$options" /f >/dev/null 2>&1 ||
        fail "could not store the options"
}

# Starts the bar with the profile in the work folder and waits for it; sets
# bar, and X, Y, WIDTH and HEIGHT of its window. Keys go to the window under
# the pointer (no window manager runs): the pointer then rests on the bar,
# away from its menus.
start_bar() {
    cd "$work"
    "$ZENTOR_WINE" "$zentor" "$profile" >/dev/null 2>&1 &
    bar_pid=$!
    bar_window() { bar=$(xdotool search --name '^Zentor$' 2>/dev/null | head -n 1) && [ -n "$bar" ]; }
    wait_for 30 bar_window || fail "the bar did not appear"
    eval "$(xdotool getwindowgeometry --shell "$bar")"
    xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2))
}
