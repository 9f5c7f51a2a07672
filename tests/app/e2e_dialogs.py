#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Dialogs end to end, under a window manager (openbox): after every dialog and message
box closes the main window has the keyboard again, so the next shortcut works. On the
way: an Open of a broken file keeps the changed figure (it is saved afterwards through
Save As, replace, Yes), and saving over the figure's file after another program changed
it asks first (Overwrite).

Usage: e2e_dialogs.py TARVEX LAYOUT_HELPER DATA_DIR
Exits with 77 (skipped) when Xvfb, xdpyinfo, xdotool or openbox is missing.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb_harness import SKIP, XServer, fail, missing_tool, stop, wait_for  # noqa: E402

PX, PY, SIZE = 42, 12, 32   # cell pitch and cube size at the default settings


def main():
    tarvex, layout_helper, data = sys.argv[1:4]
    tool = missing_tool("xdotool", "xprop", "openbox")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP

    work = tempfile.mkdtemp(prefix="tarvex-e2e-dialogs-")
    xserver = XServer(work)
    env = xserver.env
    wm = editor = None
    try:
        xdo = xserver.xdo
        helper_env = dict(env, QT_QPA_PLATFORM="offscreen")
        points = {}
        for line in subprocess.run([layout_helper, "--all", os.path.join(data, "e2e-start.xml")], env=helper_env,
                                   check=True, stdout=subprocess.PIPE, text=True).stdout.splitlines():
            name, x, y = line.split()
            points[name] = (int(x), int(y))

        wm = xserver.start(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("the window manager", lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, text=True).stdout)

        own = os.path.join(work, "own.xml")
        shutil.copyfile(os.path.join(data, "e2e-start.xml"), own)
        broken = os.path.join(work, "broken.xml")
        with open(broken, "w") as f:
            f.write("<xml><Application>Tarvex")
        editor = xserver.start([tarvex, own])
        window = wait_for("the main window", lambda: xserver.windows("^Tarvex$"))[0]
        # The workspace is centred in the view: the window gets the helper's size.
        time.sleep(0.5)
        xdo("windowsize", "--sync", window, *points["frame"])
        time.sleep(0.3)

        def active():
            return subprocess.run(["xdotool", "getactivewindow"], env=env, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, text=True).stdout.strip()

        def has_focus(after):
            wait_for("the main window to have the keyboard after " + after, lambda: active() == window, 5)

        def other_window(what):
            found = wait_for(what, lambda: [w for w in xserver.windows() if w != window])[0]
            time.sleep(0.4)
            return found

        def key(*keys):
            for k in keys:
                xdo("key", k)
                time.sleep(0.3)

        def place(column, row):
            vx, vy = points["workspace"]
            xdo("mousemove", "--window", window, vx + column * PX + (PX // 2 if row % 2 else 0) + SIZE // 2,
                vy + row * PY + SIZE // 2)
            time.sleep(0.1)
            xdo("click", 1)
            time.sleep(0.3)

        def saved_cells():
            with open(own) as f:
                return f.read().count("<Cube ")

        has_focus("start")
        start_cells = saved_cells()
        place(6, 6)

        # Open a broken file: No to saving, the file's name, the error message.
        key("ctrl+o")
        other_window("the question about saving")
        key("n")
        other_window("the open dialog")
        xdo("type", "--delay", 5, broken)
        key("Return")
        other_window("the error message")
        key("Return")
        has_focus("the error message of a failed open")

        # The figure is still the changed one: Save As over its own file, replace, Yes.
        key("ctrl+s")
        other_window("the save dialog")
        key("Return")
        other_window("the question about replacing the file")
        key("y")
        wait_for("the figure written", lambda: saved_cells() == start_cells + 1)
        has_focus("Save As, replace, Yes")

        # Another program writes the file meanwhile; the next save asks first.
        shutil.copyfile(os.path.join(data, "e2e-start.xml"), own)
        place(8, 8)
        key("ctrl+s")
        other_window("the save dialog")
        key("Return")
        other_window("the question about replacing the file")
        key("y")
        other_window("the question about the file changed on disk")
        if saved_cells() != start_cells:
            fail("the file changed on disk was written before the question was answered")
        key("o")
        wait_for("the figure written over the changed file", lambda: saved_cells() == start_cells + 2)
        has_focus("the question about the file changed on disk")

        # Options and About, each closed with Escape.
        for name, button in (("Options", "toolbar5"), ("About", "toolbar9")):
            xdo("mousemove", "--window", window, *points[button])
            time.sleep(0.1)
            xdo("click", 1)
            other_window("the %s dialog" % name)
            key("Escape")
            has_focus("the %s dialog" % name)

        # The keyboard works: Ctrl+S of the saved figure opens the save dialog.
        key("ctrl+s")
        other_window("the save dialog at the end")
        key("Escape")
        has_focus("the last save dialog")
        if editor.poll() is not None:
            fail("the editor ended unexpectedly")
        print("PASS: the main window has the keyboard after every dialog; a failed open kept the figure; "
              "a file changed on disk was written only after Overwrite")
        return 0
    finally:
        stop(editor)
        stop(wm)
        xserver.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
