#!/usr/bin/env bash
# kv318-grade on a class of 200 scene-sized programs and 5 test scripts: the
# grading's wall time with --jobs 1 and --jobs 2, beside the same 1005 runs
# (200 x 5 and the reference's 5) made plainly, one after another, without the
# grader. The difference is the grader's own cost per run: its scratch folder,
# namespaces and limits, the comparison of log and picture, the report.
# CPU time (user and system, the grader's and its children's) is given beside
# wall time, which a busy machine stretches; per-run overhead is given in both.
# The programs are the scene (vorkan-headless), each submission a link to it,
# so no build is timed: a build costs what the compiler costs.
# Usage: bench/grade_class.sh [build-dir]   (default build-release; needs its
# bin/kv318-grade and bin/vorkan-headless)
# VORKAN_BENCH_SUBMISSIONS=N changes the class's size (default 200).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(realpath "${1:-$ROOT/build-release}")"
GRADER="$BUILD/bin/kv318-grade"
SCENE="$BUILD/bin/vorkan-headless"
SUBMISSIONS="${VORKAN_BENCH_SUBMISSIONS:-200}"
SCRIPTS=5
for program in "$GRADER" "$SCENE"; do
  [ -x "$program" ] || { echo "missing $program (build kv318-grade and vorkan-headless)" >&2; exit 1; }
done

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/tests" "$WORK/class"

# Five tests: enter the scene, then 40 to 120 ticks with a key and a click between.
make_scripts() {
  local n ticks
  for n in $(seq 1 "$SCRIPTS"); do
    ticks=$((20 * n + 20))
    printf '# scene test %d\nKV318_MOUSE(0, 0);\nKV318_PERIODIC(%d);\nKV318_KBD(32);\nKV318_MOUSE(-100, 50);\nKV318_PERIODIC(%d);\n' \
      "$n" "$((ticks / 2))" "$((ticks / 2))" > "$WORK/tests/scene-$n.scr"
  done
}

make_class() {
  local n
  for n in $(seq -w 1 "$SUBMISSIONS"); do ln -s "$SCENE" "$WORK/class/student-$n"; done
}

# "WALL CPU" seconds of a command (its children's CPU included).
timed() {
  local TIMEFORMAT='%R %U %S'
  { time "$@" >/dev/null 2>"$WORK/errors"; } 2>&1 | tail -1 | awk '{printf "%.3f %.3f\n", $1, $2 + $3}'
}

# The runs the grader makes, one after another without it: every script into
# every submission and the reference, with the options the grader gives.
plain_runs() {
  mkdir -p "$WORK/plain"
  cd "$WORK/plain"
  for _ in $(seq 1 $((SUBMISSIONS + 1))); do
    for script in "$WORK"/tests/*.scr; do
      grep -v '^#' "$script" > play.scr
      "$SCENE" --seed 1 --play play.scr --log-unbuffered --log log.txt --snapshot picture.png >/dev/null
    done
  done
}

grade() {
  rm -rf "$WORK/report"
  "$GRADER" --reference "$SCENE" --tests "$WORK/tests" --report "$WORK/report" --jobs "$1" "$WORK"/class/*
}

per_run_ms() { awk -v s="$1" -v n="$2" 'BEGIN {printf "%.1f", s * 1000 / n}'; }

make_scripts
make_class
runs=$(( (SUBMISSIONS + 1) * SCRIPTS ))
echo "== machine: $(nproc) cores; load before: $(uptime | sed 's/.*load average/load average/')"
echo "== $SUBMISSIONS submissions x $SCRIPTS scripts ($runs runs with the reference's)"
read -r plain_wall plain_cpu < <(timed plain_runs)
printf 'plain runs, one after another: %.1f s wall (%s ms a run), CPU %.1f s (%s ms a run)\n' \
  "$plain_wall" "$(per_run_ms "$plain_wall" "$runs")" "$plain_cpu" "$(per_run_ms "$plain_cpu" "$runs")"
for jobs in 1 2; do
  read -r wall cpu < <(timed grade "$jobs") || { cat "$WORK/errors" >&2; exit 1; }
  passed=$(grep -o '"result": *"pass"' "$WORK/report/results.json" | wc -l)
  [ "$passed" = $((SUBMISSIONS * SCRIPTS)) ] || { echo "only $passed runs passed" >&2; cat "$WORK/errors" >&2; exit 1; }
  overhead_cpu=$(awk -v g="$cpu" -v p="$plain_cpu" -v n="$runs" 'BEGIN {printf "%.1f", (g - p) * 1000 / n}')
  printf -- '--jobs %d: %.1f s wall (%s ms a run), CPU %.1f s; overhead a run: %s ms CPU' \
    "$jobs" "$wall" "$(per_run_ms "$wall" "$runs")" "$cpu" "$overhead_cpu"
  if [ "$jobs" = 1 ]; then
    one_wall="$wall"
    echo ", $(awk -v g="$wall" -v p="$plain_wall" -v n="$runs" 'BEGIN {printf "%.1f", (g - p) * 1000 / n}') ms wall"
  else
    echo "; $(awk -v a="$one_wall" -v b="$wall" 'BEGIN {printf "%.2f", a / b}') times as fast as --jobs 1"
  fi
done
echo "== load after: $(uptime | sed 's/.*load average/load average/')"
