#!/usr/bin/env bash
# Sets Vorkan up (packages, configure, build) and runs the whole test suite.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD_DIR="${VORKAN_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh" native
"$ROOT/scripts/build.sh" "$BUILD_DIR" "$@"
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
