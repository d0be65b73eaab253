#!/usr/bin/env bash
# Frames per second of the whole vorkan-headless process playing a script that
# enters the scene and runs 3000 ticks, with the process's CPU time (user and
# system) beside the wall-clock time, which a busy machine stretches.
# Usage: bench/headless_fps.sh [vorkan-headless]
set -euo pipefail
RUNNER="${1:-$(dirname "$0")/../build-release/bin/vorkan-headless}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
printf 'KV318_MOUSE(0, 0);\nKV318_PERIODIC(3000);\n' > "$WORK/scene.scr"
TIMEFORMAT='%R %U %S'
for run in 1 2 3 4 5; do
  read -r seconds user system < <({ time "$RUNNER" --seed 1 --play "$WORK/scene.scr" \
    --snapshot "$WORK/last.png" >/dev/null 2>"$WORK/errors"; } 2>&1) || { cat "$WORK/errors" >&2; exit 1; }
  fps=$(echo "3001 / $seconds" | bc -l)
  printf 'run %d: %.3f s, %.0f frames per second, CPU %.3f s\n' "$run" "$seconds" "$fps" \
    "$(echo "$user + $system" | bc -l)"
done
