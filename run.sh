#!/usr/bin/env bash
# Sets Vorkan up (packages, configure, build) and runs the night-scene program:
# in real windows when there is a display, otherwise on the headless display.
#   ./run.sh --web [--no-serve]   builds the program as a web page into build-web/web/
#                                 and serves it on 127.0.0.1 (--no-serve: only builds)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

if [ "${1:-}" = "--web" ]; then
  shift
  serve=yes
  if [ "${1:-}" = "--no-serve" ]; then serve=""; shift; fi
  "$ROOT/scripts/setup-web.sh" "$ROOT/build-web/deps"
  export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
  (cd "$ROOT" && cmake --preset web >/dev/null && cmake --build --preset web)
  echo "The page is in $ROOT/build-web/web/ (index.html beside its files)."
  [ -n "$serve" ] || exit 0
  port="${VORKAN_WEB_PORT:-8318}"
  echo "Serving it at http://127.0.0.1:$port/ (Ctrl+C stops)."
  exec python3 -m http.server --bind 127.0.0.1 --directory "$ROOT/build-web/web" "$port"
fi
BUILD_DIR="${VORKAN_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh" native
# Only the programs: the test suite is built by ./test.sh.
VORKAN_TARGET=programs "$ROOT/scripts/build.sh" "$BUILD_DIR"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$BUILD_DIR/bin/vorkan" ]; then
  exec "$BUILD_DIR/bin/vorkan" "$@"
fi

OUT="$ROOT/out"
mkdir -p "$OUT"
rm -rf "$OUT/frames"
cd "$OUT"  # the program's script file, KV318.SCR, is read and written here
"$BUILD_DIR/bin/vorkan-headless" --seed 1 --play "$ROOT/examples/scene_tour.scr" \
  --snapshot "$OUT/vorkan.png" --text-snapshot "$OUT/vorkan-text.png" --frames "$OUT/frames" "$@"
echo "No display here, so the program ran without windows: it played examples/scene_tour.scr"
echo "(four title ticks, then every button of the panel with 20 scene ticks between them)."
echo "Its last picture is $OUT/vorkan.png, its text window $OUT/vorkan-text.png,"
echo "and every frame it showed is in $OUT/frames/."
