#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Select and move end to end: runs the real editor in a private X server (Xvfb) and
drives it with real input events (xdotool): draws four cubes, switches select-and-move
mode on with the toolbar button, selects all with Ctrl+A, selects with a click and a
rubber band, drags to move and Ctrl-drags to copy, deletes, undoes, and saves with
Ctrl+S through the save dialog. The saved figure must hold exactly the expected cubes,
and screenshots taken while the mouse button is held must show the drag feedback.

Usage: e2e_selectmove.py <tarvex executable> <work folder>
Exits with 77 (skipped) when Xvfb, xdotool or ImageMagick's import is missing.
"""

import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb_harness import SKIP, XServer, fail, missing_tool, stop  # noqa: E402

PX, PY, SIZE = 42, 12, 32          # cell pitch and cube size at the default settings
BLACK, WHITE, RED = (0, 0, 0), (255, 255, 255), (255, 0, 0)


class Session:
    def __init__(self, exe, work):
        self.app = self.xvfb = self.log = None
        try:
            self.start(exe, work)
        except BaseException:
            self.close()
            raise

    def start(self, exe, work):
        self.work = work
        self.xvfb = XServer(work)
        self.env = self.xvfb.env
        self.log = open(os.path.join(work, "tarvex.log"), "w")
        self.app = self.xvfb.start([exe], stdout=self.log, stderr=subprocess.STDOUT)
        self.origin = None
        for _ in range(100):
            time.sleep(0.1)
            self.origin = self.find_workspace()
            if self.origin:
                break
        if not self.origin:
            fail("the workspace never showed")
        # There is no window manager: the window gets the keyboard focus directly.
        self.window = self.windows("^Tarvex$")[0]
        self.xdo("windowfocus", "--sync", self.window)

    def windows(self, name="."):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], env=self.env,
                              capture_output=True, text=True).stdout.split()

    def close(self):
        stop(self.app, 5)
        if self.xvfb:
            self.xvfb.close()
        if self.log:
            self.log.close()

    # ------------------------------------------------------------ screen

    def shot(self, name=None):
        data = subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, check=True).stdout
        if name:
            with open(os.path.join(self.work, name + ".ppm"), "wb") as out:
                out.write(data)
        # "P6", width, height, maxval (255), each followed by one whitespace byte, then RGB.
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        return int(header.group(1)), int(header.group(2)), data[header.end():]

    @staticmethod
    def pixel(image, x, y):
        width, _, pixels = image
        i = 3 * (y * width + x)
        return tuple(pixels[i:i + 3])

    def find_workspace(self):
        """Screen position of workspace point (0, 0): the first grid dot (the centre of
        cell (0, 0)) is a lone black pixel with dots of the grid pattern around it."""
        image = self.shot()
        width, height, pixels = image
        lone = b"\xff\xff\xff\x00\x00\x00\xff\xff\xff"   # white, black, white in a row
        i = pixels.find(lone)
        while i >= 0:
            if i % 3 == 0:
                x, y = (i // 3 + 1) % width, (i // 3 + 1) // width
                if (x + PX < width and y + 2 * PY < height and self.pixel(image, x, y + 1) == WHITE
                        and self.pixel(image, x + PX, y) == BLACK and self.pixel(image, x + PX // 2, y + PY) == BLACK
                        and self.pixel(image, x, y + 2 * PY) == BLACK):
                    return (x - SIZE // 2, y - SIZE // 2)
            i = pixels.find(lone, i + 1)
        return None

    def screen(self, wx, wy):
        return (self.origin[0] + wx, self.origin[1] + wy)

    def cell_origin(self, c, r):
        return (c * PX + (PX // 2 if r % 2 else 0), r * PY)

    def centre(self, c, r):
        x, y = self.cell_origin(c, r)
        return (x + SIZE // 2, y + SIZE // 2)

    def black_in_square(self, image, c, r):
        x0, y0 = self.screen(*self.cell_origin(c, r))
        return sum(self.pixel(image, x0 + dx, y0 + dy) == BLACK for dx in range(SIZE + 1) for dy in range(SIZE + 1))

    def is_empty(self, image, c, r):
        """Nothing in the cell's square but its dot."""
        x0, y0 = self.screen(*self.cell_origin(c, r))
        return sum(self.pixel(image, x0 + dx, y0 + dy) != WHITE for dx in range(SIZE + 1) for dy in range(SIZE + 1)) <= 1

    def has_cube(self, image, c, r):
        """Red on the top face, greyed or not."""
        x, y = self.screen(*self.centre(c, r))
        return RED in (self.pixel(image, x, y - 8), self.pixel(image, x + 1, y - 8))

    def top_face_is_red(self, image, c, r):
        """Two neighbouring pixels of the top face: both red unless the cube is greyed."""
        x, y = self.screen(*self.centre(c, r))
        return self.pixel(image, x, y - 8) == RED and self.pixel(image, x + 1, y - 8) == RED

    # ------------------------------------------------------------ input

    def xdo(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True)
        time.sleep(0.15)

    def click(self, wx, wy):
        self.xdo("mousemove", *self.screen(wx, wy), "click", "1")

    def expect(self, what, predicate, timeout=10.0):
        """Waits until predicate(screenshot) holds; fails with what otherwise."""
        deadline = time.monotonic() + timeout
        while not predicate(self.shot()):
            if time.monotonic() > deadline:
                self.shot("failed")
                fail(what)
            time.sleep(0.1)

    def drag(self, start, end, ctrl=False, during=None):
        """Presses at workspace point start, moves in steps to end and releases there;
        during = (what, predicate) must hold on the screen before the release."""
        if ctrl:
            self.xdo("keydown", "ctrl")
        self.xdo("mousemove", *self.screen(*start), "mousedown", "1")
        for i in range(1, 9):
            x = start[0] + (end[0] - start[0]) * i // 8
            y = start[1] + (end[1] - start[1]) * i // 8
            self.xdo("mousemove", *self.screen(x, y))
        if during:
            self.expect(*during)
        self.xdo("mouseup", "1")
        if ctrl:
            self.xdo("keyup", "ctrl")
        time.sleep(0.3)

    def key(self, *keys):
        self.xdo("key", *keys)
        time.sleep(0.2)


def saved_cubes(path):
    with open(path, "rb") as f:
        text = f.read().decode("latin-1")
    return {(int(c), int(r)) for c, r in re.findall(r'<Cube Col="(\d+)" Row="(\d+)" Index="\d+"/>', text)}


def main():
    exe, work = sys.argv[1], sys.argv[2]
    tool = missing_tool("xdotool", "import")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    target = os.path.join(work, "figure.xml")
    s = Session(exe, work)
    try:
        # Drawing mode: four cubes far enough apart not to touch.
        a, b, c, d = (2, 2), (4, 4), (8, 12), (12, 20)
        for cell in (a, b, c, d):
            s.click(*s.centre(*cell))

        # The mode button is the toolbar's first, just above the workspace's left end.
        s.expect("the four cubes were not drawn", lambda image: all(s.top_face_is_red(image, *cell)
                                                                     for cell in (a, b, c, d)))

        # The mode button is the toolbar's first, just above the workspace's left end.
        s.xdo("mousemove", s.origin[0] + 18, s.origin[1] - 22, "click", "1")
        s.key("ctrl+a")
        s.expect("Ctrl+A in select-and-move mode did not select every cube",
                 lambda image: not any(s.top_face_is_red(image, *cell) for cell in (a, b, c, d)))
        s.click(400, 480)   # beside every cube: nothing selected
        s.expect("a click beside the cubes left cubes selected",
                 lambda image: all(s.top_face_is_red(image, *cell) for cell in (a, b, c, d)))

        # A rubber band from the upper left to below (4, 4) selects a and b.
        s.drag((60, 20), (240, 100), during=("no rubber band on the screen during the drag", lambda image: (
            s.pixel(image, *s.screen(150, 20)) == BLACK and s.pixel(image, *s.screen(240, 60)) == BLACK)))
        s.expect("the rubber band did not select exactly the two cubes inside it", lambda image: (
            not s.top_face_is_red(image, *a) and not s.top_face_is_red(image, *b) and s.top_face_is_red(image, *c)))

        # Drag a (and b with it) one column right and one row down.
        moved_a, moved_b = (3, 3), (5, 5)
        s.drag(s.centre(*a), (s.centre(*a)[0] + 50, s.centre(*a)[1] + 13),
               during=("no outlines at the target cells during the drag", lambda image: (
                   s.black_in_square(image, *moved_a) >= 40 and s.black_in_square(image, *moved_b) >= 40)))
        s.expect("the moved cubes or their outlines stayed behind, or the moved cubes are not selected",
                 lambda image: (s.is_empty(image, *a) and s.black_in_square(image, *b) <= 1
                                and s.black_in_square(image, *moved_a) <= 1
                                and not s.top_face_is_red(image, *moved_a)
                                and not s.top_face_is_red(image, *moved_b)))

        # Select c alone with a click and Ctrl-drag it two rows down: a copy.
        s.click(*s.centre(*c))
        copy_c = (8, 14)
        s.drag(s.centre(*c), (s.centre(*c)[0], s.centre(*c)[1] + 26), ctrl=True)
        s.expect("the Ctrl-drag did not leave the original unselected and the copy selected", lambda image: (
            s.top_face_is_red(image, *c) and not s.top_face_is_red(image, *copy_c)))

        # Delete d, take it back with undo, then delete the original c.
        s.click(*s.centre(*d))
        s.key("Delete")
        s.expect("Delete left the selected cube", lambda image: s.is_empty(image, *d))
        s.key("ctrl+z")
        s.expect("undo did not bring the deleted cube back", lambda image: s.has_cube(image, *d))
        s.click(*s.centre(*c))
        s.key("Delete")
        s.expect("Delete left the selected cube", lambda image: not s.has_cube(image, *c))

        # Save through the save dialog.
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
        expected = {moved_a, moved_b, copy_c, d}
        if cubes != expected:
            fail("saved cubes %s, expected %s" % (sorted(cubes), sorted(expected)))
        if s.app.poll() is not None:
            fail("the editor ended with %s" % s.app.returncode)
    finally:
        s.close()
    print("PASS: select, move, copy, delete, undo and save in a real X server")
    return 0


if __name__ == "__main__":
    sys.exit(main())
