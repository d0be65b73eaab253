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
# An endless run of empty lines keeps playback waiting for its next line; the
# run still answers: each of these signals ends it as the close box would
# (snapshot and log written) and the process then ends by the signal.
# started_then SIGNAL COMMAND...: runs the command with its standard output
# into started.out, sends SIGNAL once it has written something (so the run is
# under way whatever the machine's load) and gives the command's status.
started_then() {
  local signal="$1"
  rm -f started.out
  shift
  "$@" >started.out 2>started.err &
  local pid=$! tries=0
  while [ ! -s started.out ] && [ $tries -lt 200 ]; do sleep 0.05; tries=$((tries + 1)); done
  kill -s "$signal" $pid
  wait $pid
}
for signal in INT:130 TERM:143 HUP:129; do
  check "SIG${signal%:*} ends a run stuck in empty lines with its outputs written" bash -c "
    $(declare -f started_then); rm -f sig.png
    started_then ${signal%:*} '$RUNNER' --seed 1 --logging --log - --snapshot sig.png \
      --play <(printf 'KV318_PERIODIC(2);\n'; yes '')
    [ \$? -eq ${signal#*:} ] && head -c 4 sig.png | grep -q PNG &&
      [ \"\$(tail -n 1 started.out)\" = 'black text at (-45,-240), \"VORKAN\"' ] && [ ! -s started.err ] && [ -z \"\$(find . -name '.?*')\" ]"
done

# Outputs never overstep: streams are written in place, links and rights are
# taken as the shell and the kernel take them, and nothing is left behind.
printf 'old\n' >appended.log
check "--log /dev/stdout and /dev/stderr write through the shell's appending stream" bash -c "
  '$RUNNER' --seed 1 --ticks 2 --log - >one.log && [ -s one.log ] && { echo old; cat one.log one.log; echo after; } >expected.log &&
  { '$RUNNER' --seed 1 --ticks 2 --log /dev/stdout && '$RUNNER' --seed 1 --ticks 2 --log /dev/stderr 2>&1 && echo after; } >>appended.log &&
  cmp -s appended.log expected.log"
ln -s missing.png dangling.png
check "a dangling link creates the file it names" bash -c "
  '$RUNNER' --ticks 1 --snapshot dangling.png && [ -L dangling.png ] && head -c 4 missing.png | grep -q PNG"
mkdir -m 1777 shared && printf 'kept\n' >kept.png && ln -s ../kept.png shared/planted.png && chown -h 65534 shared/planted.png
check "a link another user planted in a sticky shared directory is refused" bash -c "
  $(declare -f fails_with); fails_with 2 'planted.png: Permission denied' '$RUNNER' --ticks 1 --snapshot shared/planted.png &&
  [ \"\$(cat kept.png)\" = kept ]"
check "two outputs at one place are refused" bash -c "
  $(declare -f fails_with); fails_with 2 'writes there too' '$RUNNER' --snapshot a.png --text-snapshot ./a.png &&
  fails_with 2 'writes there too' '$RUNNER' --log - --snapshot /dev/stdout"
if [ "$(id -u)" -eq 0 ]; then
  chmod 0755 "$WORK" && mkdir -m 0777 user && printf 'read-only\n' >user/own.png && printf 'root\n' >user/root.png
  chown 65534 user/own.png && chmod 0444 user/own.png
  for file in own.png root.png; do
    check "another user's run is refused $file as the shell would refuse it" bash -c "
      $(declare -f fails_with); cd user && fails_with 2 'Permission denied' setpriv --reuid=65534 --regid=65534 --clear-groups \
        '$RUNNER' --ticks 1 --snapshot $file && ! head -c 4 $file | grep -q PNG"
  done
fi
check "a killed run leaves no temporary file" bash -c "
  $(declare -f started_then); mkdir killed
  started_then KILL '$RUNNER' --ticks 100000000 --logging --frames killed --log /dev/stdout
  [ \$? -eq 137 ] && [ -n \"\$(ls killed)\" ] && [ -z \"\$(find . -name '.?*')\" ]"
check "a log whose reader went away ends the log, not the run" bash -c "
  $(declare -f fails_with); fails_with 1 'Broken pipe' '$RUNNER' --logging --log - --snapshot piped.png | head -n 1 >/dev/null
  [ \${PIPESTATUS[0]} -eq 0 ] && head -c 4 piped.png | grep -q PNG"
check "with standard error closed no message lands in the log" bash -c "
  '$RUNNER' --ticks 2 --logging --log closed.log --frames /proc 2>&-; [ \$? -eq 1 ] && ! grep -q 'cannot' closed.log"
check "a reused --frames directory holds only this run's frames" bash -c "
  '$RUNNER' --seed 1 --ticks 20 --frames reused && '$RUNNER' --seed 1 --ticks 3 --frames reused &&
  [ \"\$(ls reused)\" = \"\$(printf 'frame-%05d.png\n' 0 1 2 3)\" ]"
ln -s loop-a loop-b && ln -s loop-b loop-a
check "--frames through a link loop says so" fails_with 2 "loop-a: Too many levels of symbolic links" "$RUNNER" --frames loop-a
WINDOWED="$(dirname "$RUNNER")/vorkan"
if [ -x "$WINDOWED" ]; then
  for option in --help --version; do
    check "vorkan $option into a closed standard output is an error" bash -c "
      $(declare -f fails_with); fails_with 1 'standard output' '$WINDOWED' $option >&-"
  done
fi

printf 'KV318_MOUSE(10, -20);\n' >click.scr
check "--ticks 0 plays a script's click and shows the scene it drew" bash -c "
  '$RUNNER' --seed 1 --ticks 0 --play click.scr --logging --log click.log --snapshot click.png &&
  grep -q '^navy blue rectangle with bounding box (-300,250)' click.log && head -c 4 click.png | grep -q PNG"
printf 'KV318_MOUSE(0, 0);\nKV318_PERIODIC(2147483647);\n' >busy.scr
check "--ticks ends a run kept busy by playback" bash -c "
  timeout 10 '$RUNNER' --seed 1 --ticks 50 --play busy.scr --logging --log busy.log &&
  n=\$(grep -c '^navy blue rectangle with bounding box (-300,250)' busy.log) && [ \$n -ge 50 ] && [ \$n -le 53 ]"

finish_checks
