#!/usr/bin/env bash
# Configures and builds Vorkan (what it needs: scripts/install-deps.sh native).
# Usage: [VORKAN_TARGET='t1 t2'] scripts/build.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${1:-$ROOT/build}"
shift || true

cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
# VORKAN_TARGET names the targets to build (blank-separated); unset: everything.
# shellcheck disable=SC2086
cmake --build "$BUILD_DIR" ${VORKAN_TARGET:+--target $VORKAN_TARGET}
