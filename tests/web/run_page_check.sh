#!/usr/bin/env bash
# Checks the built page in headless Chromium: serves build-web/web/ on
# 127.0.0.1, installs Chromium and npm (scripts/install-deps.sh web) and
# playwright-core (npm) when missing, and runs page_check.mjs against ?seed=1; with the native build (VORKAN_BUILD_DIR,
# default build/) also the played tour against vorkan-headless's pixels.
#   tests/web/run_page_check.sh [PAGE_DIR]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
PAGE_DIR="${1:-$ROOT/build-web/web}"
TOOLS="$ROOT/build-web/page-check"
[ -f "$PAGE_DIR/index.html" ] || { echo "no page in $PAGE_DIR: run ./run.sh --web --no-serve first" >&2; exit 2; }

"$ROOT/scripts/install-deps.sh" web
if [ ! -d "$TOOLS/node_modules/playwright-core" ]; then
  mkdir -p "$TOOLS"
  (cd "$TOOLS" && npm install --silent --no-audit --no-fund playwright-core@1 >/dev/null)
fi

# shellcheck source=serve_lib.sh
source "$ROOT/tests/web/serve_lib.sh"
serve_page "$PAGE_DIR"
reference=""
HEADLESS="${VORKAN_BUILD_DIR:-$ROOT/build}/bin/vorkan-headless"
if [ -x "$HEADLESS" ]; then
  (cd "$TOOLS" && "$HEADLESS" --seed 1 --play "$ROOT/examples/scene_tour.scr" --snapshot tour.png >/dev/null &&
    convert tour.png -depth 8 rgb:tour.rgb)
  reference="$TOOLS/tour.rgb"
fi
NODE_PATH="$TOOLS/node_modules" node "$ROOT/tests/web/page_check.mjs" "http://127.0.0.1:$port/?seed=1" $reference
