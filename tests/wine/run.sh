#!/usr/bin/env bash
# The Win32 build checked under Wine: builds the Windows programs from this tree
# and their ZIP, builds a student's programs (one with WinMain, one with its own
# main) through find_package(KV318) with MinGW-w64, then, from the unpacked ZIP
# alone, a student's C program two ways (a C-only CMake project with the ZIP's
# toolchain file, and README.txt's one compiler command), and runs
# wine_check.py on vorkan.exe, the bouncing-ball example and both ZIP-built
# programs (these three have their own main), and typing on German and French
# keyboards into vorkan.exe, on its own X display and Wine prefix.
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

# The ZIP alone: its toolchain file, its package, its example's source.
ZIP_WORK="$BUILD/zip_student"
rm -rf "$ZIP_WORK"
mkdir -p "$ZIP_WORK"
unzip -q "$BUILD"/kv318-*-windows-x86_64.zip -d "$ZIP_WORK"
KIT="$(echo "$ZIP_WORK"/kv318-*-windows-x86_64)"
cmake -S tests/packaging/student_c -B "$ZIP_WORK/paint" -DSOURCE="$KIT/examples/bouncing_ball.c" \
      -DCMAKE_PREFIX_PATH="$KIT" -DCMAKE_TOOLCHAIN_FILE="$KIT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$ZIP_WORK/paint" >/dev/null
(cd "$KIT" && x86_64-w64-mingw32-gcc examples/bouncing_ball.c -Iinclude/kv318 -Llib -lkv318 -luser32 -lgdi32 \
                -static -lstdc++ -mwindows -o "$ZIP_WORK/ball.exe")

# Bounded: a fresh prefix boots in well under a minute, the checks take about a minute.
timeout 420 /usr/bin/python3 tests/wine/wine_check.py "$BUILD/bin/vorkan.exe" \
  --own-main "$BUILD/examples/bouncing-ball.exe" --own-main "$ZIP_WORK/paint/paint.exe" \
  --own-main "$ZIP_WORK/ball.exe" --layouts
