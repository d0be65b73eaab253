#!/bin/sh
# Regenerates gdi_cases.txt: builds gdi_cases.c with MinGW-w64 and runs it
# under Wine, whose GDI draws every call of make_cases.py. Needs
# x86_64-w64-mingw32-gcc, wine and Xvfb (Wine runs on an X display of its own).
# The fidelity test itself needs none of these.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# Wine's screen is a display of its own, so every run draws on the same kind of screen.
if [ -z "${VORKAN_XVFB_DISPLAY:-}" ] || [ "$VORKAN_XVFB_DISPLAY" != "${DISPLAY:-}" ]; then
  exec "$here/../../scripts/with-xvfb.sh" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-gcc -O2 -o "$work/gdi_cases.exe" "$here/gdi_cases.c" -lgdi32
python3 "$here/make_cases.py" > "$work/cases.txt"
WINEDEBUG=-all wine "$work/gdi_cases.exe" < "$work/cases.txt" | tr -d '\r' > "$work/out.txt"
wineserver -w  # Wine's own processes end before their display does
mv "$work/out.txt" "$here/gdi_cases.txt"
echo "wrote $here/gdi_cases.txt ($(grep -c '^picture' "$here/gdi_cases.txt") cases)"
