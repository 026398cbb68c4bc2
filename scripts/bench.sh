#!/usr/bin/env bash
# Builds the programs and the benchmarks and runs the benchmarks under Wine in
# a virtual display: start-up and exit, data file, executable size, the
# status refresh soak, the menu editor, a day at the bar and opening a folder
# menu. Prints every figure with its goal
# and exits nonzero when a goal is missed. ZENTOR_ARCH picks the build, as
# for the tests; its tree is build-bench/<arch> (BUILD_ROOT picks another
# folder than build-bench). BENCH_ONLY names the benchmarks to run (all when
# unset), for example BENCH_ONLY="startup_bench editor_bench".
set -euo pipefail
BUILD_ROOT=${BUILD_ROOT:-$(cd "$(dirname "$0")/.." && pwd)/build-bench}
. "$(dirname "$0")/lib.sh"

SIZE_LIMIT=$((256 * 1024))

ensure_packages
choose_arch
# The benchmarks need none of the tests; leaving them out keeps a test in the
# making from stopping the build.
CMAKE_ARGS=(-DZENTOR_TESTS=OFF)
build_all --target benchmarks >/dev/null
trap stop_all EXIT
trap 'exit 130' INT TERM
start_display
start_wine "$BUILD_DIR/bench-prefix"

failed=0
run_bench() {
    case " ${BENCH_ONLY:-$1} " in *" $1 "*) ;; *) return 0 ;; esac
    echo
    local rc=0
    "$ZENTOR_WINE" "$BUILD_DIR/bench/$1.exe" "${@:2}" || rc=$?
    if [ "$rc" -eq 1 ]; then
        failed=1
    elif [ "$rc" -ne 0 ]; then
        echo "$1: could not run (exit code $rc)"
        failed=1
    fi
}

[ -n "${BENCH_ONLY:-}" ] || echo "size:"
for exe in zentor zentornt3; do
    [ -z "${BENCH_ONLY:-}" ] || break
    size=$(stat -c %s "$BUILD_DIR/$exe.exe")
    mark=""
    [ "$size" -le "$SIZE_LIMIT" ] || { mark="  MISSED"; failed=1; }
    awk -v n="$exe" -v s="$size" -v l="$SIZE_LIMIT" -v m="$mark" 'BEGIN {
        printf "size: %s.exe %d bytes (%.1f KiB), ratio %.2f (goal <= 1.00 of 256 KiB)%s\n",
               n, s, s / 1024, s / l, m }'
done

run_bench startup_bench "${BENCH_ROUNDS:-15}"
run_bench data_file_bench "${BENCH_FILE_ROUNDS:-8}"
run_bench status_soak_bench "${BENCH_REFRESHES:-100000}"
run_bench editor_bench "${BENCH_EDITOR_ROUNDS:-21}"
run_bench icons_bench "${BENCH_ICON_ROUNDS:-15}"
run_bench day_soak_bench "${BENCH_DAY_PERCENT:-100}"
run_bench folder_menu_bench "${BENCH_FOLDER_ROUNDS:-21}"

echo
if [ "$failed" -ne 0 ]; then
    echo "bench: a goal was missed"
    exit 1
fi
echo "bench: every goal met"
