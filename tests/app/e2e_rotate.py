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
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb_harness import SKIP, XServer, fail, missing_tool, stop, wait_for  # noqa: E402


def main():
    tarvex, layout_helper, examples = sys.argv[1:4]
    tool = missing_tool("xdotool")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP

    work = tempfile.mkdtemp(prefix="tarvex-e2e-rotate-")
    xserver = XServer(work)
    env = xserver.env
    editor = None
    try:
        xdo = xserver.xdo
        helper_env = dict(env, QT_QPA_PLATFORM="offscreen")
        points = {}
        out = subprocess.run([layout_helper, "--all"], env=helper_env, check=True, stdout=subprocess.PIPE,
                             text=True).stdout
        for line in out.splitlines():
            name, x, y = line.split()
            points[name] = (int(x), int(y))

        example = os.path.join(examples, "impossible-triangle.xml")
        start = os.path.join(work, "triangle.xml")
        shutil.copyfile(example, start)
        editor = xserver.start([tarvex, start])
        window = wait_for("the main window", lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Tarvex$"], env=env,
            stdout=subprocess.PIPE, text=True).stdout.split())[0]
        time.sleep(0.5)
        xdo("windowfocus", "--sync", window)

        def click(x, y):
            xdo("mousemove", "--window", window, x, y)
            time.sleep(0.1)
            xdo("click", 1)
            time.sleep(0.25)

        def save_as(path):
            xdo("windowfocus", "--sync", window)
            xdo("key", "ctrl+s")
            dialog = wait_for("the save dialog", lambda: [w for w in subprocess.run(
                ["xdotool", "search", "--onlyvisible", "--name", "."], env=env,
                stdout=subprocess.PIPE, text=True).stdout.split() if w != window])[0]
            time.sleep(0.5)
            xdo("windowfocus", "--sync", dialog)
            xdo("key", "ctrl+a")
            xdo("type", "--delay", 5, path)
            time.sleep(0.2)
            xdo("key", "Return")
            wait_for("the saved file", lambda: os.path.exists(path) and os.path.getsize(path) > 0)
            time.sleep(0.3)

        click(*points["toolbar0"])                        # select and move
        vx, vy = points["viewport"]
        click(vx + 4, vy + 4)                              # the view takes the keyboard
        xdo("key", "ctrl+a")
        time.sleep(0.2)
        xdo("key", "r")
        time.sleep(0.3)
        once = os.path.join(work, "once.xml")
        save_as(once)
        for _ in range(2):
            xdo("key", "r")
            time.sleep(0.3)
        thrice = os.path.join(work, "thrice.xml")
        save_as(thrice)

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
        stop(editor)
        xserver.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
