#!/usr/bin/env bash
# The browser build's checks from one command: builds the page (./run.sh --web
# --no-serve installs what is missing first), builds the unit tests as
# WebAssembly and runs them under node, then checks the page in headless
# Chromium (tests/web/run_page_check.sh) against the native vorkan-headless
# in VORKAN_BUILD_DIR (default build/), which it builds when it is missing.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$ROOT"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

./run.sh --web --no-serve
echo "== unit tests as WebAssembly under node =="
cmake --build --preset web --target web-unit-tests
ctest --test-dir build-web -L wasm --output-on-failure
echo "== the page in headless Chromium =="
BUILD_DIR="${VORKAN_BUILD_DIR:-$ROOT/build}"
if [ ! -x "$BUILD_DIR/bin/vorkan-headless" ]; then
  scripts/install-deps.sh native
  VORKAN_TARGET=vorkan-headless scripts/build.sh "$BUILD_DIR"
fi
VORKAN_BUILD_DIR="$BUILD_DIR" tests/web/run_page_check.sh
