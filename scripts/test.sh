#!/usr/bin/env bash
# Builds everything and runs every test under Wine in a virtual display.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages release # the tests make and run the installer
# ZENTOR_BUILD_TARGETS="a b" builds only those targets (for working on a few tests).
build_all ${ZENTOR_BUILD_TARGETS:+--target $ZENTOR_BUILD_TARGETS}
trap stop_all EXIT
start_display
start_wine "$BUILD_DIR/wineprefix"
cd "$BUILD_DIR"
ctest --output-on-failure "$@"
