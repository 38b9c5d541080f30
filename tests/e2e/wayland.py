"""A private Wayland compositor for the end-to-end tests: sway's headless backend (wlroots, from
Debian), driven through its IPC (swaymsg) and typed into with wtype. The same interface as
desktop.Desktop, less the pointer: a headless sway has no pointer device, and Debian ships no
tool that adds one, so everything here is done from the keyboard."""

import json
import os
import pwd
import shutil
import subprocess
import tempfile

from desktop import Display, Failure, wait_until

CONFIG = """\
output HEADLESS-1 resolution {width}x{height}
xwayland disable
bindsym Mod1+F4 kill
"""


class Compositor(Display):
    WIDTH, HEIGHT = 1024, 768
    has_pointer = False
    other_program = ["weston-flower"]
    takes_wayland_clients = True

    def __init__(self):
        super().__init__()
        self._folder = tempfile.mkdtemp(prefix="tallyvex-wayland-")
        os.chmod(self._folder, 0o755)  # the compositor may run as another user
        # sway refuses to run as root; as root, it runs as nobody in a folder of nobody's.
        compositor_runtime = os.path.join(self._folder, "compositor")
        client_runtime = os.path.join(self._folder, "clients")
        os.mkdir(compositor_runtime, 0o700)
        os.mkdir(client_runtime, 0o700)
        as_user = []
        if os.getuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(compositor_runtime, nobody.pw_uid, nobody.pw_gid)
            as_user = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}",
                       "--clear-groups"]
        config = os.path.join(self._folder, "sway.conf")
        with open(config, "w") as file:
            file.write(CONFIG.format(width=self.WIDTH, height=self.HEIGHT))
        compositor_env = {k: v for k, v in os.environ.items()
                          if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK")}
        compositor_env.update(XDG_RUNTIME_DIR=compositor_runtime, HOME=self._folder,
                              WLR_BACKENDS="headless", WLR_RENDERER="pixman",
                              WLR_LIBINPUT_NO_DEVICES="1")
        self._processes.append(subprocess.Popen(
            [*as_user, "sway", "--config", config], env=compositor_env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        socket = wait_until("the compositor's socket",
                            lambda: self._socket(compositor_runtime, "wayland-"))
        ipc = wait_until("the compositor's IPC socket",
                         lambda: self._socket(compositor_runtime, "sway-ipc."))
        # Clients keep a runtime folder of their own; the display is named by its full path.
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
        self.env.update(XDG_RUNTIME_DIR=client_runtime, WAYLAND_DISPLAY=socket, SWAYSOCK=ipc,
                        QT_QPA_PLATFORM="wayland")
        # A keyboard that stays: when the last virtual keyboard goes, the seat has none and the
        # focused window loses the keyboard focus.
        self._keyboard = subprocess.Popen(["wtype", "-"], stdin=subprocess.PIPE, env=self.env)
        self._processes.append(self._keyboard)
        wait_until("the keyboard", lambda: self._seat_has_keyboard())

    @staticmethod
    def _socket(folder, prefix):
        for name in os.listdir(folder):
            if name.startswith(prefix) and not name.endswith(".lock"):
                return os.path.join(folder, name)
        return None

    def _seat_has_keyboard(self):
        seats = json.loads(self._swaymsg("-t", "get_seats"))
        return any(device.get("type") == "keyboard" for seat in seats for device in seat["devices"])

    def close(self):
        super().close()
        shutil.rmtree(self._folder, ignore_errors=True)

    def _swaymsg(self, *args):
        result = subprocess.run(["swaymsg", *args], env=self.env, capture_output=True, text=True)
        if result.returncode != 0:
            raise Failure(f"swaymsg {' '.join(args)}: {result.stdout.strip()} {result.stderr.strip()}")
        return result.stdout

    def _views(self):
        def walk(node):
            if node.get("pid"):
                yield node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                yield from walk(child)
        return list(walk(json.loads(self._swaymsg("-t", "get_tree"))))

    def windows_named(self, title):
        return [view["id"] for view in self._views() if view.get("name") == title]

    def _view(self, window):
        for view in self._views():
            if view["id"] == window:
                return view
        raise Failure(f"no window {window}")

    def frame(self, window):
        """Left, top, width and height of the window with the border sway draws."""
        return tuple(self._view(window)["rect"][k] for k in ("x", "y", "width", "height"))

    def desktop_entry(self, window):
        """The app id, which names the desktop entry on Wayland."""
        return self._view(window).get("app_id")

    def activate(self, window):
        self._swaymsg(f"[con_id={window}]", "focus")
        wait_until("the window to be active", lambda: self.active_window() == window)

    def active_window(self):
        return next((view["id"] for view in self._views() if view.get("focused")), 0)

    def close_window(self, window):
        """What the window's close button does: the compositor asks the program to close it."""
        self._swaymsg(f"[con_id={window}]", "kill")

    def key(self, *keys):
        """Keys as xdotool names them: "Return", "alt+h", "shift+Left"."""
        for key in keys:
            *modifiers, name = key.split("+")
            args = []
            for modifier in modifiers:
                args += ["-M", modifier]
            args += ["-k", name]
            for modifier in reversed(modifiers):
                args += ["-m", modifier]
            subprocess.run(["wtype", "-d", "40", *args], env=self.env, check=True)

    def type(self, text):
        subprocess.run(["wtype", "-d", "40", text], env=self.env, check=True)
