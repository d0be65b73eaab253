#!/usr/bin/env bash
# Sets Vorkan up (packages, configure, build) and runs the night-scene program.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD_DIR="${VORKAN_BUILD_DIR:-$ROOT/build}"
VORKAN_TARGET=vorkan-headless "$ROOT/scripts/setup.sh" "$BUILD_DIR"
mkdir -p "$ROOT/out"
SNAPSHOT="$ROOT/out/vorkan.png"
"$BUILD_DIR/runner/vorkan-headless" --ticks 100 --snapshot "$SNAPSHOT" "$@"
echo "Ran the program for 100 animation ticks without a display; its last picture is in $SNAPSHOT"
