#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Beams along the cube's axes end to end: the real editor in a private X server driven
by real input (xdotool). A click, a Shift+click straight up (two rows a cube), then key 3
and a Shift+click down a diagonal draw a beam three cubes thick; the figure saved with
Ctrl+S must hold exactly those cells.

Usage: e2e_beams.py <tarvex executable> <work folder>
Exits with 77 (skipped) when Xvfb, xdotool or ImageMagick is missing.
"""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_selectmove import Session, saved_cubes  # noqa: E402
from xvfb_harness import SKIP, fail, missing_tool  # noqa: E402


def bar_cells(start, axis_step, length, thickness, grid=(20, 40)):
    """The cells of a bar along +x (lower right) from start: x along the bar, y and z
    across it towards the back, as the editor's 3-D space lays them over the grid."""
    c0, r0 = start
    half0 = 2 * c0 + (r0 & 1)
    cells = set()
    for x in range(length + 1):
        for y in range(1 - thickness, 1):
            for z in range(1 - thickness, 1):
                half = half0 + x * axis_step - y
                row = r0 + x + y - 2 * z
                column = (half - (row & 1)) // 2
                if 0 <= row < grid[1] and 0 <= column < (grid[0] - (row & 1)):
                    cells.add((column, row))
    return cells


def main():
    exe, work = sys.argv[1], sys.argv[2]
    tool = missing_tool("xdotool", "import")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    target = os.path.join(work, "beams.xml")
    s = Session(exe, work)
    try:
        # A cube, then a Shift+click five cubes straight above it.
        s.click(*s.centre(4, 30))
        s.xdo("keydown", "shift")
        s.xdo("mousemove", *s.screen(*s.centre(4, 20)))
        time.sleep(0.3)
        s.xdo("click", "1")
        s.xdo("keyup", "shift")
        column = {(4, r) for r in range(20, 31, 2)}
        s.expect("the Shift+click did not draw the beam straight up",
                 lambda image: all(s.has_cube(image, *cell) for cell in column) and s.is_empty(image, 6, 26))
        s.shot("vertical-beam")

        # Three cubes thick, from the beam's top cube down to the lower right.
        s.key("3")
        s.xdo("keydown", "shift")
        s.xdo("mousemove", *s.screen(*s.centre(8, 28)))
        time.sleep(0.3)
        s.xdo("click", "1")
        s.xdo("keyup", "shift")
        thick = bar_cells((4, 20), 1, 8, 3)
        s.expect("the thick diagonal beam is missing", lambda image: all(s.has_cube(image, *cell) for cell in thick))
        s.shot("thick-beam")

        s.key("ctrl+s")
        for _ in range(100):
            dialogs = [w for w in s.windows() if w != s.window]
            if dialogs:
                break
            time.sleep(0.1)
        else:
            fail("no save dialog")
        time.sleep(0.5)
        s.xdo("windowfocus", "--sync", dialogs[0])
        s.xdo("type", "--delay", "20", target)
        s.key("Return")
        for _ in range(50):
            if os.path.exists(target):
                break
            time.sleep(0.1)
        else:
            s.shot("save-dialog")
            fail("the figure was not saved")
        time.sleep(0.3)
        cubes = saved_cubes(target)
        expected = column | thick
        if cubes != expected:
            fail("saved cubes %s, expected %s" % (sorted(cubes), sorted(expected)))
        if s.app.poll() is not None:
            fail("the editor ended with %s" % s.app.returncode)
    finally:
        s.close()
    print("PASS: a vertical and a thick diagonal beam by real input, saved as drawn")
    return 0


if __name__ == "__main__":
    sys.exit(main())
