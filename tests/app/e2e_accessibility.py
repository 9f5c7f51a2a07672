#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The workspace as a screen reader meets it: the real editor in a private X server
with its own D-Bus session and AT-SPI bus, drawn on with the keyboard alone (xdotool),
read through pyatspi. After arrows and Space have placed two cubes, the workspace's
accessible text names the figure's size and cubes, the cell under the cursor and every
cube; the cursor moves and edits reach the AT-SPI bus as focus, name and text events.

Usage: e2e_accessibility.py <tarvex executable> <work folder> [event log]
Exits with 77 (skipped) when Xvfb, xdotool, dbus-daemon or pyatspi is missing.
"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb_harness import SKIP, XServer, fail, missing_tool, stop, wait_for  # noqa: E402

SYSTEM_PYTHON = "/usr/bin/python3"


def have_pyatspi():
    """Whether pyatspi can be imported; runs this script again in the system's Python
    when this one lacks it (it comes from Debian). Nothing is started before this."""
    import importlib.util
    if importlib.util.find_spec("pyatspi") is not None:
        return True
    if os.path.exists(SYSTEM_PYTHON) and os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON) \
            and not os.environ.get("TARVEX_E2E_REEXEC"):
        os.environ["TARVEX_E2E_REEXEC"] = "1"
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
    return False


class Accessibility:
    """A D-Bus session of its own, the AT-SPI registry on it, and an event log."""

    def __init__(self, pyatspi, log_path):
        self.pyatspi = pyatspi
        self.events = []
        self.log = open(log_path, "w") if log_path else None
        from gi.repository import GLib
        self.context = GLib.MainContext.default()
        self.listener = pyatspi.Registry.registerEventListener
        pyatspi.Registry.registerEventListener(
            self.heard, "focus:", "object:state-changed:focused", "object:state-changed:checked",
            "object:property-change:accessible-name", "object:property-change:accessible-description",
            "object:text-changed:insert", "object:selection-changed", "window:activate")

    def heard(self, event):
        try:
            source = event.source
            name = source.name if source else ""
            role = source.getRoleName() if source else ""
        except Exception:  # the object may be gone already
            name, role = "", ""
        detail = event.any_data if isinstance(event.any_data, str) else ""
        line = "%s | %s | %s | %s" % (event.type, role, name, detail.replace("\n", " / ")[:160])
        self.events.append(line)
        if self.log:
            self.log.write(line + "\n")
            self.log.flush()

    def pump(self, seconds=0.3):
        end = time.time() + seconds
        while time.time() < end:
            while self.context.pending():
                self.context.iteration(False)
            time.sleep(0.02)

    def mark(self, text):
        self.events.append("# " + text)
        if self.log:
            self.log.write("# " + text + "\n")

    def app(self, name="tarvex"):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            child = desktop.getChildAtIndex(i)
            if child and child.name.lower() == name:
                return child
        return None

    def find(self, root, role, name):
        """The first object of role and name under root; lists are not gone into (the
        workspace has a child per cell)."""
        todo = [root]
        while todo:
            node = todo.pop(0)
            if node is None:
                continue
            if node.getRole() == role and node.name == name:
                return node
            if node.getRole() != self.pyatspi.ROLE_LIST:
                todo.extend(node.getChildAtIndex(i) for i in range(node.childCount))
        return None


def start_bus(work):
    """A private session bus in a process group of its own (the AT-SPI bus and
    registry it starts join it); its address goes to this process and the editor."""
    read_fd, write_fd = os.pipe()
    process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=%d" % write_fd],
                               pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, cwd=work, start_new_session=True)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        address = pipe.readline().strip()
    if not address:
        fail("dbus-daemon did not start")
    return process, address


def stop_bus(process):
    """Ends the bus and everything it started."""
    try:
        os.killpg(process.pid, 15)
    except ProcessLookupError:
        pass
    stop(process)


def main():
    exe, work = sys.argv[1], sys.argv[2]
    log_path = sys.argv[3] if len(sys.argv) > 3 else None
    tool = missing_tool("xdotool", "dbus-daemon")
    if tool:
        print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
        return SKIP
    if not have_pyatspi():
        print("SKIP: pyatspi is not installed (scripts/deps.sh installs python3-pyatspi)")
        return SKIP
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    bus, address = start_bus(work)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    xvfb = app = None
    try:
        import pyatspi  # after the bus: it connects to the session's AT-SPI bus
        a11y = Accessibility(pyatspi, log_path)
        xvfb = XServer(work)
        env = dict(xvfb.env, DBUS_SESSION_BUS_ADDRESS=address, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   LANG="C.UTF-8", LANGUAGE="")
        output = open(os.path.join(work, "tarvex.log"), "w")
        app = xvfb.start([exe], env=env, stdout=output, stderr=subprocess.STDOUT)
        editor = wait_for("the editor on the AT-SPI bus", a11y.app, timeout=30)
        workspace = wait_for("the workspace's accessible list",
                             lambda: a11y.find(editor, pyatspi.ROLE_LIST, "Workspace"), timeout=20)
        window = wait_for("the main window", lambda: xvfb.windows("^Tarvex$"))[0]
        xvfb.xdo("windowfocus", "--sync", window)
        a11y.pump(1.0)

        # Keyboard only: two cubes of the picked kind (the whole cube), then a move.
        a11y.mark("Right Right Space Down Space Left")
        for key in ("Right", "Right", "space", "Down", "space", "Left"):
            xvfb.xdo("key", "--window", window, key)
            a11y.pump(0.3)
        a11y.pump(1.0)

        text = workspace.queryText()
        content = text.getText(0, text.characterCount)
        lines = content.split("\n")
        # The second cube, straight below the first, cut the first one's bottom corner.
        expected = ["Figure of 20 \u00d7 40 cells, cubes: 2", "column 2, row 3: empty",
                    "column 3, row 1: cube 8, cut corners: bottom"]
        if lines[:2] != expected[:2] or expected[2] not in lines[2:]:
            fail("the workspace's text is %r, expected it to begin %r and list %r"
                 % (content, expected[:2], expected[2]))
        if workspace.description != expected[0]:
            fail("the workspace's description is %r" % workspace.description)
        focused = [line for line in a11y.events if line.startswith("object:state-changed:focused")
                   and "list item" in line]
        if not any("column 3, row 1" in line for line in focused):
            fail("no focus event named the cell the cursor moved to:\n" + "\n".join(a11y.events))
        if not any(line.startswith("object:property-change:accessible-name") and "cube 0, whole" in line
                   for line in a11y.events):
            fail("no name change told of the cube placed:\n" + "\n".join(a11y.events))
        print("OK: the workspace reads %r" % lines[:3])
        return 0
    finally:
        stop(app, 5)
        if xvfb:
            xvfb.close()
        stop_bus(bus)


if __name__ == "__main__":
    sys.exit(main())
