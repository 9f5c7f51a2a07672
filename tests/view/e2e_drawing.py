#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Strokes, beams, keys and the clipboard end to end: the real editor in a private X
server driven by real input (xdotool). A Shift+drag down a diagonal places five cubes
and one undo takes them all back; a Shift+click draws a beam from the last cube; arrow
keys and Space place where the cell cursor is; Ctrl+A, Ctrl+C puts the figure on the
clipboard, whose PNG must equal the command-line transparent export of the same cubes,
and Ctrl+V in a second editor gives the same cells; there an offer from xclip far
larger than any fragment is refused without reading it (and the editor says so), and a
small one pastes.

Usage: e2e_drawing.py <tarvex executable> <work folder>
Exits with 77 (skipped) when Xvfb, xdotool, xclip or ImageMagick is missing.
"""

import json
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_selectmove import Session  # noqa: E402
from xvfb_harness import SKIP, fail, missing_tool, stop, wait_for  # noqa: E402

FRAGMENT = "application/x-tarvex-fragment"


def clipboard(s, target):
    return subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"], env=s.env,
                          capture_output=True, timeout=10).stdout


def offer_fragment(s, data):
    """xclip offering data as our type, once it owns the clipboard (its offer has no
    picture types, an editor's has)."""
    offer = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-t", FRAGMENT, "-i"], env=s.env,
                             stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    offer.stdin.write(data)
    offer.stdin.close()
    for _ in range(100):
        targets = clipboard(s, "TARGETS").decode()
        if FRAGMENT in targets and "image/png" not in targets:
            return offer
        time.sleep(0.1)
    fail("xclip did not take the clipboard")


def peak_memory(process):
    """The process's peak resident memory in kB."""
    with open("/proc/%d/status" % process.pid) as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmHWM:"))


def figure_xml(fragment):
    """A figure file holding the fragment's cubes on the default grid."""
    bk, c1, c2, c3 = fragment["colors"]
    cubes = "".join('<Cube Col="%d" Row="%d" Index="%d"/>\n' % tuple(cell) for cell in fragment["cells"])
    return ("<xml>\n<Application>\nTarvex\n</Application>\n<Version>\n1.0\n</Version>\n<Settings>\n"
            "<Color1>\n%d\n</Color1>\n<Color2>\n%d\n</Color2>\n<Color3>\n%d\n</Color3>\n<BkColor>\n%d\n</BkColor>\n"
            "<WorkspaceWidth>\n20\n</WorkspaceWidth>\n<WorkspaceHeight>\n40\n</WorkspaceHeight>\n"
            "<CubeSize>\n%d\n</CubeSize>\n</Settings>\n<Workspace>\n%s</Workspace>\n</xml>\n"
            % (c1, c2, c3, bk, fragment["cubeSize"], cubes))


def main():
    exe, work = sys.argv[1], sys.argv[2]
    tool = missing_tool("xdotool", "import", "xclip", "compare")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    s = Session(exe, work)
    second = offer = None
    try:
        # Shift+drag down a diagonal: five cubes, each crossed cell once; one undo.
        diagonal = [(3, 4), (3, 5), (4, 6), (4, 7), (5, 8)]
        s.xdo("keydown", "shift")
        s.drag(s.centre(*diagonal[0]), s.centre(*diagonal[-1]))
        s.xdo("keyup", "shift")
        s.expect("the Shift+drag did not place the five crossed cubes",
                 lambda image: all(s.top_face_is_red(image, *cell) for cell in diagonal)
                 and s.is_empty(image, 6, 4) and s.is_empty(image, 1, 8))
        s.shot("stroke")
        s.key("ctrl+z")
        s.expect("one undo did not take the whole stroke back",
                 lambda image: all(s.is_empty(image, *cell) for cell in diagonal))

        # A click, then Shift held over the view shows the beam straight up (two rows a
        # cube), Shift+click draws it.
        s.click(*s.centre(2, 20))
        s.xdo("keydown", "shift")
        s.xdo("mousemove", *s.screen(*s.centre(2, 12)))
        s.expect("no beam outline while Shift is held",
                 lambda image: s.black_in_square(image, 2, 16) > 20 and s.is_empty(image, 2, 24))
        s.shot("beam-preview")
        s.xdo("click", "1")
        s.xdo("keyup", "shift")
        beam = [(2, r) for r in range(12, 21, 2)]
        s.expect("the Shift+click did not draw the beam",
                 lambda image: all(s.top_face_is_red(image, *cell) for cell in beam))

        # The cell cursor follows the last cube; arrows move it, Space places there,
        # Shift+arrow places while moving.
        s.key("Right", "Right", "space", "shift+Right")
        s.expect("arrows and Space did not place where the cursor is",
                 lambda image: s.top_face_is_red(image, 4, 12) and s.top_face_is_red(image, 5, 12)
                 and not s.top_face_is_red(image, 3, 12))
        s.shot("keys")

        # Copy the whole figure from select-and-move mode.
        s.xdo("mousemove", s.origin[0] + 18, s.origin[1] - 22, "click", "1")
        s.key("ctrl+a", "ctrl+c")
        targets = clipboard(s, "TARGETS").decode()
        for target in (FRAGMENT, "image/png", "image/svg+xml"):
            if target not in targets:
                fail("the clipboard lacks %s: %s" % (target, targets))
        fragment = json.loads(clipboard(s, FRAGMENT))
        cells = {(c, r) for c, r, _ in fragment["cells"]}
        if cells != set(beam) | {(4, 12), (5, 12)}:
            fail("the clipboard holds cells %s" % sorted(cells))
        png = os.path.join(work, "clipboard.png")
        with open(png, "wb") as out:
            out.write(clipboard(s, "image/png"))

        # The renderer's picture of those cubes: the command line's transparent export.
        figure = os.path.join(work, "copied.xml")
        with open(figure, "w") as out:
            out.write(figure_xml(fragment))
        reference = os.path.join(work, "reference.png")
        subprocess.run([exe, "--export", reference, "--transparent", figure], check=True,
                       env=dict(s.env, QT_QPA_PLATFORM="offscreen"), capture_output=True, timeout=60)
        compared = subprocess.run(["compare", "-metric", "AE", png, reference, "null:"], capture_output=True,
                                  text=True)
        if compared.stderr.strip() != "0":
            fail("the clipboard's PNG differs from the export: %s" % compared.stderr.strip())

        # A second editor (its own settings) opens on top of the first and pastes the
        # same cells with the pointer off the workspace.
        env = dict(s.env, XDG_CONFIG_HOME=os.path.join(work, "config2"), XDG_DATA_HOME=os.path.join(work, "data2"))
        first = set(s.windows("^Tarvex$"))
        second = s.xvfb.start([exe], env=env, stdout=s.log, stderr=subprocess.STDOUT)
        new = wait_for("the second editor", lambda: [w for w in s.windows("^Tarvex$") if w not in first], 10)
        s.expect("the second editor is not on top", lambda image: s.is_empty(image, 2, 20))
        s.xdo("windowfocus", "--sync", new[0])
        s.xdo("mousemove", s.origin[0] + 400, s.origin[1] - 22)
        s.key("ctrl+v")
        s.expect("the paste in the second editor did not give the same cells",
                 lambda image: all(s.has_cube(image, *cell) for cell in cells) and not s.has_cube(image, 7, 20))
        s.shot("pasted")

        # Offers from another program: one of our type far larger than any fragment
        # (64 MB, handed over in pieces) is refused before it is read, so the editor's
        # peak memory stays where it was, and said so; a small one pastes.
        before = peak_memory(second)
        offer = offer_fragment(s, b"[" * (64 << 20))
        s.key("ctrl+v")
        editors = first | {new[0]}
        boxes = wait_for("the message refusing the offer",
                         lambda: [w for w in s.windows("^Tarvex$") if w not in editors], 10)
        grown = peak_memory(second) - before
        if grown > 16 << 10:
            fail("the refused offer took %d kB more memory" % grown)
        s.xdo("windowfocus", "--sync", boxes[0])
        s.key("Return")
        time.sleep(0.3)
        s.xdo("windowfocus", "--sync", new[0])
        stop(offer, 5)
        offer = offer_fragment(s, json.dumps({"cells": [[7, 20, 0]], "colors": fragment["colors"],
                                              "cubeSize": fragment["cubeSize"], "version": 1}).encode())
        s.key("ctrl+v")
        s.expect("a fragment offered by xclip did not paste",
                 lambda image: s.has_cube(image, 7, 20) and all(s.has_cube(image, *cell) for cell in cells))
        for process in (s.app, second):
            if process.poll() is not None:
                fail("an editor ended with %s" % process.returncode)
    finally:
        stop(offer, 5)
        stop(second, 5)
        s.close()
    print("PASS: stroke, beam, keys, clipboard picture and paste between editors in a real X server")
    return 0


if __name__ == "__main__":
    sys.exit(main())
