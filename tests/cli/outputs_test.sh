#!/usr/bin/env bash
# vorkan-headless's outputs and refusals: a failed write never harms what was
# at its path and always says why with a non-zero status; options that cannot
# work are refused with one line and status 2; a script line that never ends
# ends playback instead of hanging the run.
set -u
RUNNER="$1"
source "$(dirname "${BASH_SOURCE[0]}")/check_lib.sh"

# fails_with STATUS WORD COMMAND...: the command ends with STATUS and one line on stderr naming WORD.
# (Its standard output is the caller's, which some cases make a full or closed one.)
fails_with() {
  local expected="$1" word="$2"
  shift 2
  timeout 10 "$@" 2>err
  local status=$?
  [ "$status" -eq "$expected" ] && [ "$(wc -l <err)" -eq 1 ] && grep -q -- "$word" err ||
    { echo "  status $status, stderr: $(head -c 300 err)" >&2; return 1; }
}

# Writes beyond 8 KiB fail (EFBIG) for the command, as on a full disk.
small_disk() { (trap '' XFSZ; ulimit -f 8; "$@"); }

printf 'old picture\n' >old.png
printf 'old log\n' >old.log
ln -s /dev/full full.png
check "a snapshot that cannot be written whole leaves the old file as it was" bash -c "
  $(declare -f fails_with small_disk); small_disk fails_with 1 'old.png: File too large' '$RUNNER' --seed 1 --ticks 2 --snapshot old.png &&
  [ \"\$(cat old.png)\" = 'old picture' ] && [ -z \"\$(ls -A | grep '^\\.old')\" ]"
check "a log that cannot be written whole leaves the old file as it was" bash -c "
  $(declare -f fails_with small_disk); small_disk fails_with 1 'old.log: File too large' '$RUNNER' --seed 1 --ticks 100 --logging --log old.log &&
  [ \"\$(cat old.log)\" = 'old log' ]"
check "a failed snapshot through a link to a device keeps the link" bash -c "
  $(declare -f fails_with); fails_with 1 'No space left' '$RUNNER' --seed 1 --ticks 2 --snapshot full.png && [ -L full.png ]"
check "a snapshot replaces a regular file whole" bash -c "
  '$RUNNER' --seed 1 --ticks 2 --snapshot old.png 2>/dev/null && head -c 4 old.png | grep -q PNG"

for sink in "--log /dev/full" "--log - >/dev/full" "--log - >&-"; do
  check "log lines lost to '$sink' are an error" bash -c "
    $(declare -f fails_with); eval \"fails_with 1 'cannot write --log' '$RUNNER' --seed 1 --ticks 1 --logging $sink\""
done
for option in --help --version; do
  check "$option into a full device is an error" bash -c "
    $(declare -f fails_with); fails_with 1 'standard output' '$RUNNER' $option >/dev/full"
done

if [ "$(id -u)" -ne 0 ]; then
  mkdir locked && chmod 0555 locked
  check "--frames into a directory that cannot be written is refused" fails_with 2 locked "$RUNNER" --ticks 1 --frames locked
fi
check "--frames into a place that refuses files says why" fails_with 1 "frame /proc/frame-00000.png" "$RUNNER" --ticks 1 --frames /proc

printf 'KV318_PERIODIC(3);\n' >same.scr
ln -s same.scr same-link.scr
mkdir a-directory
check "a directory is refused as a script" fails_with 2 "a-directory" "$RUNNER" --play a-directory
check "a device is refused as a script" fails_with 2 "/dev/zero" "$RUNNER" --play /dev/zero
check "--log over the script being played is refused and the script kept" bash -c "
  $(declare -f fails_with); fails_with 2 'script being played' '$RUNNER' --play same.scr --log same.scr &&
  fails_with 2 'script being played' '$RUNNER' --play same.scr --snapshot same-link.scr &&
  [ \"\$(cat same.scr)\" = 'KV318_PERIODIC(3);' ]"
for option in --log --play --frames --snapshot --text-snapshot; do
  check "an empty $option is refused" fails_with 2 "$option" "$RUNNER" "$option" ""
done

check "a script line that never ends ends playback, not the run" bash -c "
  timeout 10 '$RUNNER' --seed 1 --play <(printf 'KV318_PERIODIC(2);\n'; cat /dev/zero) 2>err && [ ! -s err ]"
check "an endless run of empty lines ends playback, not the run" bash -c "
  timeout 10 '$RUNNER' --seed 1 --play <(printf 'KV318_PERIODIC(2);\n'; yes '') 2>err && [ ! -s err ]"

printf 'KV318_MOUSE(10, -20);\n' >click.scr
check "--ticks 0 plays a script's click and shows the scene it drew" bash -c "
  '$RUNNER' --seed 1 --ticks 0 --play click.scr --logging --log click.log --snapshot click.png &&
  grep -q '^navy blue rectangle with bounding box (-300,250)' click.log && head -c 4 click.png | grep -q PNG"
printf 'KV318_MOUSE(0, 0);\nKV318_PERIODIC(2147483647);\n' >busy.scr
check "--ticks ends a run kept busy by playback" bash -c "
  timeout 10 '$RUNNER' --seed 1 --ticks 50 --play busy.scr --logging --log busy.log &&
  n=\$(grep -c '^navy blue rectangle with bounding box (-300,250)' busy.log) && [ \$n -ge 50 ] && [ \$n -le 53 ]"

finish_checks
