#!/usr/bin/env bash
# Regenerates every checked-in picture: the README's (the night scene, by
# vorkan-headless) and the guide's (docs/guide/, by examples/guide_pictures.c
# and the example programs), building the programs first.
# Usage: examples/make_pictures.sh [BUILD_DIR]   (default: build)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(realpath "${1:-$ROOT/build}")"
cmake --build "$BUILD" --target vorkan-headless guide-pictures-headless bouncing-ball-headless \
  catch-the-star-headless >/dev/null
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"  # the toolkit's script file name is fixed; keep it out of the tree

RUNNER="$BUILD/bin/vorkan-headless"
"$RUNNER" --seed 1 --ticks 3 --snapshot "$ROOT/docs/title.png"
"$RUNNER" --seed 1 --play "$ROOT/examples/scene_tour.scr" --snapshot "$ROOT/docs/scene.png" \
  --text-snapshot "$ROOT/docs/text-window.png" >/dev/null

GUIDE="$ROOT/docs/guide"
mkdir -p "$GUIDE"
letter=a
for picture in coordinates colors pixel circle triangle rectangle oval line text; do
  # One typed letter chooses the picture; the run ends when the program waits for more.
  printf 'KV318_KBD(%d);\n' "'$letter" >choose.scr
  "$BUILD/examples/guide-pictures-headless" --play choose.scr --snapshot "$GUIDE/$picture.png" >/dev/null
  letter="$(echo "$letter" | tr a-y b-z)"
done
"$BUILD/examples/bouncing-ball-headless" --play "$ROOT/examples/bouncing_ball.scr" \
  --snapshot "$GUIDE/bouncing_ball.png" >/dev/null
"$BUILD/examples/catch-the-star-headless" --play "$ROOT/examples/catch_the_star.scr" --ticks 40 \
  --snapshot "$GUIDE/catch_the_star.png" >/dev/null
echo "wrote docs/title.png, docs/scene.png, docs/text-window.png and docs/guide/*.png"
