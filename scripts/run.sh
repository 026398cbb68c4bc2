#!/usr/bin/env bash
# Builds Zentor and runs the bar under Wine. Without a display it starts a
# virtual one, answers the first-run greeting, and saves a screenshot of the
# bar as build/bar.png. Arguments are passed to zentor.exe; the data file is
# written to build/run/.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages
choose_arch
build_all --target zentor zentornt3
trap stop_all EXIT
trap 'exit 130' INT TERM
headless=""
if [ -z "${DISPLAY:-}" ]; then
    start_display
    headless=1
fi
start_wine "$BUILD_DIR/run-prefix"
mkdir -p "$BUILD_ROOT/run"
cd "$BUILD_ROOT/run"
"$ZENTOR_WINE" "$BUILD_DIR/zentor.exe" "$@" &
bar=$!

if [ -n "$headless" ]; then
    # Wait for the bar; answer any box that comes first (the greeting).
    for _ in $(seq 1 200); do
        if ! kill -0 "$bar" 2>/dev/null; then break; fi
        width=""
        for w in $(xdotool search --name '^Zentor$' 2>/dev/null); do
            geometry=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: //p')
            if [ "${geometry%x*}" = "1024" ]; then width=1; else xdotool key --window "$w" Return 2>/dev/null || true; fi
        done
        [ -n "$width" ] && break
        sleep 0.1
    done
    sleep 1
    import -window root -crop 1024x40+0+0 "$BUILD_ROOT/bar.png"
    echo "Screenshot of the bar: $BUILD_ROOT/bar.png"
    echo "The bar runs on a virtual display; press Ctrl+C to stop it."
fi
wait "$bar"
