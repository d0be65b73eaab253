#!/usr/bin/env bash
# Installs what Vorkan needs to build (on Debian and its kin), then configures
# and builds it. Usage: [VORKAN_TARGET='t1 t2'] scripts/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${1:-$ROOT/build}"
shift || true

PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev
          libfreetype-dev libfontconfig-dev fonts-dejavu-core libpng-dev libsdl2-dev
          xvfb xdotool python3-xlib imagemagick)

missing_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

install_packages() {
  if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
    echo "This is not a Debian-like system. Please install: ${PACKAGES[*]} (or your system's equivalents)." >&2
    return 0
  fi
  local missing
  missing="$(missing_packages)"
  [ -z "$missing" ] && return 0
  echo "Installing: $missing"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  # shellcheck disable=SC2086
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
}

install_packages
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
# VORKAN_TARGET names the targets to build (blank-separated); unset: everything.
# shellcheck disable=SC2086
cmake --build "$BUILD_DIR" ${VORKAN_TARGET:+--target $VORKAN_TARGET}
