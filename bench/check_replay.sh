#!/usr/bin/env bash
# The cairo replay draws the run we draw: records a short scene run with
# vorkan-record-frames (every frame, in the frame recorder's format, which the
# GDI comparison in tests/fidelity reads too), replays it with cairo_replay
# and compares cairo's picture of the last shown frame with ours. Aliased
# edges and glyphs may differ; a lost, shifted or misread command changes far
# more pixels.
# Usage: bench/check_replay.sh VORKAN-RECORD-FRAMES CAIRO_REPLAY
set -euo pipefail
RECORDER="$1"
REPLAY="$2"
TICKS=60
# About 0.7 % differ (edges, glyph shading); no text at all makes 1.4 %, a
# one-pixel shift 4 %.
MAX_DIFFERING_PER_MILLE=12
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
printf 'KV318_MOUSE(0, 0);\nKV318_PERIODIC(%d);\n' "$TICKS" > "$WORK/scene.scr"
VORKAN_FRAMES="$WORK/frames.txt" "$RECORDER" --seed 1 --play "$WORK/scene.scr" --snapshot "$WORK/ours.png" >/dev/null
frames=$(grep -c '^frame$' "$WORK/frames.txt")
if [ "$frames" -le "$TICKS" ]; then
  echo "FAIL: $frames frames recorded for $TICKS ticks" >&2
  exit 1
fi
# The run ends before its last drawn frame is shown: our snapshot is the frame before.
"$REPLAY" "$WORK/frames.txt" --repeat 1 --png "$WORK/cairo.png" --frame $((frames - 1)) >/dev/null
size=$(identify -format '%wx%h' "$WORK/ours.png")
convert "$WORK/cairo.png" -crop "$size+0+0" +repage "$WORK/cairo-client.png"
differing=$(compare -metric AE "$WORK/ours.png" "$WORK/cairo-client.png" null: 2>&1 || true)
total=$(( ${size%x*} * ${size#*x} ))
echo "$differing of $total pixels differ between our frame and cairo's"
if ! [[ "$differing" =~ ^[0-9]+$ ]] || [ $(( differing * 1000 )) -gt $(( total * MAX_DIFFERING_PER_MILLE )) ]; then
  echo "FAIL: cairo's replay does not draw the frame we drew" >&2
  exit 1
fi
