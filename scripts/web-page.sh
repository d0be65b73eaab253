#!/usr/bin/env bash
# Builds a student's C or C++ program as a web page through the KV318 package
# built with emscripten (the web build, installed into build-web/kit first):
#   scripts/web-page.sh [--title TEXT] [--about TEXT] FILE [FILE...]
# Source files (.c, .cc, .cpp, .cxx, and headers) make the program, which may
# start at main or WinMain; script files (.scr) go beside the page, for
# ?play=NAME. The page lands in build-web/programs/NAME/ (NAME from the first
# file's name), ready to be served; the last line printed is that folder.
# ./run.sh --web --program FILE... builds the web build first and calls this.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WEB="$ROOT/build-web"
TOOLCHAIN=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

fail() { echo "web-page.sh: $*" >&2; exit 2; }

title=""
about=""
while [ $# -gt 0 ]; do
  case "$1" in
    --title) [ $# -ge 2 ] || fail "--title needs a value"; title="$2"; shift 2 ;;
    --about) [ $# -ge 2 ] || fail "--about needs a value"; about="$2"; shift 2 ;;
    -*) fail "unknown option $1" ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || fail "name the program's files: scripts/web-page.sh FILE [FILE...]"
[ -f "$WEB/build.ninja" ] || fail "no web build in $WEB: run ./run.sh --web --no-serve first"

sources=()
scripts=()
for file in "$@"; do
  [ -f "$file" ] || fail "no such file: $file"
  case "$file" in
    *.c | *.cc | *.cpp | *.cxx | *.h | *.hh | *.hpp) sources+=("$(realpath "$file")") ;;
    *.scr | *.SCR) scripts+=("$(realpath "$file")") ;;
    *) fail "$file is neither a C or C++ file nor a script (.scr)" ;;
  esac
done
[ ${#sources[@]} -gt 0 ] || fail "no C or C++ source among the files"
first="$(basename "$1")"
name="$(echo "${first%.*}" | tr -c 'A-Za-z0-9_\n-' '_')"
[ -n "$title" ] || title="$name"

cmake --install "$WEB" --prefix "$WEB/kit" >/dev/null
list() { local IFS=';'; echo "$*"; }
cmake -S "$ROOT/hosts/web/program" -B "$WEB/program-builds/$name" -G Ninja --log-level=WARNING \
  -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_FIND_ROOT_PATH="$WEB/kit" -DCMAKE_PREFIX_PATH="$WEB/kit" \
  -DKV318_PROGRAM_NAME="$name" -DKV318_PROGRAM_SOURCES="$(list "${sources[@]}")" \
  -DKV318_PAGE_DIR="$WEB/programs/$name" -DKV318_PAGE_TITLE="$title" -DKV318_PAGE_ABOUT="$about" \
  -DKV318_PAGE_FILES="$(list "${scripts[@]}")" >/dev/null
cmake --build "$WEB/program-builds/$name" >&2
echo "$WEB/programs/$name"
