"""KDE Plasma's compositor for the end-to-end tests: KWin on Wayland, headless (its virtual
backend), as root. Windows are read and closed through KWin's own scripting (a script's print
lands in KWin's output), so what is checked is what KWin itself says. KWin gives a client from
outside no keyboard, so the program is driven through its accessibility tree instead."""

import json
import os
import shutil
import subprocess
import tempfile
import uuid

from desktop import Display, Failure, wait_until

# Debian gives kwin_wayland a file capability, which a container may refuse to run; an uncapped
# copy takes its place in a mount namespace of its own. Its Qt platform plugin checks the path.
NAMESPACE = """\
mount --bind {folder}/kwin_wayland /usr/bin/kwin_wayland
exec dbus-run-session -- sh -c 'echo "$DBUS_SESSION_BUS_ADDRESS" > {folder}/bus.tmp; mv {folder}/bus.tmp {folder}/bus
    exec kwin_wayland --virtual --width {width} --height {height} --socket tallyvex'
"""
WINDOWS = """
workspace.clientList().map(function (w) {
    var frame = w.frameGeometry;
    return {id: w.internalId.toString(), title: w.caption, entry: w.desktopFileName,
            frame: [frame.x, frame.y, frame.width, frame.height], active: w.active};
})"""


class KWin(Display):
    WIDTH, HEIGHT = 1024, 768
    has_pointer = False
    has_keyboard = False

    def __init__(self):
        super().__init__()
        from gi.repository import Gio, GLib
        self._Gio, self._GLib = Gio, GLib
        self._folder = tempfile.mkdtemp(prefix="tallyvex-kwin-")
        runtime = os.path.join(self._folder, "runtime")
        os.mkdir(runtime, 0o700)
        shutil.copyfile("/usr/bin/kwin_wayland", os.path.join(self._folder, "kwin_wayland"))
        os.chmod(os.path.join(self._folder, "kwin_wayland"), 0o755)
        compositor_env = {k: v for k, v in os.environ.items()
                          if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        compositor_env.update(HOME=self._folder, XDG_RUNTIME_DIR=runtime,
                              XDG_CONFIG_HOME=os.path.join(self._folder, "config"))
        self._log = os.path.join(self._folder, "kwin.log")
        with open(self._log, "w") as log:
            self._compositor = subprocess.Popen(
                ["unshare", "--mount", "--propagation", "private", "--pid", "--fork",
                 "--kill-child", "--mount-proc", "sh", "-ec",
                 NAMESPACE.format(folder=self._folder, width=self.WIDTH, height=self.HEIGHT)],
                env=compositor_env, stdout=log, stderr=subprocess.STDOUT)
        self._processes.append(self._compositor)
        try:
            bus_file = os.path.join(self._folder, "bus")
            wait_until("KWin's session bus", lambda: os.path.exists(bus_file))
            with open(bus_file) as file:
                self._bus = Gio.DBusConnection.new_for_address_sync(
                    file.read().strip(), Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                    | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
            wait_until("KWin to take scripts", self._takes_scripts)
        except BaseException:
            self.close()
            raise
        # A Plasma session's clients.
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
        self.env.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="tallyvex",
                        XDG_CURRENT_DESKTOP="KDE", XDG_SESSION_DESKTOP="KDE",
                        XDG_SESSION_TYPE="wayland", KDE_SESSION_VERSION="5")

    def close(self):
        # unshare ignores SIGTERM while it waits; killed, it takes its namespace with it.
        self._compositor.kill()
        super().close()
        shutil.rmtree(self._folder, ignore_errors=True)

    def _call(self, path, interface, method, args, reply):
        GLib = self._GLib
        return self._bus.call_sync("org.kde.KWin", path, interface, method, GLib.Variant(*args),
                                   GLib.VariantType(reply), 0, 10000, None).unpack()

    def _takes_scripts(self):
        try:
            return self._run_script("true") is True
        except Exception:
            return False

    def _run_script(self, expression):
        """Runs expression as a KWin script and returns its value, read back from KWin's output."""
        marker = uuid.uuid4().hex
        script = os.path.join(self._folder, f"{marker}.js")
        with open(script, "w") as file:
            file.write(f'print("{marker} " + JSON.stringify({expression}));\n')
        self._call("/Scripting", "org.kde.kwin.Scripting", "loadScript", ("(ss)", (script, marker)),
                   "(i)")
        try:
            self._call("/Scripting", "org.kde.kwin.Scripting", "start", ("()", ()), "()")
            line = wait_until("the script's output", lambda: self._output(marker), timeout=10)
        finally:
            self._call("/Scripting", "org.kde.kwin.Scripting", "unloadScript", ("(s)", (marker,)),
                       "(b)")
            os.remove(script)
        return json.loads(line)

    def _output(self, marker):
        with open(self._log, errors="replace") as log:
            for line in log:
                if f"{marker} " in line:
                    return line.split(f"{marker} ", 1)[1].strip()
        return None

    def _window(self, window):
        for found in self._run_script(WINDOWS):
            if found["id"] == window:
                return found
        raise Failure(f"no window {window}")

    def windows_named(self, title):
        return [found["id"] for found in self._run_script(WINDOWS) if found["title"] == title]

    def frame(self, window):
        """Left, top, width and height of the window with the frame KWin gives it."""
        return tuple(self._window(window)["frame"])

    geometry = frame

    def desktop_entry(self, window):
        return self._window(window)["entry"]

    def active_window(self):
        return next((found["id"] for found in self._run_script(WINDOWS) if found["active"]), 0)

    def _client(self, window):
        return (f"workspace.clientList().filter(function (w) "
                f"{{ return w.internalId.toString() === {json.dumps(window)}; }})[0]")

    def activate(self, window):
        self._run_script(f"(workspace.activeClient = {self._client(window)}) && true")
        wait_until("the window to be active", lambda: self.active_window() == window)

    def close_window(self, window):
        """What Alt+F4 and the title bar's close button do in KWin."""
        self._run_script(f"{self._client(window)}.closeWindow() || true")
