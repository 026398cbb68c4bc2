#!/usr/bin/env bash
# The installer test on a machine that cannot start 32-bit Linux programs
# (a kernel without 32-bit emulation): it must say so and be skipped, never
# pass. Such a machine is made here for the test alone: in a mount namespace
# of its own, Wine's 32-bit loader is covered by a file the kernel refuses to
# start, as that kernel refuses the loader itself.
# Usage: installer_skip.sh installer_test.exe Zentor-<version>-setup.exe
# (the 64-bit build's installer_test.exe)
set -u
loader32=/usr/lib/wine/wine
# Exit code 77: this test itself is skipped.
[ -e "$loader32" ] || { echo "skipped: no 32-bit Wine loader to hide"; exit 77; }
unshare -m true 2>/dev/null || { echo "skipped: cannot make a mount namespace here"; exit 77; }

refused=$(mktemp)
out=$(mktemp)
trap 'rm -f "$refused" "$out"' EXIT
printf '\x7fELF\x01\x01\x01\x00not a program' >"$refused"
chmod +x "$refused"

unshare -m bash -c 'mount --bind "$1" "$2" && exec "$3" "$4" "$5"' hide "$refused" "$loader32" \
    "$ZENTOR_WINE" "$1" "$2" >"$out" 2>&1
status=$?
cat "$out"
[ $status -eq 0 ] || { echo "FAIL: the installer test ended with $status"; exit 1; }
grep -q '^\[  SKIPPED \]' "$out" && grep -q 'cannot run 32-bit programs' "$out" ||
    { echo "FAIL: the installer test did not say it was skipped, and why"; exit 1; }
grep -q '^\[  PASSED  \] 0 tests' "$out" || { echo "FAIL: a test passed without the installer"; exit 1; }
echo "the installer test skips itself where 32-bit programs cannot start"
