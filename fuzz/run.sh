#!/bin/sh
# Builds the script-reader fuzz target in build-fuzz and runs it for SECONDS
# (default 60) on a copy of the seed corpus; findings land in build-fuzz/findings.
set -eu
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

(cd "$root" && cmake --preset fuzz >/dev/null && cmake --build --preset fuzz)

corpus="$build/corpus/script"
mkdir -p "$corpus" "$build/findings"
cp -n "$root/fuzz/corpus/script/"* "$corpus/" 2>/dev/null || true

"$build/fuzz/fuzz_script_reader" "$corpus" \
  -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -dict="$root/fuzz/script.dict" -artifact_prefix="$build/findings/" -print_final_stats=1
