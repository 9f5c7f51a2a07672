# SPDX-License-Identifier: GPL-3.0-or-later
"""Shared start-up for the end-to-end scripts: a private X server (Xvfb) and the
editor in it, with settings and data folders of their own.

The server runs with -noreset, so it does not reset (and refuse connections for a
moment) when its last client leaves; and before every editor start the display is
asked (xdpyinfo) until it answers, so a start never meets a server that is not ready.
"""

import os
import shutil
import subprocess
import sys
import time

SKIP = 77


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def missing_tool(*tools):
    """The first of tools (plus Xvfb and xdpyinfo) that is not installed, or None."""
    for tool in ("Xvfb", "xdpyinfo") + tools:
        if shutil.which(tool) is None:
            return tool
    return None


def wait_for(what, predicate, timeout=20.0):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    fail("timed out waiting for " + what)


class XServer:
    """Xvfb on a free display; env is the environment for programs shown on it."""

    def __init__(self, work):
        self.env = dict(os.environ)
        self.env.update({"XDG_CONFIG_HOME": os.path.join(work, "config"),
                         "XDG_DATA_HOME": os.path.join(work, "data"),
                         "HOME": work, "QT_QPA_PLATFORM": "xcb", "QT_SCALE_FACTOR": "1"})
        self.env.pop("WAYLAND_DISPLAY", None)
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                                         "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            display = pipe.readline().strip()
        if not display:
            self.close()
            fail("Xvfb did not start")
        self.env["DISPLAY"] = ":" + display

    def wait_ready(self):
        wait_for("the X server to accept connections", lambda: subprocess.run(
            ["xdpyinfo"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0)

    def start(self, args, **kwargs):
        """Starts a program on the display once the display answers."""
        self.wait_ready()
        return subprocess.Popen(args, env=kwargs.pop("env", self.env), **kwargs)

    def windows(self, name="."):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], env=self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout.split()

    def xdo(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True,
                              stdout=subprocess.PIPE, text=True).stdout.strip()

    def close(self):
        stop(self.process)


def stop(process, timeout=10):
    """Ends a process that may still run: terminate, then kill."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def layout_points(layout_helper, env, figure=None):
    """Where the editor's controls are: name -> (x, y) in window coordinates, from
    the layout helper run on the offscreen platform (with the figure open, when given:
    the workspace is centred in the view by its size)."""
    out = subprocess.run([layout_helper, "--all"] + ([figure] if figure else []),
                         env=dict(env, QT_QPA_PLATFORM="offscreen"), check=True,
                         stdout=subprocess.PIPE, text=True).stdout
    points = {}
    for line in out.splitlines():
        name, x, y = line.split()
        points[name] = (int(x), int(y))
    return points


class Editor:
    """One editor window on the server: started, found, clicked, typed to and saved."""

    def __init__(self, xserver, args):
        before = set(xserver.windows("^Tarvex$"))
        self.xserver = xserver
        self.process = xserver.start(args)
        self.window = wait_for("the main window", lambda: [
            w for w in xserver.windows("^Tarvex$") if w not in before])[0]
        time.sleep(0.5)
        self.focus()

    def focus(self):
        self.xserver.xdo("windowfocus", "--sync", self.window)

    def resize(self, width, height):
        self.xserver.xdo("windowsize", "--sync", self.window, width, height)
        time.sleep(0.5)
        self.focus()

    def click(self, x, y):
        self.xserver.xdo("mousemove", "--window", self.window, x, y)
        time.sleep(0.1)
        self.xserver.xdo("click", 1)
        time.sleep(0.25)

    def key(self, *keys):
        for key in keys:
            self.xserver.xdo("key", key)
            time.sleep(0.2)

    def save_as(self, path):
        """Ctrl+S, the path typed into the save dialog, Return; waits for the file."""
        self.focus()
        self.xserver.xdo("key", "ctrl+s")
        dialog = wait_for("the save dialog", lambda: [w for w in self.xserver.windows() if w != self.window
                                                      and w not in self.xserver.windows("^Tarvex$")])[0]
        time.sleep(0.5)
        self.xserver.xdo("windowfocus", "--sync", dialog)
        self.xserver.xdo("key", "ctrl+a")
        self.xserver.xdo("type", "--delay", 5, path)
        time.sleep(0.2)
        self.xserver.xdo("key", "Return")
        wait_for("the saved file " + path, lambda: os.path.exists(path) and os.path.getsize(path) > 0)
        time.sleep(0.3)

    def stop(self):
        stop(self.process)
