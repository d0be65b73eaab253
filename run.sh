#!/usr/bin/env bash
# Sets Vorkan up (packages, configure, build) and runs the night-scene program:
# in real windows when there is a display, otherwise on the headless display.
#   ./run.sh --web [--no-serve]   builds the program as a web page into build-web/web/
#                                 and serves it on 127.0.0.1 (--no-serve: only builds)
#   ./run.sh --web [--no-serve] [--title TEXT] [--about TEXT] --program FILE [FILE...]
#                                 builds a program of your own (C or C++, main or
#                                 WinMain; .scr files go beside it for ?play=NAME) as a
#                                 page into build-web/programs/NAME/ and serves that
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

if [ "${1:-}" = "--web" ]; then
  shift
  serve=yes
  page_options=()
  files=()
  while [ $# -gt 0 ]; do
    case "$1" in
      --no-serve) serve="" ;;
      --title | --about) [ $# -ge 2 ] || { echo "run.sh: $1 needs a value" >&2; exit 2; }
                         page_options+=("$1" "$2"); shift ;;
      --program) shift
                 while [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; do files+=("$1"); shift; done
                 [ ${#files[@]} -gt 0 ] || { echo "run.sh: --program needs the program's files" >&2; exit 2; }
                 continue ;;
      *) echo "run.sh: unknown option for --web: $1" >&2; exit 2 ;;
    esac
    shift
  done
  "$ROOT/scripts/setup-web.sh" "$ROOT/build-web/deps"
  export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
  (cd "$ROOT" && cmake --preset web >/dev/null && cmake --build --preset web)
  page="$ROOT/build-web/web"
  if [ ${#files[@]} -gt 0 ]; then
    page="$("$ROOT/scripts/web-page.sh" "${page_options[@]}" "${files[@]}" | tail -n 1)"
  fi
  echo "The page is in $page/ (index.html beside its files)."
  [ -n "$serve" ] || exit 0
  port="${VORKAN_WEB_PORT:-8318}"
  echo "Serving it at http://127.0.0.1:$port/ (Ctrl+C stops)."
  exec python3 -m http.server --bind 127.0.0.1 --directory "$page" "$port"
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
