# Shared by run.sh, test.sh and bench.sh: installing what is missing, building,
# and starting a virtual display and a private Wine prefix.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
STARTED_XVFB=""

# Polls "$@" every 0.1 s until it succeeds or $1 seconds pass.
wait_for() {
    local deadline=$1
    shift
    local end=$((SECONDS + deadline))
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that the build and the tests need, once.
# "ensure_packages release" also installs NSIS, which makes the installer.
ensure_packages() {
    local need=""
    if [ "${1:-}" = release ]; then command -v makensis >/dev/null || need="$need nsis"; fi
    command -v cmake >/dev/null || need="$need cmake"
    command -v make >/dev/null || need="$need make"
    command -v i686-w64-mingw32-g++-posix >/dev/null || need="$need g++-mingw-w64-i686 mingw-w64-i686-dev"
    command -v Xvfb >/dev/null || need="$need xvfb"
    command -v xdotool >/dev/null || need="$need xdotool"
    # The end-to-end tests' file drop is a small X client built for the host.
    command -v cc >/dev/null || need="$need gcc"
    [ -f /usr/include/X11/Xlib.h ] || need="$need libx11-dev"
    command -v import >/dev/null || need="$need imagemagick"
    [ -f /usr/src/googletest/CMakeLists.txt ] || need="$need googletest"
    # The fuzz targets: clang with libFuzzer and the sanitizers' runtime.
    command -v clang++ >/dev/null || need="$need clang"
    dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || need="$need libclang-rt-14-dev"
    if ! command -v wine >/dev/null || ! dpkg -s wine32:i386 >/dev/null 2>&1; then
        need="$need wine wine32:i386"
    fi
    if [ -n "$need" ]; then
        echo "Installing:$need"
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            as_root dpkg --add-architecture i386
        fi
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $need
    fi
}

build_all() {
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
}

# Starts Xvfb on a free display number and exports DISPLAY.
start_display() {
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    STARTED_XVFB=$!
    export DISPLAY=":$n"
    local i=0
    while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
}

# Uses (and on first use makes) the Wine prefix $1 and keeps its wineserver
# running so every program starts quickly.
start_wine() {
    export WINEPREFIX="$1"
    export WINEARCH=win32
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Making the Wine prefix $WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p || true
    # Without a window manager on the virtual display, Wine's X11 driver waits
    # up to 2 s for every managed window it unmaps; unmanaged windows skip it.
    # A crashing program ends at once instead of waiting in Wine's debugger.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1 || true
    if [ -n "$STARTED_XVFB" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    fi
}

stop_all() {
    # Every Wine process of the prefix ends with its server, before the
    # display goes; nothing of this run is left to the next.
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "$STARTED_XVFB" ]; then kill "$STARTED_XVFB" 2>/dev/null || true; fi
}
