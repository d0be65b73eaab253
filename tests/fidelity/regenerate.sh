#!/bin/sh
# Regenerates gdi_cases.txt: builds gdi_cases.c with MinGW-w64 and runs it
# under Wine, whose GDI draws every call of make_cases.py. Needs
# x86_64-w64-mingw32-gcc, wine and a display for Wine (DISPLAY, e.g. Xvfb).
# The fidelity test itself needs none of these.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-gcc -O2 -o "$work/gdi_cases.exe" "$here/gdi_cases.c" -lgdi32
python3 "$here/make_cases.py" > "$work/cases.txt"
WINEDEBUG=-all wine "$work/gdi_cases.exe" < "$work/cases.txt" | tr -d '\r' > "$work/out.txt"
mv "$work/out.txt" "$here/gdi_cases.txt"
echo "wrote $here/gdi_cases.txt ($(grep -c '^picture' "$here/gdi_cases.txt") cases)"
