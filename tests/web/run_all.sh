#!/usr/bin/env bash
# The browser build's checks from one command: builds the scene's page
# (./run.sh --web --no-serve installs what is missing first) and, as a student
# would with --program, the examples bouncing_ball.c and catch_the_star.cpp and
# a program that waits inside a helper as pages; builds the unit tests as
# WebAssembly and runs them under node, then checks the pages in headless
# Chromium (tests/web/run_page_check.sh) against the native runs in
# VORKAN_BUILD_DIR (default build/), whose programs it builds when missing.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$ROOT"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

./run.sh --web --no-serve
for program in examples/bouncing_ball.c examples/catch_the_star.cpp \
               "tests/examples/waits_in_helper.c tests/examples/waits_in_helper.scr"; do
  # shellcheck disable=SC2086 # a program's files, separated by blanks
  scripts/web-page.sh $program >/dev/null
done
echo "== unit tests as WebAssembly under node =="
cmake --build --preset web --target web-unit-tests
ctest --test-dir build-web -L wasm --output-on-failure
echo "== the page in headless Chromium =="
BUILD_DIR="${VORKAN_BUILD_DIR:-$ROOT/build}"
if [ ! -x "$BUILD_DIR/bin/vorkan-headless" ] || [ ! -x "$BUILD_DIR/tests/examples/waits-in-helper" ]; then
  scripts/install-deps.sh native
  VORKAN_TARGET="vorkan-headless waits-in-helper" scripts/build.sh "$BUILD_DIR"
fi
VORKAN_BUILD_DIR="$BUILD_DIR" tests/web/run_page_check.sh
