#!/bin/sh
# Smoke test of the windowed program on a virtual X display: both windows
# open with their titles, positions and sizes, and Ctrl+Q, typed into the
# focused graphics window, ends the program with status 0.
# Usage: xvfb_smoke.sh PROGRAM. Exit 77 when Xvfb or xdotool is missing.
set -u
PROGRAM=$1
command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 || exit 77
# Runs itself again on a display of its own, unless it already runs on one.
if [ -z "${VORKAN_XVFB_DISPLAY:-}" ] || [ "$VORKAN_XVFB_DISPLAY" != "${DISPLAY:-}" ]; then
  exec "$(dirname "$0")/../../scripts/with-xvfb.sh" --size 1024x768x24 "$0" "$@"
fi

fail() {
  echo "xvfb smoke: $*" >&2
  kill "$PID" 2>/dev/null
  exit 1
}

# Prints "x y width height" of the program's window with this title, waiting up to 10 s for it.
geometry_of() {
  id=$(timeout 10 xdotool search --sync --all --pid "$PID" --name "^$1\$" | head -n 1)
  [ -n "$id" ] || fail "no window \"$1\""
  eval "$(xdotool getwindowgeometry --shell "$id")"
  echo "$X $Y $WIDTH $HEIGHT"
}

"$PROGRAM" &
PID=$!
[ "$(geometry_of "KV318 Graphics")" = "0 0 595 515" ] || fail "graphics window at $(geometry_of "KV318 Graphics")"
# The text window is 601 x (768 / 3) outside; its client area is what the frame and caption leave.
[ "$(geometry_of "KV318 Text")" = "0 550 593 229" ] || fail "text window at $(geometry_of "KV318 Text")"

graphics=$(xdotool search --all --pid "$PID" --name "^KV318 Graphics\$" | head -n 1)
xdotool windowfocus --sync "$graphics" keydown ctrl key q keyup ctrl
for _ in $(seq 50); do
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$PID" 2>/dev/null && fail "still running after Ctrl+Q"
wait "$PID"
status=$?
[ "$status" -eq 0 ] || fail "ended with status $status"
exit 0
