#!/usr/bin/env bash
# Makes the release files in build/<arch>/release: Zentor-<version>-win32.zip,
# Zentor-<version>-win64.zip and the installer Zentor-<version>-setup.exe,
# which carries both builds (installing NSIS when missing). The build that
# choose_arch picks makes the other one's programs along the way.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages release
choose_arch
build_all --target release
ls -l "$BUILD_DIR"/release/Zentor-*
