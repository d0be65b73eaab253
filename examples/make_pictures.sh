#!/usr/bin/env bash
# Regenerates the README's pictures with vorkan-headless.
# Usage: examples/make_pictures.sh [path/to/vorkan-headless]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUNNER="$(realpath "${1:-$ROOT/build/runner/vorkan-headless}")"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"  # the toolkit's script file name is fixed; keep it out of the tree
"$RUNNER" --seed 1 --ticks 3 --snapshot "$ROOT/docs/title.png"
"$RUNNER" --seed 1 --play "$ROOT/examples/scene_tour.scr" --snapshot "$ROOT/docs/scene.png" \
  --text-snapshot "$ROOT/docs/text-window.png" >/dev/null
echo "wrote docs/title.png, docs/scene.png and docs/text-window.png"
