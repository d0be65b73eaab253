#!/usr/bin/env bash
# Installs the Debian packages that a part of the project needs, when missing:
#   scripts/install-deps.sh GROUP...          install what the groups need
#   scripts/install-deps.sh --list GROUP...   print the groups' packages, install nothing
# Groups:
#   native         build and test on Linux (the compilers, libraries, fonts, Xvfb and tools)
#   windows-build  cross-build the Windows programs with MinGW-w64
#   windows        windows-build, and Wine with what the check under Wine needs
#   web-build      build the page: emscripten, node, hb-subset, cmark-gfm, and a source entry
#                  for the package manager (apt-get source), added when it has none
#   web            web-build, and Chromium and npm for the page check
#   fuzz           clang and its libFuzzer runtime
#   bench          cairo and bc for the benchmarks' comparison
#   ci             everything continuous integration runs: native fuzz windows web
# A package counts as present when it, or an installed package providing it, is
# installed. Installing goes through sudo when not root. On a system without
# dpkg and apt-get it only prints what to install, and ends with status 0.
set -euo pipefail

APT_ETC="${VORKAN_APT_ETC:-/etc/apt}"
SOURCE_ENTRY_NAME=vorkan-web-sources
SUDO=""

say() { echo "install-deps: $*" >&2; }

usage() {
  say "usage: install-deps.sh [--list] GROUP...  (groups: native windows-build windows web-build web fuzz bench ci)"
  exit 2
}

# The packages of group $1, one per line; fails for an unknown group.
group_packages() {
  case "$1" in
    native)
      printf '%s\n' cmake ninja-build g++ pkg-config ccache libgtest-dev libbenchmark-dev \
        libfreetype-dev libpng-dev libsdl2-dev nlohmann-json3-dev fonts-dejavu-core fonts-liberation xfonts-base \
        xvfb xdotool x11-xkb-utils x11-xserver-utils python3-xlib imagemagick ;;
    windows-build) printf '%s\n' cmake ninja-build g++-mingw-w64-x86-64-win32 ;;
    windows)
      group_packages windows-build
      printf '%s\n' wine wine64 fonts-wine xvfb xdotool x11-xkb-utils x11-xserver-utils python3-xlib imagemagick ;;
    web-build) printf '%s\n' cmake ninja-build python3 emscripten nodejs dpkg-dev libharfbuzz-bin cmark-gfm ;;
    web)
      group_packages web-build
      printf '%s\n' chromium npm ;;
    fuzz) printf '%s\n' cmake ninja-build clang libclang-rt-14-dev ;;
    bench) printf '%s\n' pkg-config libcairo2-dev bc ;;
    ci) for g in native fuzz windows web; do group_packages "$g"; done ;;
    *) return 1 ;;
  esac
}

check_groups() {
  local group
  for group in "$@"; do
    group_packages "$group" >/dev/null || { say "unknown group: $group"; usage; }
  done
}

# The groups' packages, each once, in the order first named.
packages_of() {
  local group
  for group in "$@"; do group_packages "$group"; done | awk '!seen[$0]++'
}

# True when one of the groups builds the page (which needs source packages).
wants_source_entry() {
  local group
  for group in "$@"; do
    case "$group" in web-build | web | ci) return 0 ;; esac
  done
  return 1
}

# Every installed package, and every package name an installed one provides.
installed_names() {
  dpkg-query -W -f='${db:Status-Abbrev}|${Package}|${Provides}\n' |
    awk -F'|' '$1 ~ /^ii/ {
      print $2
      n = split($3, provided, ",")
      for (i = 1; i <= n; i++) {
        name = provided[i]
        sub(/^ +/, "", name)
        sub(/[ :].*/, "", name)
        if (name != "") print name
      }
    }'
}

# Of the packages on standard input, those neither installed nor provided.
missing_packages() {
  grep -vxF -f <(installed_names) || true
}

# True when some source entry of the package manager offers source packages.
has_source_entry() {
  grep -rqsE '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' "$APT_ETC/sources.list" "$APT_ETC/sources.list.d/"
}

# Adds deb-src beside every entry that lists only binaries, in a file of its own.
add_source_entry() {
  local entries="" f
  for f in "$APT_ETC"/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    entries+="$(sed -e 's/^Types:.*/Types: deb-src/' "$f")"$'\n\n'
  done
  if [ -n "$entries" ]; then
    say "the package manager has no source entry: adding one in $APT_ETC/sources.list.d/$SOURCE_ENTRY_NAME.sources"
    printf '%s' "$entries" | $SUDO tee "$APT_ETC/sources.list.d/$SOURCE_ENTRY_NAME.sources" >/dev/null
  elif [ -f "$APT_ETC/sources.list" ]; then
    say "the package manager has no source entry: adding one in $APT_ETC/sources.list.d/$SOURCE_ENTRY_NAME.list"
    grep -E '^[[:space:]]*deb[[:space:]]' "$APT_ETC/sources.list" | sed -e 's/^\([[:space:]]*\)deb /\1deb-src /' |
      $SUDO tee "$APT_ETC/sources.list.d/$SOURCE_ENTRY_NAME.list" >/dev/null
  else
    say "the package manager has no entries to add source packages beside; add a deb-src entry by hand"
    return 1
  fi
}

# Sets SUDO for a user other than root; fails when there is no sudo.
choose_sudo() {
  [ "$(id -u)" -eq 0 ] && return 0
  command -v sudo >/dev/null || { say "not root and no sudo: run this as root"; return 1; }
  SUDO=sudo
}

install() {
  local packages missing
  packages="$(packages_of "$@")"
  if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
    # shellcheck disable=SC2086  # one word per package
    say "this is not a Debian-like system. Please install (or your system's equivalents):" $packages
    return 0
  fi
  missing="$(missing_packages <<<"$packages")"
  local add_entry=""
  if wants_source_entry "$@" && ! has_source_entry; then add_entry=yes; fi
  [ -n "$missing$add_entry" ] || return 0
  choose_sudo
  [ -z "$add_entry" ] || add_source_entry
  $SUDO apt-get update -qq
  [ -n "$missing" ] || return 0
  # shellcheck disable=SC2086  # one word per package
  say "installing" $missing
  if grep -qx emscripten <<<"$missing"; then say "(emscripten is large: several hundred MB)"; fi
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
}

main() {
  local list=""
  if [ "${1:-}" = "--list" ]; then list=yes; shift; fi
  [ $# -gt 0 ] || usage
  check_groups "$@"
  if [ -n "$list" ]; then
    packages_of "$@"
  else
    install "$@"
  fi
}

main "$@"
