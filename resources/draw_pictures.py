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


def turned(test, degrees, pivot, offset=(0.0, 0.0)):
    """A shape drawn in its own coordinates, turned clockwise on screen by
    `degrees` about `pivot` and then moved by `offset`."""
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)

    def inside(x, y):
        dx, dy = x - offset[0] - pivot[0], y - offset[1] - pivot[1]
        return test(pivot[0] + dx * c + dy * s, pivot[1] - dx * s + dy * c)
    return inside


def derailed_locomotive():
    """64 x 64: a steam locomotive that has left a kinked track and lies
    tipped nose-down on the embankment, with dust rising."""
    sky_high, sky_low, hills = (120, 165, 215), (185, 210, 235), (120, 150, 110)
    grass, ballast, sleeper, rail = (85, 130, 55), (150, 138, 118), (105, 70, 40), (200, 200, 205)
    boiler, band, smokebox, cab, roof = (35, 60, 45), (200, 170, 60), (30, 30, 32), (125, 30, 30), (45, 45, 50)
    wheel, hub, window, buffer_beam = (175, 40, 30), (50, 25, 20), (235, 225, 170), (200, 45, 35)
    dust = (205, 195, 175)

    shapes = [
        (lambda x, y: True, sky_high),
        (lambda x, y: y >= 18, sky_low),
        (circle(14, 60, 30), hills),
        (circle(56, 66, 32), hills),
        (lambda x, y: y >= 44, grass),
        (polygon((0, 47), (64, 45), (64, 55), (0, 57)), ballast),
    ]
    # The track: straight on the left, torn up and bent on the right.
    for step in range(9):
        x = 2 + step * 7
        lift = max(0, x - 34) * 0.35
        shapes.append((turned(rounded_rect(x - 1.2, 46, x + 1.2, 56, 0.5), -lift * 2, (x, 51)), sleeper))
    shapes += [
        (polygon((0, 48.5), (34, 47.8), (64, 37), (64, 38.6), (34, 49.4), (0, 50)), rail),
        (polygon((0, 53.5), (36, 52.8), (60, 58), (59, 59.5), (36, 54.4), (0, 55)), rail),
    ]

    # The locomotive, drawn level in its own coordinates (front to the
    # right), then tipped 24 degrees forward into the ground.
    loco = [
        (rounded_rect(14, 14, 44, 26, 5.5), boiler),
        (lambda x, y: 24 <= x <= 26 and 14 <= y <= 26, band),
        (lambda x, y: 34 <= x <= 36 and 14 <= y <= 26, band),
        (rounded_rect(41, 13, 47, 27, 2.5), smokebox),
        (polygon((38, 6), (43, 6), (42, 14), (39, 14)), smokebox),
        (circle(29, 14, 3.2), band),
        (rounded_rect(3, 6, 16, 29, 1), cab),
        (rounded_rect(6, 9, 13, 15, 1), window),
        (rounded_rect(1, 3.5, 18, 7, 1.5), roof),
        (lambda x, y: 2 <= x <= 48 and 26 <= y <= 30, smokebox),
        (lambda x, y: 47 <= x <= 51 and 25 <= y <= 30, buffer_beam),
    ]
    for cx in (13, 25, 37):
        loco += [(circle(cx, 33, 5.6), wheel), (circle(cx, 33, 1.6), hub)]
    loco += [(circle(46, 35, 3.2), wheel), (circle(46, 35, 1.0), hub)]
    loco.append((polygon((13, 33), (37, 33), (37, 34.4), (13, 34.4)), (90, 90, 95)))  # coupling rod
    shapes += [(turned(test, 24, (26, 20), (4, 10)), fill) for test, fill in loco]

    # Dust thrown up where the front struck the embankment.
    for cx, cy, r in ((54, 52, 6), (60, 47, 5), (47, 56, 4.5), (62, 55, 4)):
        shapes.append((circle(cx, cy, r), dust))
    return render(64, shapes)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_png(os.path.join(here, "icon.png"), icon())
    write_png(os.path.join(here, "derailed_locomotive.png"), derailed_locomotive())
