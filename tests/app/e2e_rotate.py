#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end test of turning the selection: the real tarvex in an X server (Xvfb)
opens the impossible triangle example, selects every cube in select-and-move mode and
turns the selection a third of a turn with R three times; saved through the save
dialog, the figure is the example's file again, and after one R it is not.

Usage: e2e_rotate.py TARVEX LAYOUT_HELPER EXAMPLES_DIR
Exits with 77 (skipped) when Xvfb or xdotool is missing.
"""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb_harness import SKIP, Editor, XServer, fail, layout_points, missing_tool  # noqa: E402


def main():
    tarvex, layout_helper, examples = sys.argv[1:4]
    tool = missing_tool("xdotool")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP

    work = tempfile.mkdtemp(prefix="tarvex-e2e-rotate-")
    xserver = XServer(work)
    editor = None
    try:
        points = layout_points(layout_helper, xserver.env)
        example = os.path.join(examples, "impossible-triangle.xml")
        start = os.path.join(work, "triangle.xml")
        shutil.copyfile(example, start)
        editor = Editor(xserver, [tarvex, start])

        editor.click(*points["toolbar0"])                 # select and move
        vx, vy = points["viewport"]
        editor.click(vx + 4, vy + 4)                       # the view takes the keyboard
        editor.key("ctrl+a", "r")
        time.sleep(0.1)
        once = os.path.join(work, "once.xml")
        editor.save_as(once)
        editor.key("r", "r")
        time.sleep(0.1)
        thrice = os.path.join(work, "thrice.xml")
        editor.save_as(thrice)

        with open(example, "rb") as f:
            original = f.read()
        with open(once, "rb") as f:
            if f.read() == original:
                fail("R did not turn the selected triangle")
        with open(thrice, "rb") as f:
            written = f.read()
        if written != original:
            print("written file:\n" + written.decode(errors="replace"))
            fail("three turns did not give the example back")
        print("PASS: the selected triangle turned three times is saved as the example file")
        return 0
    finally:
        if editor:
            editor.stop()
        xserver.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
