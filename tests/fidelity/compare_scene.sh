#!/bin/sh
# Whole-frame agreement with Windows GDI: for each seed, runs the scene with
# vorkan-scene-calls (built with the project, in BUILD/tests), which records
# every frame's drawing calls (frame_recorder.cpp), replays the last whole
# frame's calls through GDI under Wine (gdi_frame.c) and counts the equal
# non-text pixels of the client area (compare_frame.py). Our picture is the
# run's snapshot, the window as last shown: the run ends before it shows the
# frame it drew last, so the snapshot is that last whole frame.
# Usage: tests/fidelity/compare_scene.sh BUILD [SCRIPT] SEED...
#   SCRIPT: a script to play (default: click into the scene, then 60 ticks).
# Needs x86_64-w64-mingw32-gcc, wine, Xvfb (Wine runs on an X display of its own)
# and ImageMagick's convert.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# Wine's screen is a display of its own, so every run draws on the same kind of screen.
if [ -z "${VORKAN_XVFB_DISPLAY:-}" ] || [ "$VORKAN_XVFB_DISPLAY" != "${DISPLAY:-}" ]; then
  exec "$here/../../scripts/with-xvfb.sh" "$0" "$@"
fi
build=$(cd "$1" && pwd)
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
script="$work/scene.scr"
printf 'KV318_MOUSE(0, 0);\nKV318_PERIODIC(60);\n' > "$script"
case "${1:-}" in
  *.scr) script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); shift ;;
esac
x86_64-w64-mingw32-gcc -O2 -o "$work/gdi_frame.exe" "$here/gdi_frame.c" -lgdi32
cd "$work"
for seed in "$@"; do
  VORKAN_FRAMES=frames.txt "$build/tests/vorkan-scene-calls" --seed "$seed" --play "$script" \
    --snapshot ours.png > /dev/null
  convert ours.png ours.ppm
  WINEDEBUG=-all wine ./gdi_frame.exe frames.txt gdi.ppm mask.pgm
  printf 'seed %s: ' "$seed"
  python3 "$here/compare_frame.py" ours.ppm gdi.ppm mask.pgm
done
wineserver -w  # Wine's own processes end before their display does
