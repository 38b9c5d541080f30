"""A private X display with a window manager, and the input and screenshots of a person at it,
for the end-to-end tests: Xvfb on a display it picks itself (-displayfd), openbox, xdotool and
ImageMagick's import. Python's standard library only."""

import ctypes
import functools
import os
import subprocess
import tempfile
import time


class Failure(Exception):
    pass


def wait_until(what, check, timeout=30.0, interval=0.1):
    """Calls check until it returns something true, and returns that; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = check()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(interval)


@functools.cache
def xlib():
    """libX11, with the signatures of the few calls the tests make."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x11


def check(condition, message):
    if not condition:
        raise Failure(message)
    print(f"ok: {message}", flush=True)


class Process:
    """A program a test starts; stop() ends it if it still runs."""

    def __init__(self, args, env, stderr=subprocess.DEVNULL):
        self.process = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=stderr)

    def exit_status(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end")

    def runs(self):
        return self.process.poll() is None

    def stop(self):
        if self.runs():
            self.process.kill()
            self.process.wait()


def start_xvfb(width, height):
    """Starts Xvfb on a display number it picks itself, without TCP; returns the process and
    its DISPLAY, which is None when the server did not start."""
    read_end, write_end = os.pipe()
    # An X server resets when its last client leaves, and the reset drops a client that has
    # connected but not yet been answered (X.Org server issue 1102): on a busy machine, a first
    # xprop ended just as openbox connected, and openbox ended with status 1. Without the reset
    # no client is dropped.
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
         "-nolisten", "tcp", "-noreset"],
        pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    return xvfb, f":{number}" if number else None


class Display:
    """What an X display and a Wayland compositor share: the processes that make them, ended
    on close, and the windows found by their titles (windows_named)."""

    # What a person can do here, and what the tests then send: a display without a keyboard is
    # driven through the accessibility tree.
    has_keyboard = True
    types_keypad_separator = True

    def __init__(self):
        self._processes = []

    def close(self):
        for process in reversed(self._processes):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def keep_keysym(self, keysym):
        """Makes sure the keyboard can type keysym from now on; where the tool that types brings
        its own keymap, it can already."""

    def wait_for_window(self, title, timeout=30.0):
        return wait_until(f'a window titled "{title}"',
                          lambda: (self.windows_named(title) or [None])[0], timeout)

    def wait_for_no_window(self, title, timeout=30.0):
        wait_until(f'"{title}" to close', lambda: not self.windows_named(title), timeout)


class Desktop(Display):
    WIDTH, HEIGHT = 1024, 768
    has_pointer = True
    other_program = ["xmessage", "another program"]

    def __init__(self):
        super().__init__()
        xvfb, self.display = start_xvfb(self.WIDTH, self.HEIGHT)
        self._processes.append(xvfb)
        if not self.display:
            raise Failure("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)
        try:
            self._start_window_manager()
            try:
                wait_until("the window manager", self._window_manager_runs)
            except Failure:
                # Whether openbox hung or ended tells which of the two to look into.
                detail = ""
                if hasattr(self, "_openbox"):
                    status = self._openbox.poll()
                    detail = ": openbox " + ("still runs" if status is None
                                             else f"ended with status {status}")
                raise Failure(f"timed out waiting for the window manager on {self.display}{detail}")
        except BaseException:
            self.close()
            raise

    def _start_window_manager(self):
        self._openbox = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._processes.append(self._openbox)

    def _window_manager_runs(self):
        return "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self._run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)

    def _run(self, args, check=True):
        result = subprocess.run(args, env=self.env, capture_output=True, text=True)
        if check and result.returncode != 0:
            raise Failure(f"{' '.join(args)}: {result.stderr.strip()}")
        return result.stdout

    def keep_keysym(self, keysym):
        # A keysym the keymap lacks, xdotool maps to a spare key for the moment it types it. Qt
        # reads a changed keymap from the server when it comes to the change, and a busy
        # program then finds it changed back and the key typing nothing: the keysym stays
        # mapped instead, to a key of its own ("any" is a spare one).
        if f"({keysym})" not in self._run(["xmodmap", "-pk"]):
            self._run(["xmodmap", "-e", f"keycode any = {keysym}"])

    def xdotool(self, *args, check=True):
        return self._run(["xdotool", *args], check=check)

    def windows_named(self, title):
        """The visible top-level windows whose title is exactly title."""
        out = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False)
        return [int(w) for w in out.split()]

    def windows_of(self, pid):
        """The program's visible windows, its menus included."""
        return self.xdotool("search", "--onlyvisible", "--pid", str(pid), check=False).split()

    def geometry(self, window):
        """Left, top, width and height of the window's client area on the screen."""
        # xwininfo, since xdotool counts the frame's offset twice under a reparenting manager.
        values = dict(line.strip().split(": ", 1) for line in
                      self._run(["xwininfo", "-id", str(window)]).splitlines() if ": " in line)
        return tuple(int(values[k]) for k in
                     ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def frame_extents(self, window):
        """Left, right, top and bottom of the frame the window manager put around it."""
        out = self._run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"])
        if "=" not in out:
            return (0, 0, 0, 0)
        return tuple(int(v) for v in out.split("=", 1)[1].split(","))

    def frame(self, window):
        """Left, top, width and height of the window with the window manager's frame."""
        left, top, width, height = self.geometry(window)
        frame_left, frame_right, frame_top, frame_bottom = self.frame_extents(window)
        return (left - frame_left, top - frame_top, width + frame_left + frame_right,
                height + frame_top + frame_bottom)

    def activate(self, window):
        self.xdotool("windowactivate", "--sync", str(window))
        # --sync can return while a window that has just been mapped is still taking the focus,
        # and a key the window manager handles then finds no window to act on.
        wait_until("the window to be active", lambda: self.active_window() == window)

    def close_window(self, window):
        """A click on the close button at the right end of the window manager's title bar."""
        left, top, width, _ = self.geometry(window)
        _, frame_right, frame_top, _ = self.frame_extents(window)
        self.click(left + width + frame_right - frame_top // 2, top - frame_top // 2)

    def active_window(self):
        return int(self.xdotool("getactivewindow", check=False).strip() or 0)

    def move_mouse(self, x, y):
        self.xdotool("mousemove", "--sync", str(x), str(y))

    def pointer(self):
        return self.xdotool("getmouselocation").strip()

    def click(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", str(x), str(y), "click", str(button))

    def key(self, *keys):
        self.xdotool("key", "--delay", "40", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "40", text)

    def selection_owned(self, selection):
        """True when a client owns the X selection, such as CLIPBOARD_MANAGER."""
        x11 = xlib()
        connection = x11.XOpenDisplay(self.display.encode())
        if not connection:
            raise Failure(f"cannot open {self.display}")
        try:
            atom = x11.XInternAtom(connection, selection.encode(), 0)
            return x11.XGetSelectionOwner(connection, atom) != 0
        finally:
            x11.XCloseDisplay(connection)

    def clipboard(self):
        """The clipboard's text, or None when nobody holds one."""
        result = subprocess.run(["xclip", "-out", "-selection", "clipboard"], env=self.env,
                                capture_output=True, text=True, timeout=30)
        return result.stdout if result.returncode == 0 else None

    def screenshot(self, x, y, width, height):
        """The pixels of a part of the screen, as PPM bytes, 8 bits a channel."""
        with tempfile.NamedTemporaryFile(suffix=".ppm") as image:
            self._run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "-depth", "8",
                       "+repage", image.name])
            return image.read()

    def save_screenshot(self, path):
        self._run(["import", "-window", "root", path])
