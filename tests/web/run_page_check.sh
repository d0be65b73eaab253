#!/usr/bin/env bash
# Checks the built pages in headless Chromium: serves build-web/ on 127.0.0.1,
# installs Chromium and npm (scripts/install-deps.sh web) and playwright-core
# (npm) when missing, and runs page_check.mjs on the scene's page
# (build-web/web/) and, when built (tests/web/run_all.sh builds them), on the
# student's program that waits inside a helper and on the examples' pages
# (build-web/programs/). With the native build (VORKAN_BUILD_DIR, default
# build/) it also compares the played tour and the helper's played script with
# the native runs' pixels.
#   tests/web/run_page_check.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WEB="$ROOT/build-web"
TOOLS="$WEB/page-check"
[ -f "$WEB/web/index.html" ] || { echo "no page in $WEB/web: run ./run.sh --web --no-serve first" >&2; exit 2; }

"$ROOT/scripts/install-deps.sh" web
if [ ! -d "$TOOLS/node_modules/playwright-core" ]; then
  mkdir -p "$TOOLS"
  (cd "$TOOLS" && npm install --silent --no-audit --no-fund playwright-core@1 >/dev/null)
fi

# shellcheck source=serve_lib.sh
source "$ROOT/tests/web/serve_lib.sh"
serve_page "$WEB"
site="http://127.0.0.1:$port"
args=(--scene "$site/web/?seed=1" --scene-dir "$WEB/web")
BUILD_DIR="${VORKAN_BUILD_DIR:-$ROOT/build}"
# The raw RGB bytes of a native run's snapshot: reference NAME PROGRAM OPTIONS...
reference() {
  local name="$1"
  shift
  (cd "$TOOLS" && "$@" --snapshot "$name.png" >/dev/null && convert "$name.png" -depth 8 "rgb:$name.rgb")
  echo "$TOOLS/$name.rgb"
}
if [ -x "$BUILD_DIR/bin/vorkan-headless" ]; then
  args+=(--tour "$(reference tour "$BUILD_DIR/bin/vorkan-headless" --seed 1 --play "$ROOT/examples/scene_tour.scr")")
fi
helper="$BUILD_DIR/tests/examples/waits-in-helper"
if [ -x "$helper" ] && [ -f "$WEB/programs/waits_in_helper/index.html" ]; then
  args+=(--program "$site/programs/waits_in_helper/"
         --program-reference "$(reference helper "$helper" --play "$ROOT/tests/examples/waits_in_helper.scr")")
fi
for example in bouncing_ball catch_the_star; do
  [ -f "$WEB/programs/$example/index.html" ] && args+=(--example "$site/programs/$example/")
done
NODE_PATH="$TOOLS/node_modules" node "$ROOT/tests/web/page_check.mjs" "${args[@]}"
