"""KDE Plasma's window manager for the end-to-end tests, KWin, as root: on Wayland (its virtual
backend, headless) and on X11 (on Xvfb). Windows are read and closed through KWin's own
scripting (a script's print lands in KWin's output), so what is checked is what KWin itself
says. On Wayland KWin gives a client from outside no keyboard, so there the program is driven
through its accessibility tree; on X11, xdotool types as on any X display."""

import json
import os
import shutil
import tempfile
import uuid

from desktop import Desktop, Display, Failure, wait_until
from session import PrivateSession

# Debian gives kwin_wayland a file capability, which a container may refuse to run; an uncapped
# copy takes its place in KWin's own mount namespace (its Qt platform plugin checks the path).
UNCAPPED = "mount --bind {folder}/kwin_wayland /usr/bin/kwin_wayland"
# Plasma 6 moved KWin's shortcuts, Alt+F4 among them, into a daemon of their own.
SHORTCUTS = "/usr/lib/x86_64-linux-gnu/libexec/kglobalacceld"
# KWin 6 renamed the scripting API's clients to windows; both are read through these two.
ALL_WINDOWS = "(workspace.windowList ? workspace.windowList() : workspace.clientList())"
ACTIVE_WINDOW = "(workspace.windowList ? 'activeWindow' : 'activeClient')"
WINDOWS = ALL_WINDOWS + """.map(function (w) {
    var frame = w.frameGeometry;
    return {id: w.internalId.toString(), window: w.windowId, title: w.caption,
            entry: w.desktopFileName, frame: [frame.x, frame.y, frame.width, frame.height],
            active: w.active};
})"""


class KWinProcess:
    """KWin itself, and the scripts it runs."""

    def __init__(self, command, env, wayland):
        self.folder = tempfile.mkdtemp(prefix="tallyvex-kwin-")
        self.runtime = os.path.join(self.folder, "runtime")
        os.mkdir(self.runtime, 0o700)
        if wayland:
            shutil.copyfile("/usr/bin/kwin_wayland", os.path.join(self.folder, "kwin_wayland"))
            os.chmod(os.path.join(self.folder, "kwin_wayland"), 0o755)
        env = {k: v for k, v in env.items() if k not in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(HOME=self.folder, XDG_RUNTIME_DIR=self.runtime,
                   XDG_CONFIG_HOME=os.path.join(self.folder, "config"))
        self._session = PrivateSession(self.folder, command, env,
                                       setup=UNCAPPED.format(folder=self.folder) if wayland else "")
        try:
            # A loaded machine can take long to start a desktop; the limit costs nothing else.
            wait_until("KWin to take scripts", self._takes_scripts, timeout=120)
        except BaseException:
            self.close()
            raise

    def close(self):
        self._session.kill()
        shutil.rmtree(self.folder, ignore_errors=True)

    def _call(self, method, arguments, reply):
        return self._session.call("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", method,
                                  arguments, reply)

    def _takes_scripts(self):
        try:
            return self.run("true") is True
        except Exception:
            return False

    def run(self, expression):
        """Runs expression as a KWin script and returns its value, read back from KWin's output."""
        marker = uuid.uuid4().hex
        script = os.path.join(self.folder, f"{marker}.js")
        with open(script, "w") as file:
            file.write(f'print("{marker} " + JSON.stringify({expression}));\n')
        self._call("loadScript", ("(ss)", (script, marker)), "(i)")
        try:
            self._call("start", ("()", ()), "()")
            line = wait_until("the script's output", lambda: self._output(marker), timeout=10)
        finally:
            self._call("unloadScript", ("(s)", (marker,)), "(b)")
            os.remove(script)
        return json.loads(line)

    def _output(self, marker):
        with open(self._session.log, errors="replace") as log:
            for line in log:
                # A line KWin is still writing has no end yet: read it once it is whole.
                if f"{marker} " in line and line.endswith("\n"):
                    return line.split(f"{marker} ", 1)[1].strip()
        return None

    def windows(self):
        return self.run(WINDOWS)


class KWin(Display):
    """KWin's Wayland session."""
    WIDTH, HEIGHT = 1024, 768
    has_pointer = False
    has_keyboard = False

    def __init__(self):
        super().__init__()
        self._kwin = KWinProcess(f"kwin_wayland --virtual --width {self.WIDTH} --height "
                                 f"{self.HEIGHT} --socket tallyvex",
                                 {k: v for k, v in os.environ.items() if k != "DISPLAY"},
                                 wayland=True)
        # A Plasma session's clients.
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
        self.env.update(XDG_RUNTIME_DIR=self._kwin.runtime, WAYLAND_DISPLAY="tallyvex",
                        XDG_CURRENT_DESKTOP="KDE", XDG_SESSION_DESKTOP="KDE",
                        XDG_SESSION_TYPE="wayland", KDE_SESSION_VERSION="5")

    def close(self):
        self._kwin.close()
        super().close()

    def _window(self, window):
        for found in self._kwin.windows():
            if found["id"] == window:
                return found
        raise Failure(f"no window {window}")

    def windows_named(self, title):
        return [found["id"] for found in self._kwin.windows() if found["title"] == title]

    def frame(self, window):
        """Left, top, width and height of the window with the frame KWin gives it."""
        return tuple(self._window(window)["frame"])

    def desktop_entry(self, window):
        return self._window(window)["entry"]

    def active_window(self):
        return next((found["id"] for found in self._kwin.windows() if found["active"]), 0)

    def _client(self, window):
        return (f"{ALL_WINDOWS}.filter(function (w) "
                f"{{ return w.internalId.toString() === {json.dumps(window)}; }})[0]")

    def activate(self, window):
        self._kwin.run(f"(workspace[{ACTIVE_WINDOW}] = {self._client(window)}) && true")
        wait_until("the window to be active", lambda: self.active_window() == window)

    def close_window(self, window):
        """What Alt+F4 and the title bar's close button do in KWin."""
        self._kwin.run(f"{self._client(window)}.closeWindow() || true")


class KWinX11(Desktop):
    """KWin as the window manager of an X display, as in Plasma's X11 session."""

    def _start_window_manager(self):
        self.env.update(XDG_CURRENT_DESKTOP="KDE", XDG_SESSION_DESKTOP="KDE",
                        XDG_SESSION_TYPE="x11", KDE_SESSION_VERSION="5")
        command = "kwin_x11 --replace"
        if os.path.exists(SHORTCUTS):
            command = f"{SHORTCUTS} & exec {command}"  # both end with the session
        self._kwin = KWinProcess(command, self.env, wayland=False)

    def close(self):
        if hasattr(self, "_kwin"):  # not when KWin failed to start
            self._kwin.close()
        super().close()

    def desktop_entry(self, window):
        # KWin 6 gives a script no X11 window's id: there the window's title tells.
        title = self.xdotool("getwindowname", str(window)).strip()
        return next(found["entry"] for found in self._kwin.windows()
                    if found.get("window", window) == window and found["title"] == title)
