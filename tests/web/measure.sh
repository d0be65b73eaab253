#!/usr/bin/env bash
# The browser build's figures from one command: the page's file sizes (raw and
# gzipped), then, in headless Chromium, the time to the first frame and the
# program time per scene frame (tests/web/measure.mjs, medians of RUNS runs).
#   tests/web/measure.sh [RUNS] [SECONDS]      (build the page first: ./run.sh --web --no-serve)
# With VORKAN_PAGE_PICTURE=FILE.png it also writes the README's picture of the page.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
PAGE_DIR="$ROOT/build-web/web"
TOOLS="$ROOT/build-web/page-check"
[ -f "$PAGE_DIR/index.html" ] || { echo "no page in $PAGE_DIR: run ./run.sh --web --no-serve first" >&2; exit 2; }
[ -d "$TOOLS/node_modules/playwright-core" ] || { echo "run tests/web/run_page_check.sh once first (it installs playwright-core)" >&2; exit 2; }

for file in vorkan.wasm vorkan.js vorkan.data; do
  raw=$(stat -c %s "$PAGE_DIR/$file")
  packed=$(gzip -9 -c "$PAGE_DIR/$file" | wc -c)
  printf '%-12s %8d bytes, %8d gzipped (%.1f KB)\n' "$file" "$raw" "$packed" "$(python3 -c "print($packed / 1024)")"
done

# shellcheck source=serve_lib.sh
source "$ROOT/tests/web/serve_lib.sh"
serve_page "$PAGE_DIR"
NODE_PATH="$TOOLS/node_modules" node "$ROOT/tests/web/measure.mjs" "http://127.0.0.1:$port/" "${1:-5}" "${2:-5}"
if [ -n "${VORKAN_PAGE_PICTURE:-}" ]; then
  NODE_PATH="$TOOLS/node_modules" node "$ROOT/tests/web/page_picture.mjs" "http://127.0.0.1:$port/" "$VORKAN_PAGE_PICTURE"
fi
