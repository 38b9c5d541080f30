"""The program's accessibility tree as the desktop's screen readers see it (AT-SPI), on a
private session bus: which control has the focus, its text and selection, its place in the
window, the tooltip shown. Needs Debian's python3-gi and gir1.2-atspi-2.0, so it runs under
/usr/bin/python3."""

import contextlib
import os
import signal
import subprocess
import tempfile

from desktop import Failure, wait_until


# Role names as at-spi 2.46 gives them, for the ones later versions renamed.
RENAMED_ROLES = {"button": "push button"}


def role_name(node):
    name = node.get_role_name()
    return RENAMED_ROLES.get(name, name)


class AccessibilityBus:
    """A session bus of our own, with the accessibility bus and registry started on demand.
    Programs started with environment() publish their tree on it."""

    def __init__(self):
        # The accessibility bus's socket goes into the runtime folder: one of its own, so that
        # tests running side by side do not share it.
        self._runtime = tempfile.TemporaryDirectory(prefix="tallyvex-a11y-")
        read_end, write_end = os.pipe()
        self._daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", f"--print-address={write_end}"],
            pass_fds=[write_end], stderr=subprocess.DEVNULL,
            env=dict(os.environ, XDG_RUNTIME_DIR=self._runtime.name))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.address = pipe.readline().strip()
        if not self.address:
            raise Failure("dbus-daemon did not start")
        # libatspi reads the address when it first connects, so it is set before the import.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.address
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        self.Atspi = Atspi
        # Start the accessibility bus now, so a program that starts next finds it.
        Atspi.get_desktop(0).get_child_count()
        # A connection of our own to it, for calls whose reply is not awaited.
        from gi.repository import Gio, GLib
        flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                 | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        session = Gio.DBusConnection.new_for_address_sync(self.address, flags, None, None)
        accessibility_address, = session.call_sync(
            "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
            GLib.VariantType("(s)"), 0, 10000, None).unpack()
        self._connection = Gio.DBusConnection.new_for_address_sync(accessibility_address, flags,
                                                                   None, None)

    def environment(self):
        return {"DBUS_SESSION_BUS_ADDRESS": self.address, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}

    @contextlib.contextmanager
    def registry_behind(self):
        """The accessibility registry stopped for the time of the block, as on a busy machine. A
        Qt program hands each key press to the registry, for the screen reader, before acting on
        it, and gets it back once the registry answers or 100 ms have passed."""
        from gi.repository import GLib
        pid, = self._connection.call_sync(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "GetConnectionUnixProcessID", GLib.Variant("(s)", ("org.a11y.atspi.Registry",)),
            GLib.VariantType("(u)"), 0, 10000, None).unpack()
        os.kill(pid, signal.SIGSTOP)
        try:
            yield
        finally:
            os.kill(pid, signal.SIGCONT)

    def application(self, pid, timeout=30.0):
        """The tree of the program running as process pid."""
        def find():
            desktop = self.Atspi.get_desktop(0)
            for i in range(desktop.get_child_count()):
                child = desktop.get_child_at_index(i)
                # Qt's tree: where Qt loads GTK for the desktop's theme (GNOME), GTK's
                # accessibility bridge publishes an empty one for the same process.
                if (child is not None and child.get_process_id() == pid
                        and child.get_toolkit_name() == "Qt"):
                    return child
            return None
        return Application(self.Atspi, self._connection,
                           wait_until("the program on the accessibility bus", find, timeout))

    def close(self):
        self._daemon.terminate()
        self._daemon.wait()
        self._runtime.cleanup()


class Application:
    def __init__(self, atspi, connection, root):
        self.Atspi = atspi
        self._connection = connection
        self.root = root

    def _all(self, node=None):
        node = node or self.root
        yield node
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                yield from self._all(child)

    def control(self, role, name):
        for node in self._all():
            if role_name(node) == role and node.get_name() == name:
                return node
        raise Failure(f"no {role} named {name!r}")

    def press(self, role, name):
        """Activates the control as a screen reader does, by its first action. Does not wait
        for the reply, which an action that opens a box sends only once the box is closed."""
        from gi.repository import GLib
        control = self.control(role, name)
        self._connection.call(control.app.bus_name, control.path, "org.a11y.atspi.Action",
                              "DoAction", GLib.Variant("(i)", (0,)), None, 0, -1, None, None)

    def focus(self, role, name):
        self.control(role, name).grab_focus()

    def set_text(self, name, text):
        self.control("text", name).set_text_contents(text)

    def has_focus(self, role, name):
        """Whether the control is there and has the keyboard focus."""
        return any(role_name(node) == role and node.get_name() == name
                   and node.get_state_set().contains(self.Atspi.StateType.FOCUSED)
                   for node in self._all())

    def focused(self):
        """The name of the control that has the keyboard focus, or None."""
        for node in self._all():
            if node.get_state_set().contains(self.Atspi.StateType.FOCUSED):
                return node.get_name()
        return None

    def focusable_names(self):
        """Role and name of every control that can take the focus."""
        return [(role_name(node), node.get_name()) for node in self._all()
                if node.get_state_set().contains(self.Atspi.StateType.FOCUSABLE)]

    def text_and_selection(self, name):
        """The text of the text box, its selection (start, end) and its caret."""
        # Through the interfaces by name: at-spi 2.56 gives Accessible a get_text and a
        # get_selection of its own.
        Text = self.Atspi.Text
        box = self.control("text", name)
        text = Text.get_text(box, 0, -1)
        caret = Text.get_caret_offset(box)
        if Text.get_n_selections(box) == 0:
            return text, (caret, caret), caret
        selection = Text.get_selection(box, 0)
        return text, (selection.start_offset, selection.end_offset), caret

    def extents(self, role, name):
        """Left, top, width and height of the control on the screen."""
        extents = self.Atspi.Component.get_extents(self.control(role, name),
                                                   self.Atspi.CoordType.SCREEN)
        return extents.x, extents.y, extents.width, extents.height

    def centre_on_screen(self, role, name):
        x, y, width, height = self.extents(role, name)
        return x + width // 2, y + height // 2

    def tooltip(self):
        for node in self._all():
            if role_name(node) == "tool tip" and node.get_state_set().contains(
                    self.Atspi.StateType.SHOWING):
                return node.get_name()
        return None
