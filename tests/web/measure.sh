#!/usr/bin/env bash
# The browser build's figures from one command: a page's file sizes (raw and
# gzipped), then, in headless Chromium, the time to the first frame, the
# frames per second and the program time per frame of the animated program
# (tests/web/measure.mjs, medians of RUNS runs).
#   tests/web/measure.sh [RUNS] [SECONDS]      (build the page first: ./run.sh --web --no-serve)
# VORKAN_PAGE_DIR=DIR measures another page (a program's, build-web/programs/NAME);
# with VORKAN_PAGE_PICTURE=FILE.png it also writes the README's picture of the scene's page.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
PAGE_DIR="${VORKAN_PAGE_DIR:-$ROOT/build-web/web}"
TOOLS="$ROOT/build-web/page-check"
[ -f "$PAGE_DIR/index.html" ] || { echo "no page in $PAGE_DIR: run ./run.sh --web --no-serve first" >&2; exit 2; }
[ -d "$TOOLS/node_modules/playwright-core" ] || { echo "run tests/web/run_page_check.sh once first (it installs playwright-core)" >&2; exit 2; }

program="$(sed -n 's/.*data-program="\([^"]*\)".*/\1/p' "$PAGE_DIR/index.html")"
total=0
for file in "$program.wasm" "$program.js" "$program.data" kv318_page.js index.html; do
  raw=$(stat -c %s "$PAGE_DIR/$file")
  packed=$(gzip -9 -c "$PAGE_DIR/$file" | wc -c)
  total=$((total + packed))
  printf '%-16s %8d bytes, %8d gzipped (%.1f KB)\n' "$file" "$raw" "$packed" "$(python3 -c "print($packed / 1024)")"
done
printf 'the page, gzipped: %.1f KB\n' "$(python3 -c "print($total / 1024)")"

# shellcheck source=serve_lib.sh
source "$ROOT/tests/web/serve_lib.sh"
serve_page "$PAGE_DIR"
NODE_PATH="$TOOLS/node_modules" node "$ROOT/tests/web/measure.mjs" "http://127.0.0.1:$port/" "${1:-5}" "${2:-5}"
if [ -n "${VORKAN_PAGE_PICTURE:-}" ]; then
  NODE_PATH="$TOOLS/node_modules" node "$ROOT/tests/web/page_picture.mjs" "http://127.0.0.1:$port/" "$VORKAN_PAGE_PICTURE"
fi
