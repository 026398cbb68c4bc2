#!/usr/bin/env bash
# Checks what the two programs take from the system: only the libraries they
# are meant to link, no shell docking or ShellExecuteEx in zentornt3, GUI
# executables of the build's kind (PE32 for i686, PE32+ for x86_64) of at
# most 256 KiB, and the manifest in zentor.exe only.
# Usage: check_imports.sh i686|x86_64 zentor.exe zentornt3.exe
# OBJDUMP names an objdump that reads that kind (the build's own).
set -u
failed=0

fail() {
    echo "FAIL: $*"
    failed=1
}

[ $# -eq 3 ] || { echo "usage: $0 i686|x86_64 zentor.exe zentornt3.exe"; exit 2; }
case $1 in
i686) magic=010b manifest_arch=x86 ;;
x86_64) magic=020b manifest_arch=amd64 ;;
*) echo "unknown build $1"; exit 2 ;;
esac
OBJDUMP=${OBJDUMP:-$1-w64-mingw32-objdump}
shift

# check EXE ALLOWED_DLLS... (names without .dll, lower case)
check() {
    local exe=$1
    shift
    local dump
    if ! dump=$("$OBJDUMP" -p "$exe"); then
        fail "$exe: objdump cannot read it"
        return
    fi
    grep -q "Magic[[:space:]]*$magic" <<<"$dump" || fail "$exe: not a $magic image"
    local subsystem
    subsystem=$(awk '/^Subsystem/ {print $2}' <<<"$dump")
    [ "$subsystem" = "00000002" ] || fail "$exe: subsystem $subsystem, wanted 00000002 (GUI)"
    local size
    size=$(stat -c %s "$exe")
    [ "$size" -le 262144 ] || fail "$exe: $size bytes, more than 256 KiB"
    local dll
    for dll in $(awk '/DLL Name:/ {print tolower($3)}' <<<"$dump"); do
        local allowed=0 name
        for name in "$@"; do
            [ "$dll" = "$name.dll" ] && allowed=1
        done
        [ $allowed -eq 1 ] || fail "$exe imports $dll"
    done
    echo "$exe: $size bytes, imports $(awk '/DLL Name:/ {printf "%s ", $3}' <<<"$dump")"
}

common="user32 gdi32 kernel32 shell32 advapi32 winmm comdlg32 msvcrt"
check "$1" $common ole32
check "$2" $common
for name in SHAppBarMessage ShellExecuteExA GetSysColorBrush; do
    # Import names stand in the last column of the hint/name table.
    if "$OBJDUMP" -p "$2" | awk '{print $NF}' | grep -qx "$name"; then
        fail "$2 imports $name"
    fi
done
# zentor.exe's manifest (Common Controls 6, DPI awareness); NT 3.x reads none.
grep -q 'Microsoft.Windows.Common-Controls' "$1" || fail "$1 carries no manifest"
grep -q "processorArchitecture=\"$manifest_arch\"" "$1" || fail "$1: its manifest names another processor"
! grep -q 'Microsoft.Windows.Common-Controls' "$2" || fail "$2 carries a manifest"
exit $failed
