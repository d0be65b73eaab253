#!/usr/bin/env bash
# The Win32 build checked under Wine: builds the Windows programs from this tree,
# builds a student's programs (one with WinMain, one with its own main) through
# find_package(KV318) with MinGW-w64, then runs wine_check.py on vorkan.exe and
# the bouncing-ball example (its own main) on its own X display and Wine prefix.
# Usage: tests/wine/run.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$ROOT"
BUILD="$ROOT/build-windows"

scripts/install-deps.sh windows
scripts/build-windows.sh
cmake -DBUILD_DIR="$BUILD" -DGAME_SOURCE="$ROOT/examples/click_shapes.cpp" \
      -DOWN_MAIN_SOURCE="$ROOT/examples/bouncing_ball.c" \
      -DTOOLCHAIN="$ROOT/cmake/mingw-w64-x86_64.cmake" -DWORK_DIR="$BUILD/find_package_test" \
      -P tests/packaging/find_package_test.cmake
# Bounded: a fresh prefix boots in well under a minute, the check itself takes about half of one.
timeout 300 /usr/bin/python3 tests/wine/wine_check.py "$BUILD/bin/vorkan.exe" \
  --own-main "$BUILD/examples/bouncing-ball.exe"
