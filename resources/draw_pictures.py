#!/usr/bin/env python3
"""Draws the program's pictures as PNG files beside this script.

Standard library only: every picture is a list of filled shapes, sampled
4 x 4 times per pixel for smooth edges. Run it again after changing a shape;
the PNGs it writes are kept in the repository.
"""
import math
import os
import struct
import zlib

SAMPLES = 4


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_inner, r_outer, a_from, a_to):
    """Part of an annulus between two angles (degrees, counter-clockwise, y up)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not r_inner <= d <= r_outer:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return a_from <= a <= a_to
    return inside


def polygon(*points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return x0 <= x <= x1 and y0 <= y <= y1 and dx * dx + dy * dy <= r * r
    return inside


def render(size, shapes):
    """shapes: (test, (r, g, b)) painted in order; returns rows of RGB pixels."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = (255, 255, 255)
                    for test, fill in shapes:
                        if test(x, y):
                            colour = fill
                    for k in range(3):
                        acc[k] += colour[k]
            row.append(tuple(round(c / SAMPLES ** 2) for c in acc))
        rows.append(row)
    return rows


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def icon():
    """16 x 16: a track curving away over green ground under a blue sky."""
    sky, grass, ballast, rail, sleeper = (70, 130, 200), (60, 140, 60), (150, 140, 120), (225, 225, 230), (110, 75, 40)
    cx, cy = 16.5, 16.5  # the curve's centre, at the bottom-right corner
    shapes = [
        (lambda x, y: True, sky),
        (lambda x, y: y >= 6, grass),
        (ring(cx, cy, 5.5, 12.5, 90, 180), ballast),
    ]
    for step in range(7):  # sleepers across the track
        a = math.radians(94 + step * 14)
        ux, uy = math.cos(a), -math.sin(a)
        vx, vy = -uy * 0.6, ux * 0.6
        p0 = (cx + ux * 6.2, cy + uy * 6.2)
        p1 = (cx + ux * 11.8, cy + uy * 11.8)
        shapes.append((polygon((p0[0] - vx, p0[1] - vy), (p1[0] - vx, p1[1] - vy),
                               (p1[0] + vx, p1[1] + vy), (p0[0] + vx, p0[1] + vy)), sleeper))
    shapes += [
        (ring(cx, cy, 7.0, 8.0, 90, 180), rail),
        (ring(cx, cy, 10.0, 11.0, 90, 180), rail),
        (circle(3.5, 2.8, 1.9), (250, 215, 80)),
    ]
    return render(16, shapes)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_png(os.path.join(here, "icon.png"), icon())
