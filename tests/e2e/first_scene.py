#!/usr/bin/python3
"""The first scene frame after --seed: the same in real windows as on the headless display.

In real windows the animation is halted at once (Ctrl+H) and one click leaves
the title screen, so no tick changes the scene before its first frame; the
headless runner plays the same click with no ticks. The seed alone decides the
picture, so the two client areas must be equal pixel for pixel.

Usage: first_scene.py PATH/TO/vorkan PATH/TO/vorkan-headless
"""
import os
import subprocess
import sys
import tempfile

import vorkan_e2e as e2e

SEED = 1
CLICK = (100, 0)
CLIENT = (595, 496)


def windowed_first_scene(s):
    """Halts, clicks into the scene and returns the client area's RGB bytes once it is still."""
    s.ctrl("h")
    e2e.settle()
    e2e.still_picture(s)
    s.click_toolkit(*CLICK)
    if not e2e.wait_for(lambda: e2e.near(s.client_pixel(s.screenshot(), 250, -240), e2e.SEA_GREEN), 20):
        raise RuntimeError("the scene never showed")
    e2e.still_picture(s)
    crop = f"{CLIENT[0]}x{CLIENT[1]}+0+{e2e.MENU_BAR}"
    return subprocess.run(["/usr/bin/import", "-window", s.graphics, "-crop", crop, "+repage", "-depth", "8", "rgb:-"],
                          env=s.env, check=True, capture_output=True).stdout


def headless_first_scene(headless, workdir):
    """The headless runner's first scene frame (RGB bytes) and its drawing log."""
    script = os.path.join(workdir, "first.scr")
    snapshot = os.path.join(workdir, "first.png")
    with open(script, "w") as out:
        out.write("KV318_MOUSE(%d, %d);\n" % CLICK)
    log = subprocess.run([headless, "--seed", str(SEED), "--play", script, "--ticks", "0", "--logging",
                          "--log", "-", "--snapshot", snapshot], check=True, capture_output=True, text=True).stdout
    rgb = subprocess.run(["/usr/bin/convert", snapshot, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    return rgb, log


def differing_pixels(a, b):
    return sum(1 for i in range(0, min(len(a), len(b)), 3) if a[i:i + 3] != b[i:i + 3])


def main():
    display = e2e.own_display()
    vorkan, headless = (os.path.abspath(p) for p in sys.argv[1:3])
    s = e2e.Session(vorkan, display, "--seed", str(SEED))
    try:
        windowed = windowed_first_scene(s)
    finally:
        s.close()
    with tempfile.TemporaryDirectory(prefix="vorkan-first-scene-") as workdir:
        expected, _ = headless_first_scene(headless, workdir)
    if len(windowed) != len(expected):
        print(f"FAILED: client sizes differ ({len(windowed) // 3} and {len(expected) // 3} pixels)")
        return 1
    different = differing_pixels(windowed, expected)
    print(f"{different} of {len(expected) // 3} pixels differ")
    return 0 if different == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
