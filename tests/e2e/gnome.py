"""GNOME's Wayland session for the end-to-end tests: GNOME Shell, headless, on a virtual monitor,
with Xwayland, as root. Windows are read and keys typed through the shell's own JavaScript
(org.gnome.Shell.Eval, opened by a small extension), so what is checked is what Mutter and the
shell's window tracker themselves say. The shell has a system bus of its own and sees no
systemd, so it never reaches the host's logind or system bus."""

import json
import os
import re
import shutil
import subprocess
import tempfile

from desktop import Display, Failure, wait_until
from session import PrivateSession

# Lets org.gnome.Shell.Eval run; the shell refuses it otherwise.
EXTENSION_UUID = "eval@tallyvex.test"
# GNOME Shell 45 and later load an extension as a module.
LEGACY_EXTENSION = ("function init() { return { enable() { global.context.unsafe_mode = true; }, "
                    "disable() {} }; }\n")
MODULE_EXTENSION = """\
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';
export default class extends Extension {
    enable() { global.context.unsafe_mode = true; }
    disable() {}
}
"""


def shell_version():
    """GNOME Shell's major version, from "GNOME Shell 43.9"."""
    output = subprocess.run(["gnome-shell", "--version"], capture_output=True, text=True).stdout
    return int(re.search(r"(\d+)\.", output)[1])
SYSTEM_BUS = """\
[ -d /run/systemd ] && mount -t tmpfs tmpfs /run/systemd
mkdir -p /run/dbus && mount -t tmpfs tmpfs /run/dbus
dbus-daemon --system --fork"""
# The shell's session bus starts no services, and its socket goes with the test's folder.
# Without an accessibility bus of its own, whose address it would publish on Xwayland's root
# window for Qt to take, the program publishes its tree on the test's bus.
SESSION_BUS = """\
<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
  </policy>
</busconfig>
"""
# Every window the shell shows, as Mutter frames it and as the window tracker names its app.
WINDOWS = """
global.get_window_actors().map(actor => actor.meta_window).map(w => {
    const frame = w.get_frame_rect();
    const app = imports.gi.Shell.WindowTracker.get_default().get_window_app(w);
    return {id: w.get_id(), title: w.get_title(),
            frame: [frame.x, frame.y, frame.width, frame.height], app: app ? app.get_id() : null,
            x11: w.get_client_type() === imports.gi.Meta.WindowClientType.X11,
            focused: w.has_focus(), maximize: w.can_maximize(), minimize: w.can_minimize()};
})"""
STARTUP_S = 120
MODIFIERS = {"alt": "Alt_L", "shift": "Shift_L", "ctrl": "Control_L"}
KEYBOARD = """
const seat = imports.gi.Clutter.get_default_backend().get_default_seat();
global._tallyvexKeyboardAdded = false;
seat.connect("device-added", (seat, device) => {
    if (device.get_device_type() === imports.gi.Clutter.InputDeviceType.KEYBOARD_DEVICE)
        global._tallyvexKeyboardAdded = true;
});
global._tallyvexKeyboard = seat.create_virtual_device(
    imports.gi.Clutter.InputDeviceType.KEYBOARD_DEVICE);
"""


class GnomeShell(Display):
    WIDTH, HEIGHT = 1024, 768
    has_pointer = False
    # Mutter types only what its keymap has, and the US keypad's decimal key is KP_Decimal. The
    # X11 layer sends KP_Separator to the same platform, xcb.
    types_keypad_separator = False
    other_program = ["weston-flower"]
    takes_wayland_clients = True

    def __init__(self, prefix):
        """prefix: where the program is installed, its desktop entry under share/."""
        super().__init__()
        self._folder = tempfile.mkdtemp(prefix="tallyvex-gnome-")
        runtime = os.path.join(self._folder, "runtime")
        os.mkdir(runtime, 0o700)
        extension = os.path.join(self._folder, "data/gnome-shell/extensions", EXTENSION_UUID)
        os.makedirs(extension)
        version = shell_version()
        with open(os.path.join(extension, "metadata.json"), "w") as file:
            json.dump({"uuid": EXTENSION_UUID, "name": "Eval", "description": "Tests",
                       "shell-version": [str(version)]}, file)
        with open(os.path.join(extension, "extension.js"), "w") as file:
            file.write(MODULE_EXTENSION if version >= 45 else LEGACY_EXTENSION)
        with open(os.path.join(self._folder, "session-bus.conf"), "w") as file:
            file.write(SESSION_BUS.format(folder=self._folder))
        settings = os.path.join(self._folder, "config/glib-2.0/settings")
        os.makedirs(settings)
        with open(os.path.join(settings, "keyfile"), "w") as file:
            file.write(f"[org/gnome/shell]\nenabled-extensions=['{EXTENSION_UUID}']\n")

        shell_env = {k: v for k, v in os.environ.items()
                     if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "QT_QPA_PLATFORM")}
        # The installed entry is found as on a system where the program is in /usr: on the
        # PATH, its entry in the data folders.
        shell_env.update(HOME=self._folder, XDG_RUNTIME_DIR=runtime,
                         XDG_CONFIG_HOME=os.path.join(self._folder, "config"),
                         XDG_DATA_HOME=os.path.join(self._folder, "data"),
                         XDG_DATA_DIRS=f"{prefix}/share:/usr/local/share:/usr/share",
                         PATH=f"{prefix}/bin:{os.environ['PATH']}",
                         GSETTINGS_BACKEND="keyfile")
        self._shell = PrivateSession(
            self._folder, f"gnome-shell --headless --wayland --virtual-monitor "
            f"{self.WIDTH}x{self.HEIGHT} --wayland-display=tallyvex", shell_env,
            setup=SYSTEM_BUS, bus_config=os.path.join(self._folder, "session-bus.conf"))
        try:
            # A whole desktop starting on a loaded machine: generous limits, which cost nothing
            # when it is quick.
            wait_until("GNOME Shell to take scripts", self._takes_scripts, timeout=STARTUP_S)
            # The shell starts in the overview, whose search would take the keys; while it
            # starts up or the overview closes, a new window is not given the focus. It is
            # closed once the start-up animation is over: closed during it, the animation never
            # ends and the shell stays starting up.
            wait_until("the overview to close", lambda: self._eval(
                "if (!Main.layoutManager._startingUp) Main.overview.hide(); "
                "!Main.layoutManager._startingUp && !Main.overview.visible"
                " && !Main.overview.animationInProgress"), timeout=STARTUP_S, interval=0.5)
            # The keyboard a person types on. Keys sent before the seat has added it are lost.
            self._eval(KEYBOARD)
            wait_until("the virtual keyboard", lambda: self._eval("global._tallyvexKeyboardAdded"))
            # A session's clients: GNOME's desktop names, its Wayland display, and Xwayland's.
            self.env = {k: v for k, v in os.environ.items() if k != "QT_QPA_PLATFORM"}
            self.env.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="tallyvex",
                            DISPLAY=self._eval('GLib.getenv("DISPLAY")'),
                            XAUTHORITY=self._eval('GLib.getenv("XAUTHORITY")'),
                            XDG_CURRENT_DESKTOP="GNOME", XDG_SESSION_DESKTOP="gnome",
                            XDG_SESSION_TYPE="wayland")
        except BaseException:
            self.close()
            raise

    def _takes_scripts(self):
        try:
            return self._eval("global.context.unsafe_mode")
        except Exception:
            return False

    def _eval(self, script):
        succeeded, value = self._shell.call("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell",
                                            "Eval", ("(s)", (script,)), "(bs)")
        if not succeeded:
            raise Failure(f"GNOME Shell: {value}")
        return json.loads(value) if value else None

    def close(self):
        self._shell.kill()
        super().close()
        # Killed, Xwayland leaves its displays' locks behind, and the shell would in time find
        # no free display.
        with open(self._shell.log, errors="replace") as log:
            displays = re.search(r"Using public X11 display :(\d+), \(using :(\d+)", log.read())
        for number in displays.groups() if displays else ():
            for path in (f"/tmp/.X{number}-lock", f"/tmp/.X11-unix/X{number}"):
                if os.path.exists(path):
                    os.remove(path)
        shutil.rmtree(self._folder, ignore_errors=True)

    def _windows(self):
        return self._eval(WINDOWS)

    def window_facts(self, window):
        """What Mutter and the tracker say of the window, as WINDOWS gives it."""
        for found in self._windows():
            if found["id"] == window:
                return found
        raise Failure(f"no window {window}")

    def windows_named(self, title):
        return [found["id"] for found in self._windows() if found["title"] == title]

    def frame(self, window):
        """Left, top, width and height of the window with the frame Mutter gives it."""
        return tuple(self.window_facts(window)["frame"])

    def desktop_entry(self, window):
        """The desktop entry the shell's window tracker ties the window to."""
        return self.window_facts(window)["app"]

    def _meta_window(self, window):
        return ("global.get_window_actors().map(a => a.meta_window)"
                f".find(w => w.get_id() === {window})")

    def activate(self, window):
        self._eval(f"{self._meta_window(window)}.activate(global.get_current_time())")
        wait_until("the window to be active", lambda: self.active_window() == window)

    def active_window(self):
        return next((found["id"] for found in self._windows() if found["focused"]), 0)

    def close_window(self, window):
        """What the close button in Mutter's title bar does."""
        self._eval(f"{self._meta_window(window)}.delete(global.get_current_time())")

    def _keyval(self, keyval, pressed):
        state = "PRESSED" if pressed else "RELEASED"
        self._eval(f"global._tallyvexKeyboard.notify_keyval(GLib.get_monotonic_time(), {keyval}, "
                   f"imports.gi.Clutter.KeyState.{state})")

    def key(self, *keys):
        """Keys as xdotool names them: "Return", "alt+h", "shift+Left"."""
        for key in keys:
            *modifiers, name = key.split("+")
            held = [f"imports.gi.Clutter.KEY_{MODIFIERS[m]}" for m in modifiers]
            for keyval in held:
                self._keyval(keyval, True)
            self._keyval(f"imports.gi.Clutter.KEY_{name}", True)
            self._keyval(f"imports.gi.Clutter.KEY_{name}", False)
            for keyval in reversed(held):
                self._keyval(keyval, False)

    def type(self, text):
        for character in text:
            keyval = f"imports.gi.Clutter.unicode_to_keysym({ord(character)})"
            self._keyval(keyval, True)
            self._keyval(keyval, False)

