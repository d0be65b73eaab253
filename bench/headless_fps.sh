#!/usr/bin/env bash
# Frames per second of the whole vorkan-headless process playing a script that
# enters the scene and runs 3000 ticks. Usage: bench/headless_fps.sh [vorkan-headless]
set -euo pipefail
RUNNER="${1:-$(dirname "$0")/../build-release/runner/vorkan-headless}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
printf 'KV318_MOUSE(0, 0);\nKV318_PERIODIC(3000);\n' > "$WORK/scene.scr"
best=""
for run in 1 2 3 4 5; do
  start=$(date +%s.%N)
  "$RUNNER" --seed 1 --play "$WORK/scene.scr" --snapshot "$WORK/last.png" >/dev/null
  end=$(date +%s.%N)
  seconds=$(echo "$end - $start" | bc -l)
  fps=$(echo "3001 / $seconds" | bc -l)
  printf 'run %d: %.3f s, %.0f frames per second\n' "$run" "$seconds" "$fps"
done
