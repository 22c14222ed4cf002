#!/usr/bin/env python3
"""Renders the program's pictures from their SVG sources beside this script.

icon.svg becomes icon-<size>.png at every size a desktop asks for (the window
icon and the hicolor theme), and icon.ico, which holds the sizes Windows shows
in Explorer, the taskbar and the Start menu at every display scale;
derailed_locomotive.svg becomes the About window's picture at 1x and 2x. Qt
draws no SVG without an extra module, so the pictures are kept in the
repository and a build needs neither Python nor a renderer. Rendering uses
rsvg-convert (Debian package librsvg2-bin): the same library that desktops
use to draw the installed scalable icon, so the PNGs look like it; icotool
(Debian package icoutils) puts the .ico together. Run this again after
changing an SVG.
"""
import os
import subprocess
import tempfile

ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
# 16 to 32 serve 100 % to 200 % display scale, 48 and 64 Explorer's larger
# views, 256 its largest. That one is stored as PNG, the others as bitmaps,
# which every part of Windows reads.
WINDOWS_ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PICTURE_SIZE = 64


def render(source, size, target):
    subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size), "--output", target, source],
                   check=True)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for size in ICON_SIZES:
        render(os.path.join(here, "icon.svg"), size, os.path.join(here, f"icon-{size}.png"))
    with tempfile.TemporaryDirectory() as drawings:
        bitmaps, stored_as_png = [], []
        for size in WINDOWS_ICON_SIZES:
            drawing = os.path.join(drawings, f"icon-{size}.png")
            render(os.path.join(here, "icon.svg"), size, drawing)
            (stored_as_png if size >= 256 else bitmaps).append(drawing)
        subprocess.run(["icotool", "--create", "--output", os.path.join(here, "icon.ico"), *bitmaps,
                        *(f"--raw={drawing}" for drawing in stored_as_png)], check=True)
    picture = os.path.join(here, "derailed_locomotive.svg")
    render(picture, PICTURE_SIZE, os.path.join(here, "derailed_locomotive.png"))
    render(picture, 2 * PICTURE_SIZE, os.path.join(here, "derailed_locomotive@2x.png"))
