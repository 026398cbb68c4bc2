#!/usr/bin/env bash
# Builds everything and runs every test under Wine in a virtual display, for
# the build that choose_arch picks and, where this machine runs both, for the
# other one too: both are shipped. Arguments go to ctest.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages release # the tests make and run the installer
choose_arch
trap stop_all EXIT
start_display

# test_build ARCH [ctest arguments]: builds and tests one build in its own
# tree and its own Wine prefix.
test_build() {
    use_arch "$1"
    shift
    echo "== $ZENTOR_ARCH build, in $BUILD_DIR"
    # ZENTOR_BUILD_TARGETS="a b" builds only those targets (for working on a few tests).
    build_all ${ZENTOR_BUILD_TARGETS:+--target $ZENTOR_BUILD_TARGETS}
    start_wine "$BUILD_DIR/wineprefix"
    (cd "$BUILD_DIR" && ctest --output-on-failure "$@")
    stop_wine
}

test_build "$ZENTOR_ARCH" "$@"
if [ -n "$ALSO_ARCH" ]; then
    # The native tests (the fuzz targets) are the same for both builds and
    # have run already.
    test_build "$ALSO_ARCH" -LE native "$@"
fi
