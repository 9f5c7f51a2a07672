#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end test of colourings: the real tarvex in an X server (Xvfb) opens a figure
whose palette holds three colourings, places cubes in colourings 1, 2 and 0 by picking
them in the palette strip, repaints one cube with P in select-and-move mode, and saves.
The saved file holds each cube's colouring; the cubes copied with Ctrl+C and pasted
into a second editor keep their colours there (the palette comes along); the PNG
export's palette holds the faces of every colouring used.

Usage: e2e_colourings.py TARVEX LAYOUT_HELPER
Exits with 77 (skipped) when Xvfb or xdotool is missing.
"""

import os
import shutil
import struct
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb_harness import SKIP, Editor, XServer, fail, layout_points, missing_tool, wait_for  # noqa: E402

# Colour references (0x00BBGGRR) of the three colourings: top, right-hand, left-hand face.
COLOURINGS = [(0x0000FF, 0x00EE00, 0xFF0000), (0x00FFFF, 0xFF00FF, 0xFFFF00), (0x406080, 0x204060, 0x80A0C0)]

START = """<xml><Application>Tarvex</Application><Version>1.0</Version><Settings>
<Color1>%d</Color1><Color2>%d</Color2><Color3>%d</Color3><BkColor>16777215</BkColor>
<WorkspaceWidth>60</WorkspaceWidth><WorkspaceHeight>100</WorkspaceHeight><CubeSize>32</CubeSize>
<Palette>%s</Palette></Settings><Workspace></Workspace></xml>
""" % (COLOURINGS[0] + ("".join('<Colouring Color1="%d" Color2="%d" Color3="%d"/>' % c for c in COLOURINGS[1:]),))


def cube_colourings(path):
    """Every cube of a figure file as ((col, row), its three face colours)."""
    root = ElementTree.parse(path).getroot()
    settings = root.find("Settings")
    palette = [tuple(int(settings.find(n).text) for n in ("Color1", "Color2", "Color3"))]
    for entry in settings.findall("Palette/Colouring"):
        palette.append(tuple(int(entry.get(n)) for n in ("Color1", "Color2", "Color3")))
    return sorted(((int(c.get("Col")), int(c.get("Row"))), palette[int(c.get("Paint", "0"))])
                  for c in root.iter("Cube"))


def png_palette(path):
    """The RGB entries of a palette PNG's PLTE chunk."""
    with open(path, "rb") as f:
        data = f.read()
    at = 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]:
            fail("a broken chunk in " + path)
        if kind == b"PLTE":
            return {tuple(body[i:i + 3]) for i in range(0, len(body), 3)}
        at += 12 + length
    fail("no palette in " + path)


def rgb(ref):
    return (ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF)


def main():
    tarvex, layout_helper = sys.argv[1:3]
    tool = missing_tool("xdotool")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP

    work = tempfile.mkdtemp(prefix="tarvex-e2e-colourings-")
    xserver = XServer(work)
    first = second = None
    try:
        points = layout_points(layout_helper, xserver.env)
        start = os.path.join(work, "start.xml")
        with open(start, "w") as f:
            f.write(START)
        first = Editor(xserver, [tarvex, start])
        vx, vy = points["viewport"]
        # Four cubes apart from each other, in colourings 1, 2, 0 and 0, clicked at their
        # cells' centres (cell pitch 42 by 12 at cube size 32; the figure fills the view).
        spots = [(vx + c * 42 + 16, vy + r * 12 + 16) for c, r in ((2, 4), (6, 4), (2, 14), (6, 14))]
        first.click(*points["library0"])
        for spot, paint in zip(spots, (1, 2, 0, 0)):
            first.click(*points["palette%d" % paint])
            first.click(*spot)
        # The last one repainted in colouring 2: select it alone, pick 2, P.
        first.click(*points["toolbar0"])
        first.click(*spots[3])
        first.click(*points["palette2"])
        first.focus()
        first.key("p")
        saved = os.path.join(work, "saved.xml")
        first.save_as(saved)
        cubes = cube_colourings(saved)
        if sorted(colours for _, colours in cubes) != sorted(COLOURINGS[p] for p in (1, 2, 0, 2)):
            fail("the saved cubes' colourings are %s" % cubes)

        # Everything copied into a second editor with a palette of its own.
        first.key("ctrl+a", "ctrl+c")
        second = Editor(xserver, [tarvex])
        xserver.xdo("windowmove", second.window, 640, 0)
        time.sleep(0.3)
        second.focus()
        second.key("ctrl+v")
        pasted = os.path.join(work, "pasted.xml")
        second.save_as(pasted)
        copies = cube_colourings(pasted)
        if sorted(c for _, c in copies) != sorted(c for _, c in cubes):
            fail("the pasted cubes' colourings are %s, copied were %s" % (copies, cubes))

        # The picture: every face of the colourings used is in the PNG's palette.
        picture = os.path.join(work, "saved.png")
        first.save_as(picture)
        entries = png_palette(picture)
        wanted = {rgb(face) for colouring in COLOURINGS for face in colouring}
        if not wanted <= entries:
            fail("the PNG's palette lacks %s" % sorted(wanted - entries))
        print("PASS: three colourings placed, repainted with P, saved, pasted into a second editor and exported")
        return 0
    finally:
        for editor in (first, second):
            if editor:
                editor.stop()
        xserver.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
