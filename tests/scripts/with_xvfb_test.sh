#!/usr/bin/env bash
# shellcheck disable=SC2016  # the commands expand their own variables, under the helper
# scripts/with-xvfb.sh and scripts/with_xvfb.py: the display the command gets,
# its exit status, and the server gone afterwards, also after a signal.
# Exit 77 when Xvfb or xdotool is missing.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
HELPER="$ROOT/scripts/with-xvfb.sh"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
failures=0

check() {
  local name="$1" expected="$2" actual="$3"
  if [ "$expected" != "$actual" ]; then
    echo "FAILED: $name: expected [$expected], got [$actual]"
    failures=$((failures + 1))
  fi
}

# Prints the process id of the Xvfb started by process $1.
cat >"$WORK/server_pid.sh" <<'SH'
for stat in /proc/[0-9]*/stat; do
  read -r pid comm _ ppid _ 2>/dev/null <"$stat" || continue
  [ "$comm" = "(Xvfb)" ] && [ "$ppid" = "$1" ] && echo "$pid"
done
SH
# The command run under the helper writes its server's process id to the file $0.
SERVER_PID_COMMAND="sh $WORK/server_pid.sh \"\$PPID\" >\"\$0\""

server_gone() {
  local pid
  pid="$(cat "$1")"
  [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null && echo gone || echo "running ($pid)"
}

# The command's display, environment, standard input and status; the server gone afterwards.
display_and_status() {
  local out
  out="$(echo piped | WAYLAND_DISPLAY=wayland-0 "$HELPER" sh -c "$SERVER_PID_COMMAND"'
    [ "$DISPLAY" = "$VORKAN_XVFB_DISPLAY" ] && echo "${WAYLAND_DISPLAY:-none}"; cat; xdotool getdisplaygeometry
    exit 7' "$WORK/pid")"
  check "exit status passed on" 7 $?
  check "VORKAN_XVFB_DISPLAY, no WAYLAND_DISPLAY, standard input, default size" "none piped 1024 768" \
    "${out//$'\n'/ }"
  check "server stopped when the command ends" gone "$(server_gone "$WORK/pid")"
  check "--size" "800 600" "$("$HELPER" --size 800x600x24 xdotool getdisplaygeometry)"
}

# Side by side, each helper gets a display of its own.
displays_side_by_side() {
  local i
  for i in 1 2 3; do
    "$HELPER" sh -c 'sleep 1; xdotool getdisplaygeometry >/dev/null && echo "$DISPLAY"' >"$WORK/display$i" &
  done
  wait
  check "three servers, three displays" 3 "$(cat "$WORK"/display? | grep -c . | tr -d ' ')"
  check "all different" 3 "$(sort -u "$WORK"/display? | grep -c .)"
}

# SIGTERM to the helper alone: the command gets it too, then the server goes.
terminated() {
  # The trap is set before the process id is written, so a loaded machine cannot signal the command before it.
  "$HELPER" sh -c 'trap "echo got TERM >$0.signal; kill \$!; exit 9" TERM; '"$SERVER_PID_COMMAND"'; sleep 30 & wait' \
    "$WORK/pid" &
  local helper=$!
  wait_for_file "$WORK/pid"
  sleep 0.3
  kill -TERM "$helper"
  wait "$helper"
  check "status after SIGTERM" 143 $?
  check "the command got SIGTERM" "got TERM" "$(cat "$WORK/pid.signal" 2>/dev/null)"
  check "server stopped after SIGTERM" gone "$(server_gone "$WORK/pid")"
}

# Ctrl+C reaches the whole process group: the command ends by it, then the server goes.
# Not when this test was started with Ctrl+C ignored (as a background job of a script, say).
interrupted() {
  local ignored
  ignored="$(awk '/^SigIgn:/ {print $2}' /proc/$$/status)"
  if (( 0x$ignored & 2 )); then
    echo "(Ctrl+C is ignored here: not checked)"
    return
  fi
  rm -f "$WORK/pid"
  set -m
  "$HELPER" sh -c "$SERVER_PID_COMMAND"'; exec sleep 30' "$WORK/pid" &
  local helper=$!
  set +m
  wait_for_file "$WORK/pid"
  local started=$SECONDS
  kill -INT -- "-$helper"
  wait "$helper"
  check "status after Ctrl+C" 130 $?
  check "ended at once" yes "$([ $((SECONDS - started)) -lt 10 ] && echo yes)"
  check "server stopped after Ctrl+C" gone "$(server_gone "$WORK/pid")"
}

wait_for_file() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
}

# A Python script started outside the helper runs again under it, with its arguments.
python_module() {
  cat >"$WORK/probe.py" <<PY
import os, subprocess, sys
sys.path.insert(0, "$ROOT/scripts")
import with_xvfb
print("outside" if not with_xvfb.under_xvfb() else "inside", flush=True)
with_xvfb.run_under_xvfb(size="640x480x24")
geometry = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True).stdout.strip()
print(with_xvfb.under_xvfb(), geometry, sys.argv[1:])
sys.exit(int(sys.argv[1]))
PY
  local out
  out="$(env -u VORKAN_XVFB_DISPLAY python3 "$WORK/probe.py" 4 "two words")"
  check "python exit status" 4 $?
  check "python re-run under the helper" "outside
inside
True 640 480 ['4', 'two words']" "$out"
}

display_and_status
displays_side_by_side
terminated
interrupted
python_module
[ "$failures" -eq 0 ] && echo "with-xvfb: all checks passed"
exit $((failures > 0))
