#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end test of the editor: runs the real tarvex in an X server (Xvfb), opens a
figure named on the command line, places and erases cubes with mouse clicks, picks
cubes in the cubes library, undoes a click with Ctrl+Z, saves to a new XML file through
the save dialog and compares the written file with the expected figure; then opens an
example from the recent figures button and saves it again.

Usage: e2e_editor.py TARVEX LAYOUT_HELPER DATA_DIR
Exits with 77 (skipped) when Xvfb or xdotool is missing.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb_harness import SKIP, Editor, XServer, fail, layout_points, missing_tool, stop, wait_for  # noqa: E402


def main():
    tarvex, layout_helper, data = sys.argv[1:4]
    tool = missing_tool("xdotool")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP

    work = tempfile.mkdtemp(prefix="tarvex-e2e-")
    xserver = XServer(work)
    env = xserver.env
    editor = None
    process = None
    try:
        xdo = xserver.xdo
        # Where to click, from the same window built on the offscreen platform.
        points = layout_points(layout_helper, env, os.path.join(data, "e2e-start.xml"))
        start = os.path.join(work, "start.xml")
        shutil.copyfile(os.path.join(data, "e2e-start.xml"), start)
        saved = os.path.join(work, "saved figure.xml")
        editor = Editor(xserver, [tarvex, start])
        # The workspace is centred in the view: the window gets the helper's size.
        editor.resize(*points["frame"])

        size = 32
        pitch_x, pitch_y = 42, 12   # cube size 32

        def click_cell(column, row):
            vx, vy = points["workspace"]
            x = vx + column * pitch_x + (pitch_x // 2 if row % 2 else 0) + size // 2
            y = vy + row * pitch_y + size // 2
            editor.click(x, y)

        def pick(kind):
            editor.click(*points["library%d" % kind])

        click_cell(4, 4)       # place the full cube (the library's first pick)
        click_cell(2, 3)       # place next to (2, 2), cutting its lower right corner
        pick(64)               # the empty cube
        click_cell(6, 8)       # erase
        pick(0)
        click_cell(8, 10)      # place...
        editor.key("ctrl+z")   # ...and undo it
        time.sleep(0.1)
        editor.save_as(saved)

        with open(saved, "rb") as f:
            written = f.read()
        with open(os.path.join(data, "e2e-expected.xml"), "rb") as f:
            expected = f.read()
        if written != expected:
            print("written file:\n" + written.decode(errors="replace"))
            print("expected:\n" + expected.decode(errors="replace"))
            fail("the saved figure differs from the expected one")
        if editor.process.poll() is not None:
            fail("the editor ended unexpectedly")

        # The recent figures button: its Examples submenu opens the first example,
        # which saves back to the example's own file.
        editor.click(*points["recent"])
        time.sleep(0.25)
        editor.key("e")
        editor.key("Return")
        time.sleep(0.3)
        example = os.path.join(work, "example.xml")
        editor.save_as(example)
        with open(example, "rb") as f, open(os.path.join(data, "..", "..", "..", "examples",
                                                         "impossible-triangle.xml"), "rb") as g:
            if f.read() != g.read():
                fail("the example chosen from the recent figures button did not open")
        editor.process.terminate()
        editor.process.wait(10)
        editor = None

        # A figure file on the command line that cannot be read: the editor says so
        # and ends.
        process = xserver.start([tarvex, os.path.join(work, "missing.xml")])
        box = wait_for("the error message", lambda: xserver.windows("^Tarvex$"))[0]
        time.sleep(0.5)
        xdo("windowfocus", "--sync", box)
        xdo("key", "Return")
        try:
            code = process.wait(20)
        except subprocess.TimeoutExpired:
            fail("the editor did not end after failing to open its figure file")
        if code != 1:
            fail("exit code %d after failing to open the figure file, expected 1" % code)
        print("PASS: figure placed, erased, undone and saved as expected; an example opened from the "
              "recent figures button; a missing file ends the editor")
        return 0
    finally:
        if editor:
            editor.stop()
        stop(process)
        xserver.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
