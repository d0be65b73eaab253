#!/usr/bin/env bash
# Every benchmark in one command: builds the Release tree with the benchmarks,
# then reports the frame benchmarks (medians of 5), the whole-process headless
# run beside cairo drawing the same frames of that run (medians of 5, min and
# max as the noise) and, when valgrind is installed, the instructions per scene
# frame of both (exact, unlike wall-clock figures on a busy machine), and
# kv318-grade grading a class of 200 scene programs on 5 scripts (grade_class.sh).
# Usage: bench/run_all.sh [build-dir]   (default: build-release)
# VORKAN_BENCH_WINDOWED=1 adds the windowed program on an X display of its own (CPU share, start-up, memory).
# VORKAN_BENCH_PICTURES=DIR keeps the run's last shown frame, ours and cairo's, as DIR/ours.png and DIR/cairo.png.
# What they need is installed when missing (scripts/install-deps.sh native bench);
# without cairo's development files the cairo comparison is skipped with a message.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build-release}"
SCENE_TICKS=3000

"$ROOT/scripts/install-deps.sh" native bench || echo "(some packages could not be installed; going on without them)"
have_cairo=0
if pkg-config --exists cairo cairo-ft fontconfig freetype2 2>/dev/null; then have_cairo=1; fi
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORKAN_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD" --target bench_frame bench_raster vorkan-headless vorkan-record-frames kv318-grade >/dev/null
if [ "$have_cairo" = 1 ] && ! cmake --build "$BUILD" --target cairo_replay >/dev/null 2>&1; then have_cairo=0; fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
scene_script() { printf 'KV318_MOUSE(0, 0);\nKV318_PERIODIC(%d);\n' "$1" > "$2"; }
median_min_max() {
  sort -g | awk '{v[NR] = $1} END {printf "%.0f (min %.0f, max %.0f)", v[int((NR + 1) / 2)], v[1], v[NR]}'
}

echo "== machine load before: $(uptime | sed 's/.*load average/load average/')"

echo "== scene and title frames (median and spread of 5 repetitions)"
"$BUILD/bench/bench_frame" 2>/dev/null | grep -E "median|stddev"

echo "== whole process: vorkan-headless entering the scene and running $SCENE_TICKS ticks"
"$ROOT/bench/headless_fps.sh" "$BUILD/bin/vorkan-headless" | tee "$WORK/whole.txt"

# The same run again, its every frame's drawing commands written down; the
# frame count divides both times, so both figures are per frame of one run.
scene_script "$SCENE_TICKS" "$WORK/scene.scr"
PICTURES="${VORKAN_BENCH_PICTURES:-$WORK}"
mkdir -p "$PICTURES"
VORKAN_FRAMES="$WORK/frames.txt" "$BUILD/bench/vorkan-record-frames" --seed 1 --play "$WORK/scene.scr" \
  --snapshot "$PICTURES/ours.png" >/dev/null
frames=$(grep -c '^frame$' "$WORK/frames.txt")
whole=$(awk -v n="$frames" '/^run/ {print $3 * 1e6 / n}' "$WORK/whole.txt" | median_min_max)
whole_cpu=$(awk -v n="$frames" '/^run/ {print $(NF - 1) * 1e6 / n}' "$WORK/whole.txt" | median_min_max)
if [ "$have_cairo" = 1 ]; then
  echo "== cairo drawing the same $frames frames (bench/cairo_replay.c, 5 repetitions)"
  # The run ends before its last drawn frame is shown: the snapshot is the frame before.
  "$BUILD/bench/cairo_replay" "$WORK/frames.txt" --repeat 5 --png "$PICTURES/cairo.png" --frame $((frames - 1)) |
    tee "$WORK/cairo.txt"
  cairo=$(awk '/^repetition/ {print $3}' "$WORK/cairo.txt" | median_min_max)
  cairo_cpu=$(awk '/^repetition/ {print $(NF - 3)}' "$WORK/cairo.txt" | median_min_max)
  ratio() { echo "scale=2; ${1%% *} / ${2%% *}" | bc -l; }
  echo "whole process: $whole µs per frame; cairo, same frames: $cairo µs per frame;" \
       "ratio $(ratio "$cairo" "$whole") (cairo's time over ours)"
  echo "CPU time: whole process $whole_cpu µs per frame; cairo, same frames: $cairo_cpu µs per frame;" \
       "ratio $(ratio "$cairo_cpu" "$whole_cpu")"
  # A bound on cairo: filled shapes without the one-pixel outline the platform draws round them.
  "$BUILD/bench/cairo_replay" "$WORK/frames.txt" --repeat 5 --fill-only > "$WORK/fill.txt"
  echo "cairo without outlines round filled shapes (less work than ours):" \
       "$(awk '/^repetition/ {print $3}' "$WORK/fill.txt" | median_min_max) µs per frame," \
       "CPU $(awk '/^repetition/ {print $(NF - 3)}' "$WORK/fill.txt" | median_min_max)"
else
  echo "whole process: $whole µs per frame (CPU $whole_cpu) over $frames frames"
  echo "(cairo comparison skipped: cairo's development files are missing; install libcairo2-dev)"
fi

if command -v valgrind >/dev/null; then
  echo "== instructions per scene frame (callgrind, 300 frames less 0)"
  count() {
    scene_script "$1" "$WORK/s.scr"
    valgrind --tool=callgrind --callgrind-out-file="$WORK/cg.out" \
      "$BUILD/bin/vorkan-headless" --seed 1 --play "$WORK/s.scr" 2>&1 |
      awk '/refs:/ {gsub(",", "", $NF); print $NF}'
  }
  few=$(count 0)
  many=$(count 300)
  echo "whole process: $(( (many - few) / 300 )) instructions per frame (rep-string copies count one per byte)"
  if [ "$have_cairo" = 1 ]; then
    # Only the drawing is counted (draw_until), not the loading; frames of the 0-tick run are subtracted.
    cairo_count() {
      scene_script "$1" "$WORK/s.scr"
      VORKAN_FRAMES="$WORK/f$1.txt" "$BUILD/bench/vorkan-record-frames" --seed 1 --play "$WORK/s.scr" >/dev/null
      valgrind --tool=callgrind --toggle-collect=draw_until --callgrind-out-file="$WORK/cg.out" \
        "$BUILD/bench/cairo_replay" "$WORK/f$1.txt" --repeat 1 2>&1 >/dev/null |
        awk '/refs:/ {gsub(",", "", $NF); print $NF}'
    }
    few=$(cairo_count 0)
    many=$(cairo_count 300)
    added=$(( $(grep -c '^frame$' "$WORK/f300.txt") - $(grep -c '^frame$' "$WORK/f0.txt") ))
    echo "cairo, same frames: $(( (many - few) / added )) instructions per frame"
  fi
fi

echo "== kv318-grade on a class (200 submissions x 5 scripts)"
"$ROOT/bench/grade_class.sh" "$BUILD"

echo "== machine load after: $(uptime | sed 's/.*load average/load average/')"

if [ "${VORKAN_BENCH_WINDOWED:-0}" = 1 ]; then
  echo "== vorkan on an X display of its own (Xvfb)"
  cmake --build "$BUILD" --target vorkan >/dev/null
  "$ROOT/bench/windowed_measure.py" "$BUILD/bin/vorkan"
fi
