#!/usr/bin/env bash
# Makes the release files in build/release: Zentor-<version>-win32.zip and
# the installer Zentor-<version>-setup.exe (installing NSIS when missing).
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages release
build_all --target release
ls -l "$BUILD_DIR"/release/Zentor-*
