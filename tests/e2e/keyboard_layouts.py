#!/usr/bin/python3
"""Typing on German and French keyboards, as their users type, in real windows.

On an X display of its own, for each layout: switches the display's keymap
to it, starts the program, records with Ctrl+R while keys are typed through
xdotool (plain keys, Shift, AltGr, dead keys, a character Windows-1252
lacks), and checks the KV318_KBD lines of KV318.SCR: each character must
arrive as its Windows-1252 code, as the signed 8-bit key Windows gives. Then
Ctrl+H must halt the animation and Ctrl+Q (the key marked Q on that layout)
end the program with status 0.

The same table drives the Win32 build under Wine (tests/wine/wine_check.py
--layouts), so both hosts are held to the same codes, but for one: Windows
turns a character its code page lacks into a look-alike (α into a) where
this toolkit gives no event.

Usage: keyboard_layouts.py PATH/TO/vorkan
"""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vorkan_e2e as e2e  # noqa: E402

# Per layout: a keysym the layout has (to see it is loaded), and what is typed
# (xdotool key names, one key or chord each) with the codes it must give.
# Greek_alpha is on neither layout: xdotool puts it on a spare key, and the
# text it types has no Windows-1252 code, so it gives no event at all.
LAYOUTS = {
    "de": ("udiaeresis", [
        ("udiaeresis", -4),          # ü
        ("odiaeresis", -10),         # ö
        ("ssharp", -33),             # ß
        ("ISO_Level3_Shift+q", 64),  # AltGr+Q: @
        ("dead_acute e", -23),       # ´ then e: é
        ("EuroSign", -128),          # AltGr+E: €
        ("shift+udiaeresis", -36),   # Ü
        ("z", 122),                  # the key a US layout calls Y
        ("Greek_alpha", None),
        ("x", 120),
    ]),
    "fr": ("eacute", [
        ("eacute", -23),             # é, the key a US layout calls 2
        ("agrave", -32),             # à
        ("2", 50),                   # the same key as é, with Shift
        ("dead_circumflex e", -22),  # ^ then e: ê
        ("q", 113),                  # the key a US layout calls A
        ("EuroSign", -128),          # AltGr+E: €
        ("Greek_alpha", None),
        ("x", 120),
    ]),
}


def expected_codes(layout, outside=None):
    """The codes typing the layout's keys gives; `outside` for the character Windows-1252 lacks."""
    codes = [outside if code is None else code for _, code in LAYOUTS[layout][1]]
    return [code for code in codes if code is not None]


def typed_keys(layout):
    """The xdotool key arguments, one per key press (a dead key and its letter are two)."""
    keys = []
    for typed, _ in LAYOUTS[layout][1]:
        keys.extend(typed.split())
    return keys


def keymap_has(env, keysym):
    out = subprocess.run(["xmodmap", "-pk"], env=env, capture_output=True, text=True).stdout
    return f"({keysym})" in out


def set_layout(env, layout):
    """Loads the layout into the display's keymap: setxkbmap, else its compiled keymap through
    xkbcomp (some Xvfb set-ups leave the core keymap as it was after setxkbmap)."""
    subprocess.run(["setxkbmap", layout], env=env, check=True, capture_output=True)
    marker = LAYOUTS[layout][0]
    if keymap_has(env, marker):
        return
    keymap = subprocess.run(["setxkbmap", "-print", layout], env=env, check=True, capture_output=True).stdout
    subprocess.run(["xkbcomp", "-w0", "-", env["DISPLAY"]], env=env, input=keymap, check=True,
                   capture_output=True)
    if not keymap_has(env, marker):
        raise RuntimeError(f"the {layout} layout could not be loaded into the display's keymap")


def recorded_codes(script):
    return [int(n) for n in re.findall(r"^KV318_KBD\((-?\d+)\);$", script or "", re.MULTILINE)]


def type_and_record(s, layout, want):
    """Types the layout's keys into the focused graphics window while recording; the codes recorded."""
    s.ctrl("r")
    e2e.settle()
    e2e.run("xdotool", "windowfocus", "--sync", s.graphics, env=s.env)
    e2e.run("xdotool", "key", "--delay", "120", *typed_keys(layout), env=s.env)
    e2e.settle()
    s.ctrl("r")
    e2e.wait_for(lambda: len(recorded_codes(s.script())) >= len(want))
    return recorded_codes(s.script())


def check_layout(s, f, layout, outside=None):
    want = expected_codes(layout, outside)
    got = type_and_record(s, layout, want)
    f.check(f"{layout}: each character arrives as its Windows-1252 code", got == want, f"got {got}, want {want}")
    s.ctrl("h")
    e2e.settle()
    f.check(f"{layout}: Ctrl+H halts the animation", e2e.still_picture(s))
    s.ctrl("q")
    status = s.wait_exit()
    f.check(f"{layout}: Ctrl+Q, the key marked Q, ends the program with status 0", status == 0, f"status {status}")


def main():
    display = e2e.own_display()
    program = os.path.abspath(sys.argv[1])
    env = dict(os.environ, DISPLAY=display)
    f = e2e.Failures()
    for layout in LAYOUTS:
        set_layout(env, layout)
        s = e2e.Session(program, display)
        try:
            check_layout(s, f, layout)
        finally:
            s.close()
        time.sleep(0.2)
    print(f"{f.passed} passed, {f.failed} failed")
    return 0 if f.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
