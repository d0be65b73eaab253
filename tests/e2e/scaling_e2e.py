#!/usr/bin/python3
"""vorkan on a 3840 x 2160 screen: shown at a whole-number scale, crisp, with
clicks landing on the toolkit points under them.

On an X display of its own of that size: the windows open twice as large as
their pixels (and at twice their places) by themselves; every program pixel
is a uniform 2 x 2 block of screen pixels, menu bar included; a click on
either corner pixel of the block that shows toolkit point (100, -50) is
recorded as KV318_MOUSE(100, -50); the Run menu opens under the scaled title.
Then --scale 1 keeps the program's own size and KV318_SCALE=3 makes it three times.

Usage: scaling_e2e.py PATH/TO/vorkan
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vorkan_e2e as e2e  # noqa: E402
import with_xvfb  # noqa: E402

SCREEN = "3840x2160x24"
CLIENT = (595, 496)
MENU_GRAY = (212, 208, 200)


def window_size(scale):
    return CLIENT[0] * scale, (CLIENT[1] + e2e.MENU_BAR) * scale


def screen_point(toolkit_x, toolkit_y, scale, corner):
    """The screen pixel (window coordinates) at `corner` (0 or scale - 1) of the block showing the point."""
    return ((e2e.ORIGIN[0] + toolkit_x) * scale + corner,
            (e2e.ORIGIN[1] - toolkit_y + e2e.MENU_BAR) * scale + corner)


def blocks_are_uniform(shot, scale):
    """True when every scale x scale block of the window's pixels holds one colour: nothing smoothed."""
    width, height, pixels = shot
    for y in range(0, height - height % scale, scale):
        for x in range(0, width - width % scale, scale):
            colour = pixels[y * width + x]
            for dy in range(scale):
                row = (y + dy) * width + x
                if any(pixels[row + dx] != colour for dx in range(scale)):
                    return False
    return True


def scaled_by_itself(s, f):
    x, y, w, h = s.geometry(s.graphics)
    f.check("the graphics window opens at 2x at (0,0)", (x, y, w, h) == (0, 0, *window_size(2)), f"got {(x, y, w, h)}")
    x, y, w, h = s.geometry(s.text)
    f.check("the text window opens at 2x its place", (x, y) == (0, 1100) and w % 2 == 0, f"got {(x, y, w, h)}")
    e2e.wait_for(lambda: e2e.near(pixel(s, -240, 245, 2), e2e.RED))
    f.check("the picture is every pixel a crisp 2x2 block", blocks_are_uniform(s.screenshot(), 2))


def pixel(s, toolkit_x, toolkit_y, scale):
    width, _, pixels = s.screenshot()
    x, y = screen_point(toolkit_x, toolkit_y, scale, 0)
    return pixels[y * width + x]


def clicks_map_back(s, f):
    s.ctrl("r")
    e2e.settle()
    for corner in (0, 1):
        s.click(*screen_point(100, -50, 2, corner))
        e2e.settle()
    s.ctrl("r")
    e2e.wait_for(lambda: (s.script() or "").count("KV318_MOUSE(") >= 2)
    clicks = [line for line in (s.script() or "").splitlines() if line.startswith("KV318_MOUSE(")]
    f.check("clicks on both corners of the scaled pixel arrive as (100, -50)",
            clicks == ["KV318_MOUSE(100, -50);"] * 2, repr(clicks))


def menu_scales(s, f):
    s.ctrl("h")
    e2e.settle()

    def popup_shown():
        width, _, pixels = s.screenshot()
        row = [pixels[140 * width + x] for x in range(10, 600, 20)]
        return sum(e2e.near(p, MENU_GRAY, 12) for p in row) > 10

    s.click(30, 18)  # the "Run" title, at twice its place
    f.check("the Run menu opens under the scaled title, scaled", e2e.wait_for(popup_shown))
    e2e.run("xdotool", "key", "Escape", env=s.env)


def sized(program, display, f, scale, *args):
    s = e2e.Session(program, display, *args)
    try:
        _, _, w, h = s.geometry(s.graphics)
        f.check(f"{' '.join(args) or 'KV318_SCALE'} opens the window at {scale}x", (w, h) == window_size(scale),
                f"got {(w, h)}")
    finally:
        s.close()


def main():
    with_xvfb.run_under_xvfb(SCREEN)
    display = os.environ["DISPLAY"]
    program = os.path.abspath(sys.argv[1])
    f = e2e.Failures()
    s = e2e.Session(program, display)
    try:
        scaled_by_itself(s, f)
        clicks_map_back(s, f)
        menu_scales(s, f)
    finally:
        s.close()
    sized(program, display, f, 1, "--scale", "1")
    os.environ["KV318_SCALE"] = "3"
    sized(program, display, f, 3)
    print(f"{f.passed} passed, {f.failed} failed")
    return 0 if f.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
