#!/usr/bin/env python3
"""The example programs as a student would check them: each plays its script
headless and must write its expected log exactly, and a picture whose shapes
are where the program drew them. Also: a program with its own main behaves as
the same program with WinMain, a program that never waits still gets a picture,
a program that forgot KV318_init is told so, and programs whose own names are names the toolkit uses inside link and draw.

Usage: examples_test.py EXAMPLES_SOURCE_DIR EXAMPLES_BUILD_DIR TEST_PROGRAMS_DIR
The pictures are checked robustly (colors well inside shapes, pixel counts), so
that changes in glyphs or edge pixels do not break them; the logs are exact."""
import os
import struct
import subprocess
import sys
import tempfile
import zlib


def read_png(path):
    """(width, height, rows of (r, g, b)) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path + " is not a PNG"
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, color_type = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and color_type in (2, 6)
            channels = 3 if color_type == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else up_left)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


ORIGIN = (297, 248)  # client pixel of toolkit point (0, 0)
RED, GREEN, BLUE = (255, 0, 0), (0, 255, 0), (0, 0, 255)
NAVY, FOREST, WHITE = (0, 51, 153), (0, 102, 51), (255, 255, 255)


def pixel(rows, x, y):
    return rows[ORIGIN[1] - y][ORIGIN[0] + x]


def count(rows, color):
    return sum(row.count(color) for row in rows)


failures = []


def check(name, condition, detail=""):
    if not condition:
        failures.append(name + (": " + detail if detail else ""))
        print("FAILED:", name, detail)


def run(program, args, work):
    result = subprocess.run([program] + args, cwd=work, capture_output=True, text=True, timeout=120)
    return result.returncode, result.stderr


def play(program, script, work, name):
    """Plays a script; (status, log text, picture rows)."""
    log, png = os.path.join(work, name + ".log"), os.path.join(work, name + ".png")
    status, stderr = run(program, ["--play", script, "--log", log, "--snapshot", png], work)
    with open(log) as f:
        text = f.read()
    return status, text, (read_png(png)[2] if os.path.exists(png) else None), stderr


# Each example: program, its script, and what its last picture must show.
def ball_picture(rows):
    # The ball, radius 20, ends blue after two keys: about pi * 20 * 20 blue pixels.
    return 1100 <= count(rows, BLUE) <= 1400 and pixel(rows, 0, 0) == WHITE


def star_picture(rows):
    # The game ends over: night sky, green ground, "Game over" in red.
    return pixel(rows, 0, -100) == NAVY and pixel(rows, 0, -240) == FOREST and count(rows, RED) > 100


def clicks_picture(rows):
    # The second click's circle (color 3, green) at the origin, radius 15.
    return pixel(rows, 0, 0) == (0, 255, 0) and pixel(rows, -100, 50) == RED


EXAMPLES = [
    ("bouncing-ball-headless", "bouncing_ball", ball_picture),
    ("catch-the-star-headless", "catch_the_star", star_picture),
    ("click-shapes-headless", "clicks", clicks_picture),
]


def main():
    sources, programs, test_programs = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as work:
        for program, name, picture_ok in EXAMPLES:
            status, log, rows, stderr = play(os.path.join(programs, program), os.path.join(sources, name + ".scr"),
                                             work, name)
            with open(os.path.join(sources, name + ".log")) as f:
                expected = f.read()
            check(name + " ends with status 0", status == 0, stderr)
            check(name + " writes its expected log", log == expected, "\n" + log)
            check(name + " draws its picture", rows is not None and picture_ok(rows))

        # The same program with main and with WinMain: the same log and the same picture, to the byte.
        outputs = []
        for program in ("entry-main", "entry-winmain"):
            log, png = os.path.join(work, program + ".log"), os.path.join(work, program + ".png")
            status, stderr = run(os.path.join(test_programs, program),
                                 ["--play", os.path.join(sources, "clicks.scr"), "--logging", "--log", log,
                                  "--snapshot", png], work)
            check(program + " ends with status 0", status == 0, stderr)
            with open(log, "rb") as f, open(png, "rb") as g:
                outputs.append((f.read(), g.read()))
        check("main and WinMain give the same log", outputs[0][0] == outputs[1][0] and len(outputs[0][0]) > 0)
        check("main and WinMain give the same picture", outputs[0][1] == outputs[1][1])

        # A program that draws and ends without waiting still gets its picture, and is told so.
        png = os.path.join(work, "never.png")
        status, stderr = run(os.path.join(test_programs, "never-waits"), ["--snapshot", png], work)
        check("a program that never waits ends with status 0", status == 0, stderr)
        check("... and says its picture is the surface as drawn", "surface as drawn" in stderr, stderr)
        rows = read_png(png)[2] if os.path.exists(png) else None
        check("... and its picture shows what it drew", rows is not None and pixel(rows, 0, 0) == BLUE)

        # A program that forgot KV318_init ends at its first drawing call, with one line, on both displays
        # (in real windows before it ever needs a display).
        forgot = "KV318_init was not called before KV318_draw_circle: the program must call KV318_init first\n"
        for program, args in (("forgets-init-headless", ["--snapshot", os.path.join(work, "forgot.png"), "--log", "-"]),
                              ("forgets-init", [])):
            path = os.path.join(test_programs, program)
            if not os.path.exists(path):
                continue  # built without SDL2
            result = subprocess.run(["env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", path] + args, cwd=work,
                                    capture_output=True, text=True, timeout=60)
            check(program + " ends with status 1", result.returncode == 1, str(result.returncode))
            check(program + " says so in one line", result.stderr == forgot, repr(result.stderr))
            check(program + " writes nothing else", result.stdout == "", repr(result.stdout))

        # A global toolkit and a render_command of the program's own, in C and in C++.
        for program, color in (("own-names-c", BLUE), ("own-names-cpp", GREEN)):
            png = os.path.join(work, program + ".png")
            status, stderr = run(os.path.join(test_programs, program), ["--snapshot", png], work)
            check(program + " ends with status 0", status == 0, stderr)
            rows = read_png(png)[2] if os.path.exists(png) else None
            check(program + " draws with its own names", rows is not None and pixel(rows, 0, 0) == color)

    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
