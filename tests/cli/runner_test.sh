#!/usr/bin/env bash
# vorkan-headless as a user runs it: exit statuses, repeatable runs, pictures and logs.
set -u
RUNNER="$1"
EXAMPLE="${2:-}"
SCRIPTS="${3:-}"
source "$(dirname "${BASH_SOURCE[0]}")/check_lib.sh"

status_is() {  # status_is EXPECTED COMMAND...
  local expected="$1"
  shift
  "$@" >/dev/null 2>"$WORK/stderr"
  [ "$?" -eq "$expected" ]
}

check "a short run exits 0" status_is 0 "$RUNNER" --seed 7 --ticks 5
check "two runs with one seed give the same picture and log" bash -c "
  '$RUNNER' --seed 7 --ticks 5 --logging --log a.log --snapshot a.png &&
  '$RUNNER' --seed 7 --ticks 5 --logging --log b.log --snapshot b.png &&
  cmp -s a.log b.log && cmp -s a.png b.png && [ -s a.log ]"
check "five ticks give five title frames after the start-up picture" bash -c "
  [ \$(grep -c '^red rectangle with bounding box (-300,250) to (300,-250), filled' a.log) -eq 6 ]"
check "an unknown option is one line on stderr and status 2" bash -c "
  '$RUNNER' --bogus >/dev/null 2>err; [ \$? -eq 2 ] && [ \$(wc -l <err) -eq 1 ]"
check "a bad number is status 2" status_is 2 "$RUNNER" --ticks ten
check "a missing value is status 2" status_is 2 "$RUNNER" --seed
check "an unreadable --play file is status 2" status_is 2 "$RUNNER" --play does-not-exist.scr
check "--help exits 0" status_is 0 "$RUNNER" --help
check "--version names the program" bash -c "'$RUNNER' --version | grep -q '^vorkan-headless '"
check "--frames writes one PNG per presented frame" bash -c "
  '$RUNNER' --seed 1 --ticks 3 --frames frames && [ \$(ls frames | grep -c '^frame-.*png$') -ge 3 ]"
check "--log - writes to standard output" bash -c "
  '$RUNNER' --seed 1 --ticks 1 --logging --log - | grep -q '^Clearing\\|^red '"

if [ -n "$SCRIPTS" ]; then
  check "a scripted tour of every button repeats to the byte" bash -c "
    '$RUNNER' --seed 1 --play '$SCRIPTS/scene_tour.scr' --logging --log t1.log --snapshot t1.png &&
    '$RUNNER' --seed 1 --play '$SCRIPTS/scene_tour.scr' --logging --log t2.log --snapshot t2.png &&
    cmp -s t1.log t2.log && cmp -s t1.png t2.png && grep -q '^yellow text at (-285,127), \"Left Kick\"' t1.log"
fi

if [ -n "$EXAMPLE" ]; then
  check "the example program draws what a script clicks, then ends" bash -c "
    '$EXAMPLE' --play '$SCRIPTS/clicks.scr' --log ex.log --snapshot ex.png &&
    [ \$(grep -c '^Circle ' ex.log) -eq 4 ] && grep -q '^Circle 3 at (0,0)' ex.log && [ -s ex.png ]"
fi

finish_checks
