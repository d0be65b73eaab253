#!/usr/bin/env python3
"""Writes the GDI calls of the fidelity test, one per line, to standard output.

The set is fixed by its seed so that regenerating the reference pictures
reproduces the stored file. Lines, polygons and ellipses stay inside the
128 x 128 canvas of gdi_cases.c with room for the widest pen.
"""
import random

rng = random.Random(318)


def point(lo=20, hi=100):
    return rng.randint(lo, hi), rng.randint(lo, hi)


def near(p, reach):
    return (min(max(p[0] + rng.randint(-reach, reach), 16), 112),
            min(max(p[1] + rng.randint(-reach, reach), 16), 112))


cases = []
# Single lines: every pen width from 1 to 15, all directions and slopes.
for width in range(1, 16):
    for _ in range(10):
        a = point(30, 98)
        b = near(a, 24)
        cases.append(f"line {width} {a[0]} {a[1]} {b[0]} {b[1]}")
# Triangles outlined by wide pens, hollow and filled, and thin-pen ones.
for i in range(48):
    width = 1 if i % 4 == 0 else rng.randint(2, 9)
    a = point(35, 93)
    b, c = near(a, 22), near(a, 22)
    cases.append(f"polygon {width} {i % 2} 3 {a[0]} {a[1]} {b[0]} {b[1]} {c[0]} {c[1]}")
# Rectangles with wide pens.
for i in range(12):
    width = rng.randint(2, 9)
    l, t = point(30, 70)
    cases.append(f"rect {width} {i % 2} {l} {t} {l + rng.randint(2, 30)} {t + rng.randint(2, 30)}")
# Tall and wide thin ellipses, filled and hollow. Wine's GDI paints stray
# brush rows across the tips of some filled boxes 3 or 4 wide (3 x 11 here),
# a fault of its own that the rasteriser does not copy: that case is left out.
for width in range(3, 7):
    for height in range(5, 27, 3):
        for fill in (0, 1):
            if (width, height, fill) != (3, 11, 1):
                cases.append(f"ellipse 1 {fill} 40 40 {40 + width} {40 + height}")
            cases.append(f"ellipse 1 {fill} 40 40 {40 + height} {40 + width}")
# Ellipses of any shape, thin and wide pens.
for i in range(40):
    width = 1 if i % 2 == 0 else rng.randint(2, 7)
    l, t = point(30, 70)
    cases.append(f"ellipse {width} {i % 3 == 0 and 1 or 0} {l} {t} {l + rng.randint(5, 36)} "
                 f"{t + rng.randint(5, 36)}")
print("\n".join(cases))
