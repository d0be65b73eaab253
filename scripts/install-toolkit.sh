#!/usr/bin/env bash
# Installs the KV318 toolkit alone (headers, libraries, the CMake package and
# the pkg-config modules), for a student who builds programs of their own:
#   scripts/install-toolkit.sh [PREFIX]       (default: ~/kv318)
# Installs the packages the build needs when they are missing, configures
# build/ if needed and builds only what installing the toolkit takes (not the
# test suite, not the night scene).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PREFIX="${1:-$HOME/kv318}"
BUILD_DIR="${VORKAN_BUILD_DIR:-$ROOT/build}"

"$ROOT/scripts/install-deps.sh" native
VORKAN_TARGET=toolkit-package "$ROOT/scripts/build.sh" "$BUILD_DIR"
cmake --install "$BUILD_DIR" --component toolkit --prefix "$PREFIX" >/dev/null
echo "KV318 is installed in $PREFIX: with CMake, -DCMAKE_PREFIX_PATH=$PREFIX;"
echo "with pkg-config, PKG_CONFIG_PATH=$PREFIX/lib/pkgconfig (modules kv318 and kv318-headless)."
