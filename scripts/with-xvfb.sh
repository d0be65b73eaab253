#!/usr/bin/env bash
# shellcheck disable=SC2317  # the traps call the functions that clean up
# Runs a command on a virtual X display of its own:
#   scripts/with-xvfb.sh [--size WxHxD] COMMAND [ARGS...]     (default size 1024x768x24)
# Xvfb chooses a free display number itself (-displayfd), so servers started
# side by side never race for one, and names it once it accepts connections.
# The command then runs with DISPLAY (and VORKAN_XVFB_DISPLAY, the same value,
# which tells scripts that they already run under this helper) and without
# WAYLAND_DISPLAY. The server is stopped when the command ends, and when this
# script is interrupted or terminated (the signal is passed on to the command).
# Exit status: the command's; 77 when Xvfb is not installed; 1 when it did not start.
set -uo pipefail

SIZE=1024x768x24
START_SECONDS=30
WORK=""
XVFB_PID=""
DISPLAY_NUMBER=""
COMMAND_PID=""

say() { echo "with-xvfb: $*" >&2; }

usage() {
  say "usage: with-xvfb.sh [--size WIDTHxHEIGHTxDEPTH] COMMAND [ARGS...]"
  exit 2
}

stop_server() {
  [ -n "$XVFB_PID" ] || return 0
  kill -TERM "$XVFB_PID" 2>/dev/null
  for _ in $(seq 50); do
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}

clean_up() {
  stop_server
  [ -z "$WORK" ] || rm -rf "$WORK"
}

# A signal to this script: passed on to the command, then the server goes too.
on_signal() {
  local name="$1" number="$2"
  trap - "$name"
  [ -z "$COMMAND_PID" ] || kill -"$name" "$COMMAND_PID" 2>/dev/null
  [ -z "$COMMAND_PID" ] || wait "$COMMAND_PID" 2>/dev/null
  clean_up
  exit $((128 + number))
}

# Starts Xvfb and sets DISPLAY_NUMBER once it accepts connections.
start_server() {
  local number_file="$WORK/display"
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 "$SIZE" -nolisten tcp -noreset 3>"$number_file" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local deadline=$((SECONDS + START_SECONDS)) number=""
  # Xvfb writes the number and a newline; read fails until the newline is there.
  until IFS= read -r number <"$number_file" && [[ $number =~ ^[0-9]+$ ]]; do
    if ! kill -0 "$XVFB_PID" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
      say "Xvfb did not start; its output:"
      cat "$WORK/xvfb.log" >&2
      return 1
    fi
    sleep 0.05
  done
  DISPLAY_NUMBER="$number"
}

main() {
  if [ "${1:-}" = "--size" ]; then
    [[ ${2:-} =~ ^[0-9]+x[0-9]+x[0-9]+$ ]] || usage
    SIZE="$2"
    shift 2
  fi
  [ $# -gt 0 ] || usage
  command -v Xvfb >/dev/null || { say "Xvfb is not installed (Debian: xvfb)"; exit 77; }

  trap clean_up EXIT
  trap 'on_signal INT 2' INT
  trap 'on_signal TERM 15' TERM
  trap 'on_signal HUP 1' HUP
  WORK="$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX")"
  start_server || exit 1
  export DISPLAY=":$DISPLAY_NUMBER" VORKAN_XVFB_DISPLAY=":$DISPLAY_NUMBER"
  unset WAYLAND_DISPLAY

  # In the background, so that a signal reaches the trap at once, yet with the
  # standard input and the Ctrl+C a background command would not have.
  (trap - INT QUIT; exec "$@") <&0 &
  COMMAND_PID=$!
  wait "$COMMAND_PID"
  local status=$?
  COMMAND_PID=""
  exit "$status"
}

main "$@"
