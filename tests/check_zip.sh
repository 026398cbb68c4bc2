#!/usr/bin/env bash
# Checks that each release zip holds exactly the files the README lists for
# it: the first fenced block after the line "`<zip's name>` holds:".
# Usage: check_zip.sh README.md Zentor-<version>-win32.zip [more zips]
set -u
[ $# -ge 2 ] || { echo "usage: $0 README.md release.zip..."; exit 2; }
readme=$1
shift
failed=0
for zip in "$@"; do
    name=$(basename "$zip")
    listed=$(awk -v heading="\`$name\` holds:" '$0 == heading {found = 1; next}
                  found && /^```/ {if (inside) exit; inside = 1; next}
                  inside {print}' "$readme" | sort)
    held=$(cmake -E tar tf "$zip" | grep -v '/$' | sort) || { echo "FAIL: cannot read $zip"; exit 1; }
    if [ -z "$listed" ]; then
        echo "FAIL: $readme lists no files for $name"
        failed=1
    elif [ "$listed" != "$held" ]; then
        echo "FAIL: $name and the README's list differ (< README only, > zip only):"
        diff <(echo "$listed") <(echo "$held") | grep '^[<>]'
        failed=1
    else
        echo "$name: the $(echo "$held" | wc -l) files the README lists"
    fi
done
exit $failed
