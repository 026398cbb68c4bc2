#!/usr/bin/env bash
# Fuzzes the data-file loader, the option-block reader and the command-line
# parser, built natively with clang under libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, starting from the seed files in tests/fuzz/corpus.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]   each target SECONDS long (300);
#                                                targets: menu_file option_block command_line
#   bash scripts/fuzz.sh --corpus                writes the seed files anew with the
#                                                program's own code (under Wine)
#
# New inputs are kept in build/fuzz/corpus, findings in build/fuzz/findings
# (FUZZ_DIR picks another folder than build/fuzz); the script fails on the
# first finding. The fuzz targets are native programs, the same whichever
# Windows build is chosen.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

FUZZ_DIR=${FUZZ_DIR:-$BUILD_ROOT/fuzz}
SEEDS=$ROOT/tests/fuzz/corpus
ensure_packages

if [ "${1:-}" = "--corpus" ]; then
    choose_arch
    build_all --target make_fuzz_corpus
    trap stop_all EXIT
    start_wine "$BUILD_DIR/wineprefix"
    rm -rf "$SEEDS"
    mkdir -p "$SEEDS"
    "$ZENTOR_WINE" "$BUILD_DIR/tests/make_fuzz_corpus.exe" "$("$ZENTOR_WINE" winepath -w "$SEEDS")"
    exit 0
fi

seconds=${1:-300}
shift || true
targets=${*:-menu_file option_block command_line}

cmake -S "$ROOT/tests/fuzz" -B "$FUZZ_DIR" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$FUZZ_DIR" -j "$(nproc)" >/dev/null
mkdir -p "$FUZZ_DIR/findings"
for target in $targets; do
    mkdir -p "$FUZZ_DIR/corpus/$target"
    log=$FUZZ_DIR/$target.log
    echo "== $target, $seconds s (log: $log)"
    if ! "$FUZZ_DIR/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$FUZZ_DIR/findings/$target-" \
        "$FUZZ_DIR/corpus/$target" "$SEEDS/$target" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$target: FINDING, the input is in $FUZZ_DIR/findings"
        exit 1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log"
done
