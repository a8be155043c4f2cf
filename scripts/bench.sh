#!/usr/bin/env bash
# Builds the benchmark in a Release build against Qt 6 (build/bench) and runs it.
#   scripts/bench.sh                      every row
#   scripts/bench.sh --filter ZBWidget    rows whose group, case or Qt counterpart match
#   scripts/bench.sh --runs 51            more runs per side for steadier medians
#   scripts/bench.sh --filter X --side zb one side only, e.g. under
#                                         valgrind --tool=callgrind --toggle-collect='*Bench::Time*'
#   scripts/bench.sh --desktop [--runs 5] interactive resizing on an X11 desktop (Xvfb, openbox, xcompmgr)
#                                         against a QMainWindow: bench/resize_latency.py
# Exits with 3 when a row misses its target by more than the run's noise or a scaling series grows
# faster than linearly (exponent above 1.2).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZB_BUILD_DIR:-$ROOT/build}/bench
JOBS=${ZB_JOBS:-2}

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZB_BUILD_BENCH=ON \
    -DZB_BUILD_TESTS=OFF -DZB_BUILD_EXAMPLES=OFF >/dev/null
if [ "${1:-}" = --desktop ]; then
    shift
    cmake --build "$BUILD" --target zb_resize_app -j "$JOBS"
    exec python3 "$ROOT/bench/resize_latency.py" "$BUILD/bench/zb_resize_app" "$@"
fi
cmake --build "$BUILD" --target zb_bench -j "$JOBS"
exec "$BUILD/bench/zb_bench" "$@"
