#!/usr/bin/python3
"""How far the Linux program's picture and the Win32 build's under Wine agree.

Both start with --seed 1, halt at once and take the same click into the scene
(the procedure of tests/e2e/first_scene.py), so both show the first scene frame.
Pixels under text are left out: each text the headless runner's drawing log
names is masked with a generous box (faces and their rendering differ by host).
Prints the share of equal pixels among the rest and writes OUT_DIR/linux.png,
OUT_DIR/wine.png and OUT_DIR/difference.png (equal pixels grey, differing ones
magenta, masked text blue). Both run on one X display of its own
(scripts/with-xvfb.sh), one after the other.

Usage: compare_hosts.py PATH/TO/vorkan PATH/TO/vorkan.exe PATH/TO/vorkan-headless OUT_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import first_scene  # noqa: E402
import vorkan_e2e as e2e  # noqa: E402
from wine_check import WineProgram  # noqa: E402
from wine_session import WineServer  # noqa: E402

WIDTH, HEIGHT = first_scene.CLIENT
ORIGIN = e2e.ORIGIN
TEXT_LINE = re.compile(r'text at \((-?\d+),(-?\d+)\), "(.*)"')


def text_mask(log):
    """One flag per client pixel: True under a text the log names."""
    mask = bytearray(WIDTH * HEIGHT)
    for x, y, text in TEXT_LINE.findall(log):
        # The anchor is the text's lower left corner.
        left, bottom = ORIGIN[0] + int(x) - 2, ORIGIN[1] - int(y) + 4
        right, top = left + 9 * len(text) + 6, bottom - 24
        for row in range(max(top, 0), min(bottom, HEIGHT)):
            for column in range(max(left, 0), min(right, WIDTH)):
                mask[row * WIDTH + column] = 1
    return mask


def compare(linux, wine, mask):
    """(equal pixels, compared pixels, difference picture as RGB bytes)."""
    equal = compared = 0
    picture = bytearray(len(linux))
    for i in range(WIDTH * HEIGHT):
        a, b = linux[3 * i:3 * i + 3], wine[3 * i:3 * i + 3]
        if mask[i]:
            colour = (90, 120, 255)
        elif a == b:
            equal += 1
            grey = 150 + sum(a) // 12
            colour = (grey, grey, grey)
        else:
            colour = (255, 0, 255)
        compared += 0 if mask[i] else 1
        picture[3 * i:3 * i + 3] = bytes(colour)
    return equal, compared, bytes(picture)


def write_png(rgb, path):
    subprocess.run(["/usr/bin/convert", "-size", f"{WIDTH}x{HEIGHT}", "-depth", "8", "rgb:-", path],
                   input=rgb, check=True)


def linux_frame(vorkan, display):
    s = e2e.Session(vorkan, display, "--seed", str(first_scene.SEED))
    try:
        return first_scene.windowed_first_scene(s)
    finally:
        s.close()


def wine_frame(exe, display):
    with WineServer(display) as wine:
        s = WineProgram(wine, exe, display, "--seed", str(first_scene.SEED))
        try:
            return first_scene.windowed_first_scene(s)
        finally:
            s.close()


def main():
    vorkan, exe, headless, out_dir = (os.path.abspath(p) for p in sys.argv[1:5])
    display = e2e.own_display()
    os.makedirs(out_dir, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="vorkan-compare-") as workdir:
        _, log = first_scene.headless_first_scene(headless, workdir)
    linux = linux_frame(vorkan, display)
    wine = wine_frame(exe, display)
    equal, compared, picture = compare(linux, wine, text_mask(log))
    write_png(linux, os.path.join(out_dir, "linux.png"))
    write_png(wine, os.path.join(out_dir, "wine.png"))
    write_png(picture, os.path.join(out_dir, "difference.png"))
    print(f"{equal} of {compared} pixels outside text agree: {100.0 * equal / compared:.2f} %")
    print(f"pictures in {out_dir}: linux.png, wine.png, difference.png")
    return 0


if __name__ == "__main__":
    sys.exit(main())
