#!/bin/sh
# Runs a page's link (the build's link launcher) and fails it when the
# optimiser reports a name of the wait-path list that matches no function: a
# renamed function missing from the list would make main start again at every
# wait in the browser.
log=$(mktemp) || exit 1
"$@" 2>"$log"
status=$?
cat "$log" >&2
if grep -q "Asyncify .*list contained" "$log"; then
  echo "link_checked.sh: a function of the page's wait-path list (hosts/web/CMakeLists.txt) is missing" >&2
  status=1
fi
rm -f "$log"
exit $status
