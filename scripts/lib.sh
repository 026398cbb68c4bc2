# Shared by the scripts: choosing the Windows build, installing what is
# missing, building, and starting a virtual display and a private Wine prefix.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Each build has a tree of its own below BUILD_ROOT: i686/ and x86_64/.
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
STARTED_XVFB=""
# The Wine loader of the chosen build (use_arch); ctest gives the tests'
# scripts the one of their build.
ZENTOR_WINE=${ZENTOR_WINE:-wine}

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

# True when the kernel starts 32-bit Linux programs, as Wine's 32-bit loader
# is one: some kernels have 32-bit emulation switched off. The probe is the
# smallest 32-bit program there is (it only exits with 0), written into the
# build folder, since /tmp may forbid running programs.
can_run_32bit() {
    mkdir -p "$BUILD_ROOT"
    local probe=$BUILD_ROOT/exit0-i386
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
}

# The settings of one build: its tree, its Wine loader and its prefix's kind.
# The 64-bit loader is called by its own name: Debian's "wine", "winepath"
# and "wine reg" take the 32-bit loader whenever one is installed.
use_arch() {
    ZENTOR_ARCH=$1
    BUILD_DIR=$BUILD_ROOT/$1
    case $1 in
    i686)
        ZENTOR_WINE=/usr/lib/wine/wine
        WINEARCH=win32
        ;;
    x86_64)
        ZENTOR_WINE=/usr/lib/wine/wine64
        WINEARCH=win64
        ;;
    esac
    export ZENTOR_ARCH ZENTOR_WINE WINEARCH
}

# Picks the build from ZENTOR_ARCH: i686, x86_64, or auto (the default), which
# takes i686 where this machine starts 32-bit programs and x86_64 where it
# cannot. Says in one line which build and why. ALSO_ARCH is the other build,
# which the tests run too where the machine runs both and ZENTOR_ARCH is auto.
choose_arch() {
    local wanted=${ZENTOR_ARCH:-auto}
    ALSO_ARCH=""
    case $wanted in
    i686 | x86_64)
        use_arch "$wanted"
        echo "Build: $wanted, as ZENTOR_ARCH says"
        ;;
    auto)
        if can_run_32bit; then
            use_arch i686
            ALSO_ARCH=x86_64
            echo "Build: i686 (the tests: i686, then x86_64), as this machine starts 32-bit programs"
        else
            use_arch x86_64
            echo "Build: x86_64 under wine64 in a win64 prefix, as this machine cannot start 32-bit Linux programs"
        fi
        ;;
    *)
        echo "ZENTOR_ARCH must be i686, x86_64 or auto, not \"$wanted\"" >&2
        exit 2
        ;;
    esac
}

# Installs the Debian packages that the build and the tests need, once: both
# compilers and both Wine loaders, so either build can be made and run.
# "ensure_packages release" also installs NSIS, which makes the installer,
# and 7-Zip, which lists its files.
ensure_packages() {
    local need=""
    if [ "${1:-}" = release ]; then
        command -v makensis >/dev/null || need="$need nsis"
        command -v 7z >/dev/null || need="$need p7zip-full"
    fi
    command -v cmake >/dev/null || need="$need cmake"
    command -v make >/dev/null || need="$need make"
    command -v i686-w64-mingw32-g++-posix >/dev/null || need="$need g++-mingw-w64-i686 mingw-w64-i686-dev"
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || need="$need g++-mingw-w64-x86-64 mingw-w64-x86-64-dev"
    command -v Xvfb >/dev/null || need="$need xvfb"
    # start_display asks its Xvfb whether it answers.
    command -v xdpyinfo >/dev/null || need="$need x11-utils"
    command -v xdotool >/dev/null || need="$need xdotool"
    # The end-to-end tests' file drop is a small X client built for the host.
    command -v cc >/dev/null || need="$need gcc"
    [ -f /usr/include/X11/Xlib.h ] || need="$need libx11-dev"
    command -v import >/dev/null || need="$need imagemagick"
    [ -f /usr/src/googletest/CMakeLists.txt ] || need="$need googletest"
    # The fuzz targets: clang with libFuzzer and the sanitizers' runtime.
    command -v clang++ >/dev/null || need="$need clang"
    dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || need="$need libclang-rt-14-dev"
    [ -x /usr/lib/wine/wine64 ] || need="$need wine wine64"
    if [ ! -x /usr/lib/wine/wine ] || ! dpkg -s wine32:i386 >/dev/null 2>&1; then
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

# Configures and builds the chosen build's tree; arguments go to the build.
build_all() {
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$ZENTOR_ARCH.cmake" \
        "${CMAKE_ARGS[@]}" >/dev/null
    cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
}
CMAKE_ARGS=()

# How many display numbers start_display tries before it gives up.
DISPLAY_TRIES=5

# True when the Xvfb $2 has said it is ready (it writes its display number to
# the file $1 then) or has ended.
xvfb_settled() {
    [ -s "$1" ] || ! kill -0 "$2" 2>/dev/null
}

# True when the Xvfb $2 started on display :$1 has said it is ready in the file
# $3, still runs, and answers there.
display_is_ours() {
    [ -s "$3" ] && kill -0 "$2" 2>/dev/null && xdpyinfo -display ":$1" >/dev/null 2>&1
}

# Starts Xvfb on a free display number and exports DISPLAY, with X resources of
# its own. A number whose socket file is not in /tmp/.X11-unix may still be
# taken: in a container or chroot that shares this machine's network, another
# X server listens on that number's abstract socket, the new Xvfb ends at
# once, and the tests would run on the other server's display until it ends.
# So a number is taken only once this very Xvfb has said it is ready, still
# runs and answers; otherwise the next number is tried.
start_display() {
    local n=90 tries=0 ready log pid why
    ready=$(mktemp)
    log=$(mktemp)
    while [ $tries -lt $DISPLAY_TRIES ]; do
        while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        : >"$ready"
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -displayfd 3 3>"$ready" >/dev/null 2>"$log" &
        pid=$!
        wait_for 10 xvfb_settled "$ready" "$pid" || true
        if display_is_ours "$n" "$pid" "$ready"; then
            STARTED_XVFB=$pid
            export DISPLAY=":$n"
            export XENVIRONMENT="$ROOT/scripts/virtual-display.xresources"
            rm -f "$ready" "$log"
            return 0
        fi
        why="did not answer within 10 s"
        if ! kill -0 "$pid" 2>/dev/null; then
            why="ended ($(sed -n 's/(EE) *//g; /[Cc]annot/{p;q}' "$log"))"
        fi
        echo "Display :$n is not usable: the Xvfb started there $why" >&2
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        tries=$((tries + 1))
        n=$((n + 1))
    done
    rm -f "$ready" "$log"
    echo "No virtual display: Xvfb did not start on $DISPLAY_TRIES display numbers, up to :$((n - 1))." >&2
    echo "Other X servers may hold them without socket files in /tmp/.X11-unix, as in" >&2
    echo "a container or chroot that shares this machine's network but not its /tmp:" >&2
    echo "end them, or share /tmp/.X11-unix with the machine." >&2
    exit 1
}

# Uses (and on first use makes) the Wine prefix $1, of the chosen build's kind,
# and keeps its wineserver running so every program starts quickly.
start_wine() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Making the Wine prefix $WINEPREFIX ($WINEARCH)"
        "$ZENTOR_WINE" wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p || true
    # Without a window manager on the virtual display, Wine's X11 driver waits
    # up to 2 s for every managed window it unmaps; unmanaged windows skip it.
    # A crashing program ends at once instead of waiting in Wine's debugger.
    "$ZENTOR_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1 || true
    if [ -n "$STARTED_XVFB" ]; then
        "$ZENTOR_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    fi
}

# Ends the prefix's programs and its server (every Wine process of the prefix
# ends with it); nothing of this run is left to the next.
stop_wine() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
}

stop_all() {
    stop_wine
    if [ -n "$STARTED_XVFB" ]; then kill "$STARTED_XVFB" 2>/dev/null || true; fi
}
