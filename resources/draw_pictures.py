#!/usr/bin/env python3
"""Renders the program's pictures from their SVG sources beside this script.

icon.svg becomes icon-<size>.png at every size a desktop asks for (the window
icon and the hicolor theme); derailed_locomotive.svg becomes the About
window's picture at 1x and 2x. Qt draws no SVG without an extra module, so
the PNGs are kept in the repository and a build needs neither Python nor a
renderer. Rendering uses rsvg-convert (Debian package librsvg2-bin): the same
library that desktops use to draw the installed scalable icon, so the PNGs
look like it. Run this again after changing an SVG.
"""
import os
import subprocess

ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
PICTURE_SIZE = 64


def render(source, size, target):
    subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size), "--output", target, source],
                   check=True)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for size in ICON_SIZES:
        render(os.path.join(here, "icon.svg"), size, os.path.join(here, f"icon-{size}.png"))
    picture = os.path.join(here, "derailed_locomotive.svg")
    render(picture, PICTURE_SIZE, os.path.join(here, "derailed_locomotive.png"))
    render(picture, 2 * PICTURE_SIZE, os.path.join(here, "derailed_locomotive@2x.png"))
