#!/usr/bin/env bash
# A student's first steps, from a fresh copy of this tree with only the
# README: ./run.sh without a display, then the README's install command, then
# a program of their own in C: a C-only CMake project through find_package
# and gcc with pkg-config. Both play a script to the expected log.
#   fresh_clone.sh SOURCE_DIR
# Prints how long ./run.sh took. Exit status 0 when every step worked.
set -euo pipefail
SOURCE="$(cd "$1" && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
CLONE="$WORK/vorkan"
PREFIX="$WORK/kv318"

say() { echo "fresh_clone: $*"; }
fail() { say "FAILED: $*"; exit 1; }

# The tree as a clone holds it: its files under version control and new ones not
# ignored (a build tree, a worktree's own files are not part of it).
mkdir -p "$CLONE"
(cd "$SOURCE" && git ls-files -z --cached --others --exclude-standard |
   xargs -0 -I{} sh -c 'test -e "{}" && printf "%s\0" "{}"' | tar --null -T - -cf -) | tar -C "$CLONE" -xf -

# Later runs take the compiler cache's results, whatever the temporary directory is called.
export CCACHE_BASEDIR="$WORK" CCACHE_NOHASHDIR=1
started=$(date +%s)
(cd "$CLONE" && env -u DISPLAY -u WAYLAND_DISPLAY -u VORKAN_BUILD_DIR ./run.sh >"$WORK/run.log" 2>&1) ||
  { cat "$WORK/run.log"; fail "./run.sh without a display"; }
say "./run.sh took $(( $(date +%s) - started )) s"
[ -f "$CLONE/out/vorkan.png" ] || fail "./run.sh wrote no picture"

cmake --install "$CLONE/build" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
  { cat "$WORK/install.log"; fail "the README's install command right after ./run.sh"; }

SCRIPT="$CLONE/examples/bouncing_ball.scr"
EXPECTED="$CLONE/examples/bouncing_ball.log"
plays_to_the_log() {  # PROGRAM WHAT
  (cd "$WORK" && "$1" --play "$SCRIPT" --log "$WORK/played.log") || fail "$2 ended with status $?"
  cmp -s "$WORK/played.log" "$EXPECTED" || fail "$2 logged something else than examples/bouncing_ball.log"
}

cmake -S "$CLONE/tests/packaging/student_c" -B "$WORK/paint" -DCMAKE_PREFIX_PATH="$PREFIX" \
      -DSOURCE="$CLONE/examples/bouncing_ball.c" -DHEADLESS_TOO=ON >"$WORK/paint.log" 2>&1 &&
  cmake --build "$WORK/paint" >>"$WORK/paint.log" 2>&1 || { cat "$WORK/paint.log"; fail "the C-only CMake project"; }
grep -q "project(paint C)" "$CLONE/tests/packaging/student_c/CMakeLists.txt" || fail "the project is not C alone"
plays_to_the_log "$WORK/paint/paint-headless" "the C-only CMake project's program"

export PKG_CONFIG_PATH="$PREFIX/lib/pkgconfig"
# shellcheck disable=SC2046  # pkg-config's flags are words
gcc "$CLONE/examples/bouncing_ball.c" $(pkg-config --cflags --libs kv318-headless) -o "$WORK/ball" ||
  fail "gcc with pkg-config"
plays_to_the_log "$WORK/ball" "the program built by gcc with pkg-config"
say "a fresh copy runs, installs and builds a student's C program both ways"
