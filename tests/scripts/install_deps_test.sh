#!/usr/bin/env bash
# scripts/install-deps.sh against a pretend package manager: dpkg-query, apt-get,
# sudo and id are stand-ins on PATH that list what is "installed" and write down
# what would be installed, so nothing on this machine changes.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SCRIPT="$ROOT/scripts/install-deps.sh"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
FAKES="$WORK/fakes"
LOG="$WORK/log"
failures=0

check() {
  local name="$1" expected="$2" actual="$3"
  if [ "$expected" != "$actual" ]; then
    printf 'FAILED: %s\n  expected: %s\n  got:      %s\n' "$name" "$expected" "$actual"
    failures=$((failures + 1))
  fi
}

make_fakes() {
  mkdir -p "$FAKES"
  cat >"$FAKES/dpkg-query" <<'SH'
#!/bin/sh
cat "$FAKE_STATUS"
SH
  cat >"$FAKES/apt-get" <<'SH'
#!/bin/sh
echo "${FAKE_SUDO:+sudo }apt-get $*" >>"$FAKE_LOG"
[ "$1" != install ] || exit "${FAKE_INSTALL_STATUS:-0}"
SH
  cat >"$FAKES/sudo" <<'SH'
#!/bin/sh
FAKE_SUDO=yes exec "$@"
SH
  cat >"$FAKES/id" <<'SH'
#!/bin/sh
echo "$FAKE_UID"
SH
  chmod +x "$FAKES"/*
}

# A directory for PATH: the stand-ins but the ones named, and the few real
# tools the script uses, so that no real package manager can ever be reached.
toolbox() {
  local dir name
  dir="$(mktemp -d "$WORK/path.XXXXXX")"
  cp "$FAKES"/* "$dir/"
  for name in bash awk cat grep sed tee; do ln -s "$(command -v "$name")" "$dir/$name"; done
  for name in "$@"; do rm -f "$dir/$name"; done
  echo "$dir"
}

# Marks the packages read, one a line, as installed, in the format the script asks dpkg-query for.
installed() {
  sed -e 's/.*/ii |&|/'
}

# Runs the script as user FAKE_UID (default root) with the commands of TOOLS
# (default: every stand-in) alone; empties the log first.
run() {
  : >"$LOG"
  FAKE_LOG="$LOG" FAKE_STATUS="$WORK/status" FAKE_UID="${FAKE_UID:-0}" VORKAN_APT_ETC="$WORK/apt" \
    PATH="${TOOLS:-$ALL_FAKES}" "$SCRIPT" "$@"
}

lists() {
  local ci group
  check "native has ccache" yes "$(run --list native | grep -qx ccache && echo yes)"
  ci="$(run --list ci)"
  check "ci names each package once" "" "$(sort <<<"$ci" | uniq -d)"
  for group in native fuzz windows web; do
    check "ci has all of $group" "" "$(run --list "$group" | grep -vxF -f <(echo "$ci"))"
  done
  run native nonsense 2>/dev/null
  check "an unknown group is refused" 2 $?
  check "and nothing is installed" "" "$(cat "$LOG")"
}

nothing_missing() {
  run --list native | installed >"$WORK/status"
  local out
  out="$(run native 2>&1)"
  check "nothing missing: status" 0 $?
  check "nothing missing: no apt-get" "" "$(cat "$LOG")"
  check "nothing missing: silent" "" "$out"
}

# Every package of native but xvfb and ccache; xvfb was removed and left its configuration.
two_missing() {
  { run --list native | grep -vxE 'xvfb|ccache' | installed; echo "rc |xvfb|"; } >"$WORK/status"
  local err
  err="$(run native 2>&1 >/dev/null)"
  check "as root: update, then only the missing ones" "apt-get update -qq
apt-get install -y -qq ccache xvfb" "$(cat "$LOG")"
  check "it says what it installs" yes "$(grep -q 'installing ccache xvfb' <<<"$err" && echo yes)"
  FAKE_UID=1000 run native 2>/dev/null
  check "not root: through sudo" "sudo apt-get update -qq
sudo apt-get install -y -qq ccache xvfb" "$(cat "$LOG")"
  FAKE_UID=1000 TOOLS="$(toolbox sudo)" run native 2>/dev/null
  check "not root and no sudo: fails" 1 $?
  check "not root and no sudo: nothing run" "" "$(cat "$LOG")"
  FAKE_INSTALL_STATUS=100 run native 2>/dev/null
  check "a failed installation fails" 100 $?
}

# Node from another archive provides npm, which then must not be installed beside it.
provided_by_another() {
  mkdir -p "$WORK/apt"
  echo "deb-src http://archive.invalid/debian bookworm main" >"$WORK/apt/sources.list"
  { run --list web | grep -vxE 'npm|nodejs' | installed; echo "ii |nodejs|nodejs-dev, npm (= 9.2.0), nodejs-doc"; } \
    >"$WORK/status"
  run web 2>/dev/null
  check "a provided package counts as installed" "" "$(cat "$LOG")"
  rm -rf "$WORK/apt"
}

not_debian() {
  local err
  err="$(TOOLS="$(toolbox dpkg-query apt-get)" run fuzz 2>&1)"
  check "not Debian: status 0" 0 $?
  check "not Debian: names the packages" yes "$(grep -q 'clang libclang-rt-14-dev' <<<"$err" && echo yes)"
  check "not Debian: nothing run" "" "$(cat "$LOG")"
}

# The page's build needs source packages: an entry for them beside the binary one.
source_entry() {
  run --list web-build | installed >"$WORK/status"
  mkdir -p "$WORK/apt/sources.list.d"
  printf 'Types: deb\nURIs: http://archive.invalid/debian\nSuites: bookworm\nComponents: main\n' \
    >"$WORK/apt/sources.list.d/debian.sources"
  run native 2>/dev/null
  check "native needs no source entry" no "$([ -e "$WORK/apt/sources.list.d/vorkan-web-sources.sources" ] && echo yes || echo no)"
  run web-build 2>/dev/null
  check "deb822: the entry added" "Types: deb-src
URIs: http://archive.invalid/debian
Suites: bookworm
Components: main" "$(cat "$WORK/apt/sources.list.d/vorkan-web-sources.sources" 2>/dev/null)"
  check "deb822: and the sources read" "apt-get update -qq" "$(cat "$LOG")"
  run web-build 2>/dev/null
  check "an entry is added once" "" "$(cat "$LOG")"

  rm -rf "$WORK/apt" && mkdir -p "$WORK/apt/sources.list.d"
  printf '# a comment\ndeb http://archive.invalid/debian bookworm main\n' >"$WORK/apt/sources.list"
  run web-build 2>/dev/null
  check "one-line entries: the entry added" "deb-src http://archive.invalid/debian bookworm main" \
    "$(cat "$WORK/apt/sources.list.d/vorkan-web-sources.list" 2>/dev/null)"
  rm -rf "$WORK/apt"
}

make_fakes
ALL_FAKES="$(toolbox)"
lists
nothing_missing
two_missing
provided_by_another
not_debian
source_entry
[ "$failures" -eq 0 ] && echo "install-deps: all checks passed"
exit $((failures > 0))
