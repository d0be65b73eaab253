#!/usr/bin/env bash
# Sets Vorkan up (packages, configure, build) and runs the night-scene program:
# in real windows when there is a display, otherwise on the headless display.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD_DIR="${VORKAN_BUILD_DIR:-$ROOT/build}"
# Only the programs: the test suite is built by ./test.sh.
VORKAN_TARGET=programs "$ROOT/scripts/setup.sh" "$BUILD_DIR"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$BUILD_DIR/runner/vorkan" ]; then
  exec "$BUILD_DIR/runner/vorkan" "$@"
fi

OUT="$ROOT/out"
mkdir -p "$OUT"
rm -rf "$OUT/frames"
cd "$OUT"  # the program's script file, KV318.SCR, is read and written here
"$BUILD_DIR/runner/vorkan-headless" --seed 1 --play "$ROOT/examples/scene_tour.scr" \
  --snapshot "$OUT/vorkan.png" --text-snapshot "$OUT/vorkan-text.png" --frames "$OUT/frames" "$@"
echo "No display here, so the program ran without windows: it played examples/scene_tour.scr"
echo "(four title ticks, then every button of the panel with 20 scene ticks between them)."
echo "Its last picture is $OUT/vorkan.png, its text window $OUT/vorkan-text.png,"
echo "and every frame it showed is in $OUT/frames/."
