#!/usr/bin/env python3
"""Share of equal pixels between our picture of a frame and GDI's replay.

Usage: compare_frame.py OURS.ppm GDI.ppm TEXT_MASK.pgm [DIFF.ppm]
OURS is the window as shown (its client area, the surface's top-left part);
GDI and the mask are whole surfaces. Counts the client area (595 x 496 from
the top-left), leaving out the pixels the mask marks (around text). With
DIFF, writes GDI's picture with every differing pixel in red.
"""
import sys

CLIENT_W, CLIENT_H = 595, 496


def read_pnm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    width, height = int(fields[1]), int(fields[2])
    return width, data[pos + 1:]


def main():
    ours_width, ours = read_pnm(sys.argv[1])
    width, gdi = read_pnm(sys.argv[2])
    _, mask = read_pnm(sys.argv[3])
    counted = differing = 0
    diff = bytearray(gdi)
    for y in range(CLIENT_H):
        for x in range(CLIENT_W):
            i, o = y * width + x, y * ours_width + x
            if mask[i]:
                continue
            counted += 1
            if ours[3 * o:3 * o + 3] != gdi[3 * i:3 * i + 3]:
                differing += 1
                diff[3 * i:3 * i + 3] = b"\xff\x00\x00"
    print(f"{counted - differing} of {counted} non-text client pixels agree "
          f"({100.0 * (counted - differing) / counted:.3f} %), {differing} differ")
    if len(sys.argv) > 4:
        with open(sys.argv[4], "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (width, len(gdi) // 3 // width))
            f.write(bytes(diff))


if __name__ == "__main__":
    main()
