#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Recovery copies end to end: cubes placed in the real editor survive kill -9 and are
restored at the next start (Return answers Restore), then saved byte for byte as the
expected figure; Discard leaves an empty workspace and no copy; two editors running at
once keep a copy each.

Usage: e2e_recovery.py TARVEX LAYOUT_HELPER DATA_DIR
Exits with 77 (skipped) when Xvfb, xdpyinfo or xdotool is missing.
"""

import glob
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
    tool = missing_tool("xdotool")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP
    work = tempfile.mkdtemp(prefix="tarvex-e2e-recovery-")
    xserver = XServer(work)
    recovery = os.path.join(work, "data", "Brellow", "Tarvex", "recovery")
    editors = []
    try:
        out = subprocess.run([layout_helper], env=dict(xserver.env, QT_QPA_PLATFORM="offscreen"), check=True,
                             stdout=subprocess.PIPE, text=True).stdout
        viewport = next(tuple(map(int, line.split()[1:])) for line in out.splitlines()
                        if line.startswith("viewport "))

        def copies():
            return sorted(glob.glob(os.path.join(recovery, "*.xml")))

        def start():
            known = set(xserver.windows("^Tarvex$"))
            editors.append(xserver.start([tarvex]))
            window = wait_for("a Tarvex window", lambda: [w for w in xserver.windows("^Tarvex$")
                                                          if w not in known])[0]
            time.sleep(0.5)
            # There is no window manager: give the window the keyboard focus directly.
            xserver.xdo("windowfocus", "--sync", window)
            return window

        def place(window, cells):
            for column, row in cells:
                x = viewport[0] + column * PX + (PX // 2 if row % 2 else 0) + SIZE // 2
                y = viewport[1] + row * PY + SIZE // 2
                xserver.xdo("mousemove", "--window", window, x, y, "click", 1)
                time.sleep(0.2)

        def crash_with_copy(cells):
            window = start()
            place(window, cells)
            wait_for("the recovery copy", lambda: len(copies()) == 1)
            editors[-1].kill()   # kill -9
            editors[-1].wait()

        # Restore: Return answers the question, then the figure is saved as it was.
        crash_with_copy([(2, 2), (3, 3), (5, 6)])
        box = start()
        xserver.xdo("key", "Return")
        window = wait_for("the main window", lambda: [w for w in xserver.windows("^Tarvex$") if w != box])[0]
        xserver.xdo("windowfocus", "--sync", window)
        saved = os.path.join(work, "restored.xml")
        xserver.xdo("key", "ctrl+s")
        dialog = wait_for("the save dialog", lambda: [w for w in xserver.windows() if w != window])[0]
        time.sleep(0.5)
        xserver.xdo("windowfocus", "--sync", dialog)
        xserver.xdo("key", "ctrl+a")
        xserver.xdo("type", "--delay", 5, saved)
        xserver.xdo("key", "Return")
        wait_for("the saved file", lambda: os.path.exists(saved) and os.path.getsize(saved) > 0)
        with open(saved, "rb") as f, open(os.path.join(data, "e2e-recovered.xml"), "rb") as e:
            if f.read() != e.read():
                fail("the restored and saved figure differs from the expected one")
        wait_for("the copy to go once the figure is saved", lambda: not copies())
        stop(editors[-1])

        # Discard: Tab moves from Restore to Discard.
        crash_with_copy([(4, 4)])
        box = start()
        xserver.xdo("key", "Tab", "space")
        window = wait_for("the main window", lambda: [w for w in xserver.windows("^Tarvex$") if w != box])[0]
        wait_for("the discarded copy to go", lambda: not copies())
        # An empty workspace: Save says there is nothing to save instead of asking a name.
        xserver.xdo("windowfocus", "--sync", window)
        xserver.xdo("key", "ctrl+s")
        message = wait_for("the empty figure message", lambda: [w for w in xserver.windows() if w != window])[0]
        if xserver.xdo("getwindowname", message) != "Tarvex":
            fail("Save after Discard did not find an empty workspace")
        xserver.xdo("windowfocus", "--sync", message)
        xserver.xdo("key", "Return")
        stop(editors[-1])

        # Two editors at once: a copy each, neither asked about the other's.
        first = start()
        place(first, [(2, 2)])
        wait_for("the first copy", lambda: len(copies()) == 1)
        second = start()
        xserver.xdo("windowmove", second, 640, 0)
        place(second, [(6, 6)])
        wait_for("a copy of each editor", lambda: len(copies()) == 2)
        contents = set()
        for path in copies():
            with open(path, "rb") as f:
                contents.add(f.read())
        if len(contents) != 2:
            fail("the two editors' copies are not their own figures")
        if any(e.poll() is not None for e in editors[-2:]):
            fail("an editor ended unexpectedly")
        print("PASS: restored after kill -9 and saved as expected; discarded; two editors, two copies")
        return 0
    finally:
        for editor in editors:
            stop(editor)
        xserver.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
