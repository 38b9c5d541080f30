"""The Windows setup program under Wine, in a fresh prefix on a private X display with a window
manager. The silent install puts the deployed folder under Program Files, a Start-menu shortcut
to the program with its icon, and an entry in the list of installed programs with the version
record's product name, version and publisher. The program starts from the shortcut as the Start
menu starts it. The silent uninstall then leaves nothing of the installation behind.

    windows_installer.py <setup program> <deployed folder> <tallyvex.rc>

Wine's settings come from the environment (tools/wine-env sets them); the prefix is the test's own."""

import filecmp
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

from desktop import Desktop, Failure, Process, check, wait_until
from wine import windows_path, without_qt_tree

INSTALLED = r"C:\Program Files\Tallyvex"
SHORTCUT = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tallyvex.lnk"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyvex"


def version_record(rc_file):
    """The string values of the version record: ProductName, CompanyName, ProductVersion..."""
    with open(rc_file, encoding="utf-8") as rc:
        return dict(re.findall(r'^\s*VALUE "(\w+)", "([^"]*)"$', rc.read(), re.MULTILINE))


def shortcut(path):
    """The target, the icon's file and the icon's index of a shell link (.lnk) file."""
    with open(path, "rb") as link:
        data = link.read()
    flags, icon_index = struct.unpack_from("<I", data, 20)[0], struct.unpack_from("<i", data, 56)[0]
    at = 76  # past the header
    if flags & 0x1:  # an item list of the target
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = None
    if flags & 0x2:  # the link's information, with the target's local path
        size, local_path = struct.unpack_from("<I", data, at)[0], struct.unpack_from("<I", data, at + 16)[0]
        start = at + local_path
        target = data[start:data.index(b"\0", start)].decode("latin-1")
        at += size
    strings = {}
    width = 2 if flags & 0x80 else 1
    for bit, name in ((0x4, "name"), (0x8, "relative path"), (0x10, "working folder"),
                      (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            text = data[at + 2:at + 2 + count * width]
            # Wine counts the closing NUL in.
            strings[name] = text.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0")
            at += 2 + count * width
    return target, strings.get("icon"), icon_index


def window_program(desktop, window):
    """The program whose process shows the window, by the Windows path Wine gives it."""
    pid = desktop.xdotool("getwindowpid", str(window)).strip()
    with open(f"/proc/{pid}/cmdline", "rb") as command_line:
        return command_line.read().split(b"\0")[0].decode()


def tree(root):
    """Every file and folder under root, but for the users' temporary folders."""
    found = set()
    for folder, dirs, files in os.walk(root):
        relative = os.path.relpath(folder, root)
        if re.fullmatch(r"users/[^/]+/(AppData/Local/)?Temp(/.*)?", relative):
            continue
        found.update(os.path.join(relative, name) for name in dirs + files)
    return found


class Wine:
    """Wine in a prefix of its own, on the desktop's display."""

    def __init__(self, desktop, prefix):
        self.prefix = prefix
        self.env = dict(without_qt_tree(desktop.env), WINEPREFIX=prefix)

    def run(self, *args):
        return subprocess.run(["wine", *args], env=self.env, capture_output=True, text=True)

    def unix_path(self, windows_path):
        drive, rest = windows_path.split(":", 1)
        return os.path.join(self.prefix, f"drive_{drive.lower()}", *rest.strip("\\").split("\\"))

    def registry_key(self, key):
        """The key's values by name, or None where the key is missing."""
        result = self.run("reg", "query", key)
        if result.returncode != 0:
            return None
        values = (re.split(r" {4}", line.strip(), maxsplit=2)
                  for line in result.stdout.splitlines() if line.startswith("    "))
        return {value[0]: value[2] if len(value) > 2 else "" for value in values}


def same_files(left, right):
    """Both folders hold the same files with the same contents."""
    comparison = filecmp.dircmp(left, right)
    if comparison.left_only or comparison.right_only or comparison.funny_files:
        return False
    _, mismatch, errors = filecmp.cmpfiles(left, right, comparison.common_files, shallow=False)
    return not mismatch and not errors and all(
        same_files(os.path.join(left, d), os.path.join(right, d)) for d in comparison.common_dirs)


def run(setup, folder, rc_file):
    prefix = tempfile.mkdtemp(prefix="tallyvex-installer-")
    try:
        with Desktop() as desktop:
            wine = Wine(desktop, prefix)
            try:
                scenario(desktop, wine, setup, folder, version_record(rc_file))
            finally:
                subprocess.run(["wineserver", "--kill"], env=wine.env)
    finally:
        shutil.rmtree(prefix, ignore_errors=True)


def scenario(desktop, wine, setup, folder, record):
    check(wine.run("wineboot", "--init").returncode == 0, "a fresh prefix")
    drive_c = wine.unix_path("C:")
    before = tree(drive_c)

    check(wine.run(windows_path(setup), "/S").returncode == 0,
          "the silent install ends with status 0")
    installed = wine.unix_path(INSTALLED)
    with tempfile.TemporaryDirectory() as expected:
        shutil.copytree(folder, expected, dirs_exist_ok=True)
        shutil.copy(os.path.join(installed, "uninstall.exe"), expected)
        check(same_files(installed, expected),
              f"{INSTALLED} holds the deployed folder and the uninstaller")

    entry = wine.registry_key(UNINSTALL_KEY) or {}
    check((entry.get("DisplayName"), entry.get("DisplayVersion"), entry.get("Publisher"))
          == (record["ProductName"], record["ProductVersion"], record["CompanyName"]),
          f"the installed programs list {entry.get('DisplayName')} {entry.get('DisplayVersion')}"
          f" by {entry.get('Publisher')}, as the version record names them")
    uninstaller = INSTALLED + r"\uninstall.exe"
    check(entry.get("QuietUninstallString") == f'"{uninstaller}" /S'
          and entry.get("DisplayIcon") == INSTALLED + r"\tallyvex.exe,0",
          "the entry names the uninstaller and the program's icon")

    link = wine.unix_path(SHORTCUT)
    check(os.path.isfile(link), "the Start menu has the shortcut")
    program = INSTALLED + r"\tallyvex.exe"
    check(shortcut(link) == (program, program, 0),
          "the shortcut starts the installed program and shows its icon")

    # As the Start menu starts it: the shell opens the shortcut.
    starter = Process(["wine", "start", "/unix", link], wine.env)
    try:
        window = desktop.wait_for_window("TALLYVEX !", timeout=60)
        check(window_program(desktop, window) == program,
              "the shortcut starts the installed program")
        desktop.activate(window)
        desktop.key("alt+F4")
        contact = desktop.wait_for_window("CONTACT !")
        desktop.activate(contact)
        desktop.key("Return")
        desktop.wait_for_no_window("TALLYVEX !")
    finally:
        starter.stop()

    check(wine.run(uninstaller, "/S").returncode == 0, "the silent uninstall ends with status 0")
    # The uninstaller works on from a copy of itself, so that it can remove its own file.
    wait_until("the uninstaller to finish", lambda: not os.path.exists(installed)
               and wine.registry_key(UNINSTALL_KEY) is None)
    check(not os.path.exists(link), "the program, its entry and its shortcut have gone")
    left = tree(drive_c) ^ before
    check(not left, f"nothing of the installation is left: {sorted(left)}")


if __name__ == "__main__":
    try:
        run(*sys.argv[1:4])
    except Failure as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
    print("the setup program installs, starts and uninstalls Tallyvex under Wine")
