#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 (installing Debian's cross compiler
# when it is missing) and packs them: build-windows/bin/vorkan.exe,
# build-windows/examples/*.exe and build-windows/kv318-VERSION-windows-x86_64.zip.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

COMPILER=g++-mingw-w64-x86-64-win32
if command -v dpkg-query >/dev/null && command -v apt-get >/dev/null &&
   ! dpkg-query -W -f='${Status}' "$COMPILER" 2>/dev/null | grep -q "install ok installed"; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$COMPILER"
fi
cmake --workflow --preset windows-mingw
