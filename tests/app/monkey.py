#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Random input for the real editor: a seeded stream of clicks, drags, keys, toolbar
and picker presses and dialog answers, sent with xdotool to tarvex in a private X
server (Xvfb). Meant for a build with AddressSanitizer and UndefinedBehaviorSanitizer.

The run fails on a sanitizer report, a crash or exit of the editor, and a hang (the
editor does not answer a _NET_WM_PING within 10 seconds: its event loop is stuck).
Between bursts it checks what the editor writes: a figure it saves reads back and is
written again byte for byte (on the command line and by opening it in the editor), a
recovery copy present on disk opens, and at the end the memory of the editor after
the run (VmRSS) is at most twice that of an editor just started on the same figure.

Every event takes its choices from a generator seeded with the seed and its own
number, so `--seed N --events K` replays the first K events of a run exactly.

Usage: monkey.py TARVEX LAYOUT_HELPER [--seed N] [--events K | --minutes M] [--work DIR]
Exits with 77 (skipped) when Xvfb, xdpyinfo or xdotool is missing.
"""

import argparse
import ctypes
import glob
import os
import random
import re
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb_harness import SKIP, XServer, missing_tool, stop  # noqa: E402

HANG_SECONDS = 10
BURST = 80                      # events between two checks of the written files
REPORT = re.compile(r"ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|AddressSanitizer:DEADLYSIGNAL")
# Keys for a toolbar widget after the ten buttons: a drop-down menu or a zoom box.
WIDGET_KEYS = ["Down", "Down", "Up", "Right", "Return", "Return", "Escape", "1", "4", "5", "0", "BackSpace", "ctrl+a"]
EXTENSIONS = ["xml", "xml", "xml", "png", "svg", "pdf", "bmp", ""]


class Fault(Exception):
    """A failure of the editor (or of the run) that ends the run."""


# ---------------------------------------------------------------- X protocol

class XClient:
    """A small X client through libxcb: pings a window (_NET_WM_PING, answered by Qt
    from its event loop) and asks a window to close (WM_DELETE_WINDOW)."""

    class Cookie(ctypes.Structure):
        _fields_ = [("sequence", ctypes.c_uint)]

    class Iterator(ctypes.Structure):
        _fields_ = [("data", ctypes.c_void_p), ("rem", ctypes.c_int), ("index", ctypes.c_int)]

    def __init__(self, display):
        xcb = self.xcb = ctypes.CDLL("libxcb.so.1")
        self.libc = ctypes.CDLL(None)
        self.libc.free.argtypes = [ctypes.c_void_p]
        xcb.xcb_connect.restype = ctypes.c_void_p
        xcb.xcb_connect.argtypes = [ctypes.c_char_p, ctypes.c_void_p]
        for name in ("xcb_connection_has_error", "xcb_get_file_descriptor", "xcb_flush"):
            getattr(xcb, name).argtypes = [ctypes.c_void_p]
        xcb.xcb_get_setup.restype = ctypes.c_void_p
        xcb.xcb_get_setup.argtypes = [ctypes.c_void_p]
        xcb.xcb_setup_roots_iterator.restype = XClient.Iterator
        xcb.xcb_setup_roots_iterator.argtypes = [ctypes.c_void_p]
        xcb.xcb_intern_atom.restype = XClient.Cookie
        xcb.xcb_intern_atom.argtypes = [ctypes.c_void_p, ctypes.c_uint8, ctypes.c_uint16, ctypes.c_char_p]
        xcb.xcb_intern_atom_reply.restype = ctypes.c_void_p
        xcb.xcb_intern_atom_reply.argtypes = [ctypes.c_void_p, XClient.Cookie, ctypes.c_void_p]
        xcb.xcb_change_window_attributes.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_uint32,
                                                     ctypes.c_void_p]
        xcb.xcb_send_event.argtypes = [ctypes.c_void_p, ctypes.c_uint8, ctypes.c_uint32, ctypes.c_uint32,
                                       ctypes.c_char_p]
        xcb.xcb_poll_for_event.restype = ctypes.c_void_p
        xcb.xcb_poll_for_event.argtypes = [ctypes.c_void_p]
        xcb.xcb_disconnect.argtypes = [ctypes.c_void_p]
        self.conn = xcb.xcb_connect(display.encode(), None)
        if not self.conn or xcb.xcb_connection_has_error(self.conn):
            raise Fault("cannot connect to the X server " + display)
        self.root = ctypes.c_uint32.from_address(xcb.xcb_setup_roots_iterator(xcb.xcb_get_setup(self.conn)).data).value
        self.protocols, self.ping_atom, self.delete_atom = (
            self.atom(n) for n in (b"WM_PROTOCOLS", b"_NET_WM_PING", b"WM_DELETE_WINDOW"))
        # Qt sends the answer to a ping to the root window for StructureNotify.
        mask = ctypes.c_uint32(1 << 17)
        xcb.xcb_change_window_attributes(self.conn, self.root, 1 << 11, ctypes.byref(mask))
        xcb.xcb_flush(self.conn)
        self.stamp = 0

    def atom(self, name):
        reply = self.xcb.xcb_intern_atom_reply(self.conn, self.xcb.xcb_intern_atom(self.conn, 0, len(name), name), None)
        value = ctypes.c_uint32.from_address(reply + 8).value
        self.libc.free(reply)
        return value

    def send_protocol(self, window, protocol, stamp):
        event = struct.pack("<BBHII5I", 33, 32, 0, window, self.protocols, protocol, stamp, window, 0, 0)
        self.xcb.xcb_send_event(self.conn, 0, window, 0, event)
        self.xcb.xcb_flush(self.conn)

    def ping(self, window, timeout=HANG_SECONDS):
        """True when the window's owner answered within timeout seconds."""
        self.stamp += 1
        self.send_protocol(window, self.ping_atom, self.stamp)
        fd = self.xcb.xcb_get_file_descriptor(self.conn)
        end = time.monotonic() + timeout
        while True:
            event = self.xcb.xcb_poll_for_event(self.conn)
            if event:
                data = ctypes.string_at(event, 32)
                self.libc.free(event)
                kind, _, _, target, _, protocol, stamp = struct.unpack("<BBHIIII", data[:20])
                if kind & 0x7F == 33 and target == self.root and protocol == self.ping_atom and stamp == self.stamp:
                    return True
                continue
            if self.xcb.xcb_connection_has_error(self.conn):
                raise Fault("the X server went away")
            left = end - time.monotonic()
            if left <= 0:
                return False
            select.select([fd], [], [], left)

    def close_window(self, window):
        self.send_protocol(window, self.delete_atom, 0)

    def disconnect(self):
        self.xcb.xcb_disconnect(self.conn)


# ---------------------------------------------------------------- the editor

class Editor:
    """One running editor: its process, log, main window and layout."""

    def __init__(self, monkey, args):
        self.monkey = monkey
        self.log_path = os.path.join(monkey.work, "editor-%d.log" % monkey.starts)
        monkey.starts += 1
        self.log = open(self.log_path, "w")
        self.process = monkey.xserver.start([monkey.tarvex] + args, stdout=self.log, stderr=subprocess.STDOUT,
                                            env=monkey.env)
        self.window = None

    def alive(self):
        return self.process.poll() is None

    def memory(self):
        """(VmRSS, VmHWM) in kB."""
        with open("/proc/%d/status" % self.process.pid) as f:
            text = f.read()
        return tuple(int(re.search(field + r":\s+(\d+)", text).group(1)) for field in ("VmRSS", "VmHWM"))

    def report(self):
        """The sanitizer report in the log, or None."""
        self.log.flush()
        with open(self.log_path, errors="replace") as f:
            text = f.read()
        match = REPORT.search(text)
        return text[max(0, match.start() - 200):match.start() + 6000] if match else None


class Monkey:
    def __init__(self, options):
        self.tarvex = os.path.abspath(options.tarvex)
        self.seed = options.seed
        self.work = options.work
        self.scratch = os.path.join(self.work, "scratch")
        os.makedirs(self.scratch, exist_ok=True)
        self.xserver = XServer(self.work)
        self.env = dict(self.xserver.env)
        # A small quarantine, and freed memory handed back to the system, keep the
        # sanitizer's own memory out of the growth check.
        asan = "detect_leaks=1:abort_on_error=1:handle_abort=1:quarantine_size_mb=16:allocator_release_to_os_interval_ms=500"
        self.env.update({"ASAN_OPTIONS": asan + ":" + os.environ.get("ASAN_OPTIONS", ""),
                         "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1"})
        supp = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "lsan.supp")
        if os.path.exists(supp):
            self.env["LSAN_OPTIONS"] = "suppressions=" + os.path.abspath(supp)
        self.recovery = os.path.join(self.work, "data", "Brellow", "Tarvex", "recovery")
        self.starts = 0
        self.editor = None
        self.help = None
        self.seen = {}
        self.order = 0
        self.x = None
        self.index = 0
        self.counts = {}
        self.peak = 0
        self.checks = 0
        self.layout = self.read_layout(options.layout)
        examples = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples")
        self.examples = sorted(glob.glob(os.path.join(examples, "*.xml")))

    def read_layout(self, helper):
        out = subprocess.run([helper, "--all"], env=dict(self.env, QT_QPA_PLATFORM="offscreen"), check=True,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
        layout = {}
        for line in out.splitlines():
            name, x, y = line.split()
            layout[name] = (int(x), int(y))
        return layout

    # ------------------------------------------------------------ X helpers

    def xdo(self, *args, check=True):
        result = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        if check and result.returncode != 0:
            self.assert_alive()
        return result.stdout.strip()

    def visible(self, name="."):
        return self.xdo("search", "--onlyvisible", "--name", name, check=False).split()

    def title(self, window):
        return self.xdo("getwindowname", window, check=False)

    def geometry(self, window):
        out = self.xdo("getwindowgeometry", "--shell", window, check=False)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return tuple(int(values.get(k, 0)) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def settle(self):
        """Waits until the editor has handled the input sent so far: its answer to a
        ping comes after the events queued before it."""
        self.assert_alive()
        if not self.x.ping(int(self.editor.window)):
            self.assert_alive()
            raise Fault("the editor did not answer for %d seconds (hang)" % HANG_SECONDS)

    def assert_alive(self):
        editor = self.editor
        if editor is None:
            return
        report = editor.report()
        if report:
            raise Fault("sanitizer report:\n" + report)
        code = editor.process.poll()
        if code is not None:
            time.sleep(0.5)
            raise Fault("the editor ended with exit code %d\n%s" % (code, editor.report() or self.tail(editor)))

    @staticmethod
    def tail(editor):
        with open(editor.log_path, errors="replace") as f:
            return f.read()[-3000:]

    # ------------------------------------------------------------ start and windows

    def start_editor(self, args, rng):
        """Starts the editor and answers what it asks first (the recovery question)
        until its main window shows."""
        known = set(self.visible())
        self.editor = Editor(self, args)
        end = time.monotonic() + 60
        while time.monotonic() < end:
            self.assert_alive()
            for window in self.visible("^Tarvex$"):
                if window in known:
                    continue
                if not self.is_dialog(window):
                    self.editor.window = window
                    self.size = self.geometry(window)[2:]
                    self.focus(window)
                    self.settle()
                    return
                # The recovery question before the main window.
                self.editor.window = window
                self.settle()
                self.focus(window)
                self.answer_box(window, rng)
                self.editor.window = None
            time.sleep(0.1)
        raise Fault("the main window never showed; windows: %s" % self.describe_windows())

    def is_dialog(self, window):
        """Qt marks dialogs, message boxes included, with the dialog window type."""
        out = subprocess.run(["xprop", "-id", window, "_NET_WM_WINDOW_TYPE"], env=self.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True).stdout
        return "_NET_WM_WINDOW_TYPE_DIALOG" in out

    def describe_windows(self):
        return ["%s %r %s" % (w, self.title(w), self.geometry(w)) for w in self.visible()]

    def focus(self, window, fresh=False):
        """Gives window the keyboard. Without a window manager Qt can be left with no
        active window while the X focus still rests on one of its windows (a popup's
        keyboard grab ends without the focus-in Qt waits for), and then no key reaches
        it. With fresh, the focus goes to the root window first, so that the server
        sends the focus-in that activates the window again."""
        if fresh and self.xdo("getwindowfocus", check=False) == str(window):
            self.xdo("windowfocus", "--sync", self.x.root, check=False)
        self.xdo("windowfocus", "--sync", window, check=False)

    def focus_main(self, fresh=False):
        self.focus(self.editor.window, fresh)

    def dialogs(self):
        """Visible windows of the editor other than the main and help windows, the
        newest (the one on top) last."""
        found = [w for w in self.visible() if w not in (self.editor.window, self.help)]
        # A closed window's id may come back for a new window: forget the old ones.
        self.seen = {w: order for w, order in self.seen.items() if w in found}
        for window in found:
            if window not in self.seen:
                self.order += 1
                self.seen[window] = self.order
        return sorted(found, key=self.seen.get)

    def classify(self, window):
        name = self.title(window)
        height = self.geometry(window)[3]
        if name == "Tarvex help":
            return "help", name
        if name == "Options":
            return "options", name
        if name in ("Save As", "Open") and height > 250:
            return "save" if name == "Save As" else "open", name
        if "olor" in name and height > 250:
            return "colour", name
        if name == "Tarvex" or name.startswith("About") or height <= 250:
            return "box", name
        return "other", name

    def handle_dialogs(self, rng, limit=40):
        """Answers every dialog, the newest first, until none is left."""
        answered = None
        for attempt in range(limit):
            open_now = self.dialogs()
            if not open_now:
                if self.help and self.help not in self.visible():
                    self.help = None
                return
            window = open_now[-1]
            kind, name = self.classify(window)
            if kind == "help":
                self.help = window
                continue
            # A dialog still there after its answer may not have had the keyboard; from
            # the third try on, a stuck drag may hold the input.
            self.focus(window, fresh=window == answered)
            if window == answered and attempt >= 2:
                self.end_stuck_drag()
                self.focus(window)
            answered = window
            if kind == "options":
                self.answer_options(window, rng)
            elif kind == "box":
                self.answer_box(window, rng)
            elif kind in ("save", "open"):
                self.answer_file_dialog(window, kind == "save", rng)
            elif kind == "colour":
                self.answer_color_dialog(window, rng)
            else:
                self.count("window " + name)
                self.xdo("key", rng.choice(["Escape", "Escape", "Return"]), check=False)
            self.settle()
        raise Fault("dialogs kept opening: %s" % [(w, self.classify(w), self.geometry(w)) for w in self.dialogs()])

    def count(self, what):
        self.counts[what] = self.counts.get(what, 0) + 1

    def answer_box(self, window, rng):
        self.count("message box")
        choice = rng.random()
        if choice < 0.15:
            _, _, w, h = self.geometry(window)
            self.xdo("mousemove", "--window", window, rng.randrange(max(1, w)), rng.randrange(max(1, h)), "click", 1,
                     check=False)
        keys = rng.choice([["Return"], ["Escape"], ["Tab", "Return"], ["Tab", "space"], ["Tab", "Tab", "Return"],
                           ["y"], ["n"], ["Escape"]])
        self.xdo("key", *keys, check=False)

    def answer_options(self, window, rng):
        self.count("options")
        lay = self.layout

        def click(name):
            self.xdo("mousemove", "--window", window, *lay[name], "click", 1, check=False)

        if rng.random() < 0.2:
            click("optdefaults")
        if rng.random() < 0.7:
            # Workspace sizes kept to pictures that write within the hang limit.
            cube = rng.choice([16, 20, 24, 32, 32, 40, 48, 64]) if rng.random() < 0.9 else rng.randint(16, 200)
            limit = max(10, min(100, 4000 // cube))
            for field, value in (("optwidth", rng.randint(10, limit)), ("optheight", rng.randint(10, 3 * limit)),
                                 ("optcube", cube)):
                if field == "optheight":
                    value = min(value, 100)
                if rng.random() < 0.7:
                    click(field)
                    self.xdo("key", "ctrl+a", check=False)
                    self.xdo("type", str(value), check=False)
        if rng.random() < 0.3:
            click("opttab1")
            self.settle()
            click("optcolor%d" % rng.randrange(4))
            self.settle()
            for dialog in self.dialogs():
                if self.classify(dialog)[0] == "colour":
                    self.focus(dialog)
                    self.answer_color_dialog(dialog, rng)
                    self.settle()
            self.focus(window)
            if rng.random() < 0.5:
                click("opttab0")
        click(rng.choice(["optok", "optok", "optok", "optcancel"]) if rng.random() < 0.9 else "optdefaults")
        if rng.random() < 0.2:
            self.xdo("key", "Escape", check=False)

    def answer_color_dialog(self, window, rng):
        self.count("colour chooser")
        _, _, w, h = self.geometry(window)
        for _ in range(rng.randrange(3)):
            self.xdo("mousemove", "--window", window, rng.randrange(max(1, w)), rng.randrange(max(1, h // 2)),
                     "click", 1, check=False)
        self.focus(window)
        self.xdo("key", rng.choice(["Return", "Return", "Escape"]), check=False)

    def file_name(self, rng, saving):
        if saving:
            name = rng.choice(["figure", "copy", "über", "a b", "x"]) + str(rng.randrange(6))
            ext = rng.choice(EXTENSIONS)
            return os.path.join(self.scratch, name + ("." + ext if ext else ""))
        files = sorted(glob.glob(os.path.join(self.scratch, "*")))
        choices = files + self.examples + [os.path.join(self.scratch, "missing.xml")]
        return rng.choice(choices)

    def answer_file_dialog(self, window, saving, rng):
        self.count("save dialog" if saving else "open dialog")
        if rng.random() < 0.25:
            self.xdo("key", "Escape", check=False)
            return
        self.xdo("key", "ctrl+a", check=False)
        self.xdo("type", "--delay", 2, self.file_name(rng, saving), check=False)
        self.xdo("key", "Return", check=False)

    # ------------------------------------------------------------ gestures

    def main_point(self, rng, area):
        lay = self.layout
        _, _, width, height = self.geometry(self.editor.window)
        if area == "view":
            vx, vy = lay["view"]
            return rng.randrange(vx, max(vx + 1, width)), rng.randrange(vy, max(vy + 1, height))
        return rng.randrange(max(1, width)), rng.randrange(max(1, height))

    def move(self, point):
        self.xdo("mousemove", "--window", self.editor.window, *point)

    def gesture(self, rng):
        kinds = [("click", 20), ("drag", 10), ("shift click", 6), ("shift drag", 6), ("ctrl click", 3),
                 ("ctrl drag", 5), ("double click", 2), ("right click", 1), ("wheel", 3), ("ctrl wheel", 4),
                 ("toolbar", 9), ("library", 6), ("constructor", 4), ("tab", 2), ("key", 24), ("anywhere", 2),
                 ("help window", 2), ("dialog", 8), ("resize", 1), ("shift hover", 2), ("kill", 0.15)]
        kind = rng.choices([k for k, _ in kinds], [w for _, w in kinds])[0]
        if kind == "help window" and not self.help:
            kind = "key"
        self.count(kind)
        lay = self.layout
        window = self.editor.window
        mods = [m for m in ("shift", "ctrl") if m in kind]
        if kind in ("click", "shift click", "ctrl click", "double click", "right click", "anywhere"):
            point = self.main_point(rng, "window" if kind == "anywhere" else "view")
            self.move(point)
            for m in mods:
                self.xdo("keydown", m)
            if kind == "double click":
                self.xdo("click", "--repeat", 2, 1)
            else:
                self.xdo("click", 3 if kind == "right click" else 1)
            for m in mods:
                self.xdo("keyup", m)
            if kind == "right click":
                self.xdo("key", "Escape")
        elif kind in ("drag", "shift drag", "ctrl drag"):
            start = self.main_point(rng, "view")
            # Mostly within the view; now and then onto the toolbar or the bar.
            end = self.main_point(rng, "view" if rng.random() < 0.85 else "window")
            self.move(start)
            for m in mods:
                self.xdo("keydown", m)
            self.xdo("mousedown", 1)
            steps = rng.randint(2, 8)
            for i in range(1, steps + 1):
                self.move((start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps))
            if rng.random() < 0.05:
                self.xdo("key", "Escape")
            self.xdo("mouseup", 1)
            for m in mods:
                self.xdo("keyup", m)
        elif kind == "shift hover":
            # Shift held over the view shows where a beam would go.
            self.xdo("keydown", "shift")
            for _ in range(rng.randint(1, 4)):
                self.move(self.main_point(rng, "view"))
            self.xdo("keyup", "shift")
        elif kind in ("wheel", "ctrl wheel"):
            self.move(self.main_point(rng, "view"))
            if mods:
                self.xdo("keydown", "ctrl")
            self.xdo("click", "--repeat", rng.randint(1, 3), rng.choice([4, 5]))
            if mods:
                self.xdo("keyup", "ctrl")
        elif kind == "toolbar":
            buttons = sorted(k for k in lay if k.startswith("toolbar"))
            button = rng.choice(buttons)
            self.move(lay[button])
            self.xdo("click", 1)
            if int(button[7:]) >= 10:
                # A widget added after the ten buttons (a list or a menu): a few keys.
                for _ in range(rng.randrange(4)):
                    self.xdo("key", rng.choice(WIDGET_KEYS))
        elif kind == "library":
            self.xdo("mousemove", "--window", window, *lay["tab0"], "click", 1)
            self.move(lay["library%d" % rng.randrange(65)])
            self.xdo("click", 1)
        elif kind == "constructor":
            self.xdo("mousemove", "--window", window, *lay["tab1"], "click", 1)
            x, y = lay["constructor"]
            w, h = lay["constructorsize"]
            self.move((x + rng.randrange(w), y + rng.randrange(h)))
            self.xdo("click", 1)
        elif kind == "tab":
            self.move(lay["tab%d" % rng.randrange(2)])
            self.xdo("click", 1)
        elif kind == "key":
            self.focus_main()
            self.xdo("key", self.random_key(rng))
        elif kind == "dialog":
            # The commands that ask something: each several times a minute.
            self.focus_main()
            command = rng.choice(["ctrl+s", "ctrl+s", "ctrl+o", "ctrl+n", "options", "options", "ctrl+p", "F1",
                                  "about"])
            if command in ("options", "about"):
                self.move(lay["toolbar%d" % (5 if command == "options" else 9)])
                self.xdo("click", 1)
            else:
                self.xdo("key", command)
            self.count("command " + command)
        elif kind == "help window":
            if rng.random() < 0.2:
                self.x.close_window(int(self.help))
            else:
                _, _, w, h = self.geometry(self.help)
                self.xdo("mousemove", "--window", self.help, rng.randrange(max(1, w)), rng.randrange(max(1, h)),
                         "click", 1, check=False)
            self.settle()
            self.focus_main()
        elif kind == "resize":
            # There is no window manager: the window takes the size it is given.
            if rng.random() < 0.3:
                size = self.size
            else:
                size = (rng.randint(120, 1280), rng.randint(80, 1000))
            self.xdo("windowsize", window, *size)
        elif kind == "kill":
            self.kill_and_restart(rng)

    @staticmethod
    def random_key(rng):
        keys = [("ctrl+z", 5), ("ctrl+y", 3), ("ctrl+shift+z", 2), ("alt+BackSpace", 1), ("ctrl+a", 3),
                ("Delete", 4), ("ctrl+c", 3), ("ctrl+x", 2), ("ctrl+v", 4), ("Left", 2), ("Right", 2), ("Up", 2),
                ("Down", 2), ("ctrl+Left", 1), ("ctrl+Right", 1), ("ctrl+Up", 1), ("ctrl+Down", 1),
                ("shift+Left", 1), ("shift+Right", 1), ("shift+Up", 1),
                ("shift+Down", 1), ("space", 3), ("Return", 2), ("KP_Enter", 1),
                ("ctrl+plus", 2), ("ctrl+minus", 2), ("ctrl+equal", 1), ("ctrl+0", 1), ("ctrl+9", 2),
                ("Escape", 1), ("Tab", 1), ("ctrl+n", 1), ("ctrl+o", 1), ("ctrl+s", 1.5), ("ctrl+p", 0.5),
                ("F1", 0.5), ("BackSpace", 1), ("Home", 0.5), ("End", 0.5), ("Page_Down", 0.5)]
        return rng.choices([k for k, _ in keys], [w for _, w in keys])[0]

    def kill_and_restart(self, rng):
        """kill -9, then a new editor that asks about the recovery copy left behind."""
        self.editor.process.kill()
        self.editor.process.wait()
        self.editor.log.close()
        self.help = None
        self.start_editor([], rng)

    # ------------------------------------------------------------ checks

    def export(self, out, figure):
        """Runs the command-line converter; its exit code."""
        result = subprocess.run([self.tarvex, "--export", out, figure], env=dict(self.env, QT_QPA_PLATFORM="offscreen"),
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
        if REPORT.search(result.stdout):
            raise Fault("sanitizer report in the command-line converter:\n" + result.stdout[-6000:])
        return result.returncode

    def save_as(self, path):
        """Saves the figure under path through Ctrl+S and the save dialog; False when the
        figure is empty (the editor says so instead of asking), None when the key was lost."""
        self.press_command("ctrl+s")
        end = time.monotonic() + 20
        while time.monotonic() < end:
            for window in self.dialogs():
                kind, name = self.classify(window)
                self.focus(window)
                if kind == "box":       # nothing to save
                    self.xdo("key", "Return", check=False)
                    self.settle()
                    return False
                if kind == "save":
                    self.xdo("key", "ctrl+a", check=False)
                    self.xdo("type", "--delay", 2, path, check=False)
                    self.xdo("key", "Return", check=False)
                    self.settle()
                    return self.wait_file(path)
                raise Fault("unexpected window %r after Ctrl+S" % name)
            time.sleep(0.1)
        return self.lost("Ctrl+S")

    def press_command(self, key):
        """Presses a command key on the main window; when no dialog follows (a popup
        menu or list had the keyboard), closes the popup and presses it again."""
        for attempt in range(4):
            self.focus_main(fresh=attempt > 0)
            self.xdo("key", key)
            self.settle()
            end = time.monotonic() + 3
            while time.monotonic() < end:
                if self.dialogs():
                    return
                time.sleep(0.1)
            self.xdo("key", "Escape")
            if attempt == 1:
                self.end_stuck_drag()
            self.settle()

    def end_stuck_drag(self):
        """Ends a drag that waits for a release it will never see. Synthetic input can
        leave a widget believing the button is still down (a release it never saw): the
        help page's scroll timer then starts a drag of its selected text, or the view a
        drag of the selection, and that drag waits for a release over its own window
        while every key goes to it. A user's next click ends it; so does this one, on
        the help page and on the main window's Cubes tab, which changes no figure (and
        a click also makes Qt activate the window again)."""
        self.count("stuck drag ended")
        if self.help:
            _, _, w, h = self.geometry(self.help)
            self.xdo("mousemove", "--window", self.help, w // 2, max(1, h - 20), "click", 1, check=False)
        self.xdo("mousemove", "--window", self.editor.window, *self.layout["tab0"], "click", 1, check=False)

    def wait_file(self, path):
        end = time.monotonic() + 20
        while time.monotonic() < end:
            if os.path.exists(path) and os.path.getsize(path) > 0:
                return True
            for window in self.dialogs():
                if self.classify(window)[0] == "box":   # the replace question
                    self.focus(window)
                    self.xdo("key", "y", check=False)
                    self.settle()
            time.sleep(0.1)
        raise Fault("the saved figure %s never appeared" % path)

    def open_in_editor(self, path):
        self.press_command("ctrl+o")
        end = time.monotonic() + 20
        while time.monotonic() < end:
            for window in self.dialogs():
                kind, name = self.classify(window)
                self.focus(window)
                if kind != "open":       # the save question: the figure was just saved
                    raise Fault("Ctrl+O right after a save showed %r" % name)
                self.xdo("key", "ctrl+a", check=False)
                self.xdo("type", "--delay", 2, path, check=False)
                self.xdo("key", "Return", check=False)
                self.settle()
                self.wait_closed("opening " + path)
                return True
            time.sleep(0.1)
        self.lost("Ctrl+O")
        return False

    def lost(self, key):
        """A command key that reached no window: the X session without a window manager
        lost the keyboard (the editor still answers, so it is no hang). The check that
        needed it is skipped; the run goes on."""
        self.count("command lost")
        print("note: %s after %d events reached no window; that check is skipped" % (key, self.index), flush=True)
        return None

    def wait_closed(self, what):
        """Waits a moment for the editor's dialogs to go; fails when one stays."""
        end = time.monotonic() + 5
        while self.dialogs():
            if time.monotonic() > end:
                raise Fault("%s left a window: %s" % (what, [self.classify(w) for w in self.dialogs()]))
            time.sleep(0.1)

    def check(self, rng):
        """The files the editor writes: a saved figure reads back to itself, in the
        converter and in the editor; every recovery copy opens."""
        self.checks += 1
        self.handle_dialogs(rng)
        rss, peak = self.editor.memory()
        self.peak = max(self.peak, peak)
        print("check %d after %d events: VmRSS %d kB" % (self.checks, self.index, rss), flush=True)
        for copy in glob.glob(os.path.join(self.recovery, "*.xml")):
            out = os.path.join(self.work, "recovery-check.xml")
            if self.export(out, copy) != 0 and os.path.exists(copy):
                shutil.copy(copy, os.path.join(self.work, "bad-recovery-copy.xml"))
                raise Fault("the recovery copy %s does not open" % copy)
        saved = os.path.join(self.work, "check-%d.xml" % self.checks)
        if not self.save_as(saved):
            return
        again = os.path.join(self.work, "check-%d-converted.xml" % self.checks)
        if self.export(again, saved) != 0:
            raise Fault("the saved figure %s does not open" % saved)
        if not same_file(saved, again):
            raise Fault("%s read and written again differs from itself (%s)" % (saved, again))
        if self.checks % 2 == 0:
            if not self.open_in_editor(saved):
                return
            resaved = os.path.join(self.work, "check-%d-reopened.xml" % self.checks)
            result = self.save_as(resaved)
            if result is None:
                return
            if not result:
                raise Fault("the figure reopened from %s is empty" % saved)
            if not same_file(saved, resaved):
                raise Fault("%s reopened in the editor and saved again differs (%s)" % (saved, resaved))

    def final(self, rng):
        """Closes the editor as a user does (leaks are reported at its exit) and
        compares its memory with a fresh editor on the same figure."""
        self.handle_dialogs(rng)
        if self.help:
            self.x.close_window(int(self.help))
            self.help = None
        self.xdo("windowsize", self.editor.window, *self.size)
        self.focus_main()
        self.xdo("key", "Escape", "ctrl+0")
        self.settle()
        figure = os.path.join(self.work, "final.xml")
        saved = self.save_as(figure)
        time.sleep(1)
        self.settle()
        run_rss, run_peak = self.editor.memory()
        self.peak = max(self.peak, run_peak)
        self.close_editor()
        self.start_editor([figure] if saved else [], rng)
        time.sleep(2)
        self.settle()
        fresh_rss = self.editor.memory()[0]
        self.close_editor()
        print("memory: %d kB after the run, %d kB after start-up with the same figure, peak %d kB"
              % (run_rss, fresh_rss, self.peak))
        if run_rss > 2 * fresh_rss:
            raise Fault("memory after the run (%d kB) is more than twice that after start-up (%d kB)"
                        % (run_rss, fresh_rss))

    def close_editor(self):
        self.x.close_window(int(self.editor.window))
        end = time.monotonic() + 30
        while self.editor.alive() and time.monotonic() < end:
            for window in self.dialogs():
                if self.classify(window)[0] == "box":       # the save question: No
                    self.focus(window)
                    self.xdo("key", "n", check=False)
            time.sleep(0.2)
        if self.editor.alive():
            raise Fault("the editor did not end when its window was closed")
        self.assert_alive_at_exit()

    def assert_alive_at_exit(self):
        editor = self.editor
        report = editor.report()
        code = editor.process.returncode
        editor.log.close()
        self.editor = None
        if report:
            raise Fault("sanitizer report at exit:\n" + report)
        if code != 0:
            raise Fault("the editor ended with exit code %d when closed\n%s" % (code, self.tail(editor)))

    # ------------------------------------------------------------ run

    def run(self, events, minutes):
        self.x = XClient(self.env["DISPLAY"])
        self.xserver.wait_ready()
        self.start_editor([], random.Random("%d:start" % self.seed))
        self.peak = self.editor.memory()[1]
        end = time.monotonic() + minutes * 60 if minutes else None
        while (events is None or self.index < events) and (end is None or time.monotonic() < end):
            rng = random.Random("%d:%d" % (self.seed, self.index))
            self.index += 1
            self.handle_dialogs(rng)
            self.gesture(rng)
            self.settle()
            self.handle_dialogs(rng)
            if self.index % BURST == 0:
                self.check(rng)
        self.check(random.Random("%d:check" % self.seed))
        self.final(random.Random("%d:final" % self.seed))

    def close(self):
        if self.editor:
            stop(self.editor.process)
            self.editor.log.close()
        if self.x:
            self.x.disconnect()
        self.xserver.close()


def same_file(a, b):
    with open(a, "rb") as f, open(b, "rb") as g:
        return f.read() == g.read()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("tarvex")
    parser.add_argument("layout")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--events", type=int, default=None)
    parser.add_argument("--minutes", type=float, default=None)
    parser.add_argument("--work", default=None, help="folder for the run's files (kept); a temporary one otherwise")
    options = parser.parse_args()
    if options.seed is None:
        options.seed = random.SystemRandom().randrange(1, 10 ** 9)
    if options.events is None and options.minutes is None:
        options.minutes = 3
    print("monkey seed %d" % options.seed, flush=True)
    tool = missing_tool("xdotool")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP
    keep = options.work is not None
    if keep:
        shutil.rmtree(options.work, ignore_errors=True)
        os.makedirs(options.work)
    else:
        options.work = tempfile.mkdtemp(prefix="tarvex-monkey-")
    monkey = None
    started = time.monotonic()
    try:
        monkey = Monkey(options)
        monkey.run(options.events, options.minutes)
    except Fault as fault:
        if monkey and shutil.which("import"):
            subprocess.run(["import", "-display", monkey.env["DISPLAY"], "-window", "root",
                            os.path.join(options.work, "failure.png")], stderr=subprocess.DEVNULL)
        print("FAIL after %d events: %s" % (monkey.index if monkey else 0, fault))
        print("replay: %s %s %s --seed %d --events %d --work DIR" % (
            os.path.basename(sys.argv[0]), options.tarvex, options.layout, options.seed, monkey.index if monkey else 0))
        keep = True
        return 1
    finally:
        if monkey:
            monkey.close()
        if keep:
            print("files of the run: " + options.work)
        else:
            shutil.rmtree(options.work, ignore_errors=True)
    print("counts: " + ", ".join("%s %d" % item for item in sorted(monkey.counts.items())))
    print("PASS: seed %d, %d events in %.1f minutes, %d checks" % (
        options.seed, monkey.index, (time.monotonic() - started) / 60, monkey.checks))
    return 0


if __name__ == "__main__":
    sys.exit(main())
