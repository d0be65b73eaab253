#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 (installing Debian's cross compiler
# when it is missing, through scripts/install-deps.sh windows-build) and packs
# them: build-windows/bin/vorkan.exe, build-windows/examples/*.exe and
# build-windows/kv318-VERSION-windows-x86_64.zip.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

scripts/install-deps.sh windows-build
cmake --workflow --preset windows-mingw
