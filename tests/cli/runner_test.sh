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

# --check-script: the first line playback cannot read, by file and number, with
# status 2; a script it reads whole (CR LF ends, empty lines) gives status 0.
printf 'KV318_PERIODIC(3);\r\n\nKV318_MOUSE(-5, 7);\nKV318_KBD(-97);\n' >good.scr
check "--check-script passes a script playback reads whole" status_is 0 "$RUNNER" --check-script good.scr
long_line="KV318_PERIODIC($(printf '%0505d' 1));"
while IFS='|' read -r name line; do
  printf 'KV318_PERIODIC(2);\n\n%s\nKV318_KBD(97);\n' "$line" >bad.scr
  check "--check-script names the unreadable line: $name" bash -c "
    '$RUNNER' --check-script bad.scr >out 2>err; [ \$? -eq 2 ] && [ ! -s out ] && [ \$(wc -l <err) -eq 1 ] &&
    grep -qF 'bad.scr:3: ' err && grep -qF \"'\${1:0:40}\" err" _ "$line"
done <<EOF2
a comment|# ticks before the click
a lower-case keyword|kv318_mouse(10, 20);
a key as a character|KV318_KBD('a');
a line of spaces|          
a mouse line with one number|KV318_MOUSE(10);
a line of 512 characters|${long_line}x
EOF2
check "--check-script ends at a line that never ends" bash -c "
  timeout 10 '$RUNNER' --check-script <(cat /dev/zero) 2>err; [ \$? -eq 2 ]"
check "--check-script refuses a directory" status_is 2 "$RUNNER" --check-script .
check "playback itself still ends quietly at the unreadable line" status_is 0 "$RUNNER" --play bad.scr

# --log-unbuffered: the same lines, written where the file lies (nothing beside it).
check "--log-unbuffered writes the same log, in place" bash -c "
  '$RUNNER' --seed 3 --ticks 4 --logging --log buffered.log &&
  echo old >unbuffered.log && ln -s unbuffered.log link.log &&
  '$RUNNER' --seed 3 --ticks 4 --logging --log-unbuffered --log link.log &&
  cmp -s buffered.log unbuffered.log && [ -L link.log ] && [ -z \"\$(ls -A | grep '^\\.')\" ]"

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
  check "a student's program checks a script too" status_is 2 "$EXAMPLE" --check-script bad.scr
fi

finish_checks
