#!/usr/bin/env bash
# Every benchmark in one command: builds the Release tree with the benchmarks,
# then reports the frame benchmarks (medians of 5), the whole-process headless
# run (seconds, frames per second and microseconds per frame, 5 runs) and, when
# valgrind is installed, the instructions per scene frame of that run (exact,
# unlike wall-clock figures on a busy machine).
# Usage: bench/run_all.sh [build-dir]   (default: build-release)
# VORKAN_BENCH_WINDOWED=1 adds the windowed program under Xvfb (CPU share, start-up, memory).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build-release}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORKAN_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD" --target bench_frame bench_raster vorkan-headless >/dev/null

echo "== scene and title frames (median and spread of 5 repetitions)"
"$BUILD/bench/bench_frame" 2>/dev/null | grep -E "median|stddev"

echo "== whole process: vorkan-headless entering the scene and running 3000 ticks"
"$ROOT/bench/headless_fps.sh" "$BUILD/runner/vorkan-headless" |
  awk '{print} /frames per second/ {us = 1e6 / $(NF-3); printf "        %.0f us per frame\n", us}'

if command -v valgrind >/dev/null; then
  echo "== instructions per scene frame (callgrind, 300 frames less 0)"
  WORK="$(mktemp -d)"
  trap 'rm -rf "$WORK"' EXIT
  count() {
    printf 'KV318_MOUSE(0, 0);\nKV318_PERIODIC(%d);\n' "$1" > "$WORK/s.scr"
    valgrind --tool=callgrind --callgrind-out-file="$WORK/cg.out" \
      "$BUILD/runner/vorkan-headless" --seed 1 --play "$WORK/s.scr" 2>&1 |
      awk '/refs:/ {gsub(",", "", $NF); print $NF}'
  }
  few=$(count 0)
  many=$(count 300)
  echo "$(( (many - few) / 300 )) instructions per frame (rep-string copies count one per byte)"
fi

if [ "${VORKAN_BENCH_WINDOWED:-0}" = 1 ]; then
  echo "== vorkan under Xvfb (display VORKAN_BENCH_DISPLAY, default :87)"
  cmake --build "$BUILD" --target vorkan >/dev/null
  "$ROOT/bench/windowed_measure.py" "$BUILD/runner/vorkan"
fi
