"""A desktop's own process for the end-to-end tests (GNOME Shell, KWin), run as root in a mount
and process namespace of its own with a private session bus: what it mounts stays inside, and
everything it starts, the buses and Xwayland included, ends with it."""

import os
import subprocess

from desktop import Failure, wait_until

# The mounts stay in the namespace: "/" is made private first. In a chroot whose root is not a
# mount point that cannot be done, and what the desktop mounts would reach the host's mounts.
SCRIPT = """\
if ! mount --make-rprivate / 2>/dev/null; then
    echo "{NOT_PRIVATE}"
    exit 1
fi
{setup}
exec dbus-run-session {bus_options} -- sh -c 'echo "$DBUS_SESSION_BUS_ADDRESS" > {folder}/bus.tmp
    mv {folder}/bus.tmp {folder}/bus
    exec {command}'
"""
NOT_PRIVATE = ("the root folder is not a mount point (a chroot?), so the desktop's mounts could "
               "not be kept private; make it one first: mount --bind ROOT ROOT")


class PrivateSession:
    def __init__(self, folder, command, env, setup="", bus_config=None):
        """Runs setup, then command on the session bus; the output goes to folder/output.log."""
        from gi.repository import Gio, GLib
        self._GLib = GLib
        self.log = os.path.join(folder, "output.log")
        script = SCRIPT.format(setup=setup, folder=folder, command=command, NOT_PRIVATE=NOT_PRIVATE,
                               bus_options=f"--config-file={bus_config}" if bus_config else "")
        with open(self.log, "w") as log:
            self.process = subprocess.Popen(
                ["unshare", "--mount", "--propagation", "unchanged", "--pid", "--fork",
                 "--kill-child", "--mount-proc", "sh", "-ec", script],
                env=env, stdout=log, stderr=subprocess.STDOUT)
        try:
            bus_file = os.path.join(folder, "bus")
            wait_until(f"{command.split()[0]}'s session bus",
                       lambda: os.path.exists(bus_file) or self.process.poll() is not None)
            if not os.path.exists(bus_file):
                with open(self.log, errors="replace") as log:
                    raise Failure(f"{command.split()[0]} did not start: {log.read().strip()}")
            with open(bus_file) as file:
                self._bus = Gio.DBusConnection.new_for_address_sync(
                    file.read().strip(), Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                    | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        except BaseException:
            self.kill()
            raise

    def call(self, name, path, interface, method, arguments, reply):
        """A D-Bus call on the session bus; arguments as (signature, values)."""
        GLib = self._GLib
        return self._bus.call_sync(name, path, interface, method, GLib.Variant(*arguments),
                                   GLib.VariantType(reply), 0, 10000, None).unpack()

    def kill(self):
        # unshare ignores SIGTERM while it waits; killed, it takes its namespace with it.
        self.process.kill()
        self.process.wait()
