# Shared by the runner's command-line tests: a scratch directory to run in,
# and counted checks. Source it after setting RUNNER; end with finish_checks.
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
passed=0
failed=0

check() {  # check NAME COMMAND...
  local name="$1"
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}

finish_checks() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
