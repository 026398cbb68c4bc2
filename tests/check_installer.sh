#!/usr/bin/env bash
# Checks that the installer carries exactly the files of the release zips,
# byte for byte: both builds' programs and the documents. 7-Zip lists and
# unpacks an NSIS installer without running it, so this holds on machines
# that cannot run the 32-bit installer too.
# Usage: check_installer.sh Zentor-<version>-setup.exe Zentor-<version>-win32.zip ...
set -u
[ $# -ge 2 ] || { echo "usage: $0 setup.exe release.zip..."; exit 2; }
setup=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "path sha256" of every file below folder $1. 7-Zip unpacks a second file
# of the same name as name_1, which counts as name.
contents() {
    (cd "$1" && find . -type f ! -path './$PLUGINSDIR/*' ! -name Uninstall.exe -printf '%P\n' |
        while read -r file; do
            echo "$(sed -E 's/_[0-9]+(\.[^./]*)$/\1/' <<<"$file") $(sha256sum <"$file" | cut -c1-64)"
        done)
}

7z x -aou -o"$work/setup" "$setup" >/dev/null || { echo "FAIL: 7z cannot unpack $setup"; exit 1; }
carried=$(contents "$work/setup" | sort)
zipped=$(for zip in "$@"; do
    rm -rf "$work/zip" && mkdir "$work/zip"
    (cd "$work/zip" && cmake -E tar xf "$zip") || echo "cannot unpack $zip"
    contents "$work/zip"/*/ # without the zip's top folder, as the installer puts the files
done | sort -u)
if [ "$carried" != "$zipped" ]; then
    echo "FAIL: the installer and the zips differ (< installer only, > zips only):"
    diff <(echo "$carried") <(echo "$zipped") | grep '^[<>]'
    exit 1
fi
echo "$(basename "$setup"): the $(echo "$carried" | wc -l) files of $(for z in "$@"; do basename "$z"; done | paste -sd' ')"
