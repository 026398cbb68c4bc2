#!/usr/bin/env bash
# Checks that the release zip holds exactly the files the README lists under
# "The zip holds" (the first fenced block after that line).
# Usage: check_zip.sh README.md Zentor-<version>-win32.zip
set -u
[ $# -eq 2 ] || { echo "usage: $0 README.md release.zip"; exit 2; }
listed=$(awk '/^The zip holds/ {found = 1; next}
              found && /^```/ {if (inside) exit; inside = 1; next}
              inside {print}' "$1" | sort)
held=$(cmake -E tar tf "$2" | grep -v '/$' | sort) || { echo "FAIL: cannot read $2"; exit 1; }
[ -n "$listed" ] || { echo "FAIL: no list of the zip's files in $1"; exit 1; }
if [ "$listed" != "$held" ]; then
    echo "FAIL: the zip and the README's list differ (< README only, > zip only):"
    diff <(echo "$listed") <(echo "$held") | grep '^[<>]'
    exit 1
fi
echo "$2: the $(echo "$held" | wc -l) files the README lists"
