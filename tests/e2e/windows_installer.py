"""The Windows setup program and the Windows Installer package under Wine, in a fresh prefix on a
private X display with a window manager, as a user and an administrator meet them over time.

Each case begins and ends with nothing installed. The setup program, silent: it installs the
deployed folder with a Start-menu shortcut and an entry in the list of installed programs named
as the version record names the program, and the program starts from the shortcut. A next version,
which ships one file fewer and one more, updates it in place and keeps the user's own file; the
older setup then refuses to go back. While Tallyvex runs, setup and uninstaller refuse and change
nothing, and succeed once it has ended. /CurrentUser installs into the user's own folders and
hive. The package installs, starts, is upgraded, refuses a downgrade and uninstalls the same way,
also from a folder chosen with INSTALLDIR; neither installs for all users over the other. The
next version of each is made here from the same scripts with the version raised. The setup
program, the package and the program are signed by the test's certificate, and so is the
uninstaller, once installed.

    windows_installer.py <Windows build folder> <the certificate its files are signed with>

Wine's settings come from the environment (tools/wine-env sets them); the prefix is the test's own."""

import filecmp
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import uuid

from desktop import Desktop, Failure, Process, check, wait_until
from wine import windows_path, without_qt_tree

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
# The setup program's exit statuses for a running Tallyvex, for a newer one installed, and for
# the package's installation.
EXIT_RUNNING, EXIT_NEWER_INSTALLED, EXIT_PACKAGE_INSTALLED = 3, 4, 7


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
        self._user_folders = None  # %LOCALAPPDATA% and %APPDATA%, once asked for

    def run(self, *args):
        return subprocess.run(["wine", *args], env=self.env, capture_output=True, text=True)

    def unix_path(self, windows_path):
        drive, rest = windows_path.split(":", 1)
        return os.path.join(self.prefix, f"drive_{drive.lower()}", *rest.strip("\\").split("\\"))

    def places(self, mode):
        """Where an installation for all users or for the current user keeps the program's
        folder, its shortcut and its entry: Windows paths, and the registry key."""
        if mode == "/AllUsers":
            return (r"C:\Program Files\Tallyvex",
                    r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tallyvex.lnk",
                    "HKLM\\" + UNINSTALL + r"\Tallyvex")
        if self._user_folders is None:
            self._user_folders = self.run("cmd", "/c", "echo %LOCALAPPDATA%;%APPDATA%").stdout
        local, roaming = self._user_folders.strip().split(";")
        return (local + r"\Programs\Tallyvex",
                roaming + r"\Microsoft\Windows\Start Menu\Programs\Tallyvex.lnk",
                "HKCU\\" + UNINSTALL + r"\Tallyvex")

    def registry_key(self, key):
        """The key's values by name, or None where the key is missing."""
        result = self.run("reg", "query", key)
        return registry_values(result.stdout) if result.returncode == 0 else None

    def package_entry(self, name):
        """The values of the installed programs' entry that a Windows Installer package named
        name made (under its ProductCode), or None."""
        listing = self.run("reg", "query", "HKLM\\" + UNINSTALL, "/s").stdout
        entries = map(registry_values, re.split(r"\r?\n(?=HKEY_)", listing))
        return next((entry for entry in entries if entry.get("DisplayName") == name), None)


def registry_values(listing):
    """The values by name that reg query lists for one key."""
    values = (re.split(r" {4}", line.strip(), maxsplit=2)
              for line in listing.splitlines() if line.startswith("    "))
    return {value[0]: value[2] if len(value) > 2 else "" for value in values}


def same_files(left, right):
    """Both folders hold the same files with the same contents."""
    comparison = filecmp.dircmp(left, right)
    if comparison.left_only or comparison.right_only or comparison.funny_files:
        return False
    _, mismatch, errors = filecmp.cmpfiles(left, right, comparison.common_files, shallow=False)
    return not mismatch and not errors and all(
        same_files(os.path.join(left, d), os.path.join(right, d)) for d in comparison.common_dirs)


def snapshot(path):
    """The file or folder at path and everything under it, each with its size and the time it
    last changed: a program that rewrites a file, even with the same bytes, changes it."""
    paths = [path] + [os.path.join(folder, name)
                      for folder, dirs, files in os.walk(path) for name in dirs + files]
    return {os.path.relpath(found, path): (status.st_size, status.st_ctime_ns)
            for found in paths if os.path.lexists(found) for status in [os.lstat(found)]}


class Build:
    """The Windows build's setup program and package, and the next version of each, made here
    from a copy of the deployed folder without one file and with one more."""

    DROPPED, ADDED = "imageformats/qgif.dll", "next-version.txt"

    def __init__(self, folder, work, certificate):
        self.certificate = certificate
        version = subprocess.run(["bash", os.path.join(TOOLS, "project-version"), folder],
                                 check=True, capture_output=True, text=True).stdout.strip()
        self.record = version_record(os.path.join(folder, "app", "tallyvex.rc"))
        self.version_text = self.record["ProductVersion"]
        self.folder = os.path.join(folder, "deploy", "tallyvex")
        self.setup = os.path.join(folder, f"tallyvex-{version}-setup.exe")
        self.msi = os.path.join(folder, f"tallyvex-{version}-x64.msi")

        numbers = version.split(".")
        numbers[-1] = str(int(numbers[-1]) + 1)
        start, last = self.version_text.rsplit(".", 1)
        self.next_version_text = f"{start}.{int(last) + 1:0{len(last)}d}"
        self.next_folder = os.path.join(work, "tallyvex")
        shutil.copytree(self.folder, self.next_folder)
        os.remove(os.path.join(self.next_folder, self.DROPPED))
        os.rmdir(os.path.dirname(os.path.join(self.next_folder, self.DROPPED)))
        with open(os.path.join(self.next_folder, self.ADDED), "w", encoding="utf-8") as added:
            added.write("a file only the next version ships\n")
        self.next_setup = os.path.join(work, "tallyvex-next-setup.exe")
        self.next_msi = os.path.join(work, "tallyvex-next-x64.msi")
        subprocess.run(["bash", os.path.join(TOOLS, "make-windows-installer"), self.next_folder,
                        os.path.join(folder, "app", "tallyvex.nsi"), self.next_setup,
                        f"-DVERSION={'.'.join(numbers)}", f"-DVERSION_TEXT={self.next_version_text}"],
                       check=True)
        subprocess.run(["bash", os.path.join(TOOLS, "make-windows-msi"), self.next_folder,
                        os.path.join(folder, "app", "tallyvex.wxs"), self.next_msi,
                        "-D", f"Version={self.next_version_text}",
                        "-D", f"ProductCode={str(uuid.uuid4()).upper()}"], check=True)


def signed(build, path):
    """osslsigncode accepts the file's signature, with the build's certificate as the one root."""
    return subprocess.run(["osslsigncode", "verify", "-CAfile", build.certificate, "-in", path],
                          capture_output=True).returncode == 0


def run(build_folder, certificate):
    prefix = tempfile.mkdtemp(prefix="tallyvex-installer-")
    work = tempfile.mkdtemp(prefix="tallyvex-next-version-")
    try:
        build = Build(build_folder, work, certificate)
        for path in build.setup, build.msi, os.path.join(build.folder, "tallyvex.exe"):
            check(signed(build, path), f"{os.path.basename(path)} is signed")
        with Desktop() as desktop:
            wine = Wine(desktop, prefix)
            try:
                check(wine.run("wineboot", "--init").returncode == 0, "a fresh prefix")
                drive_c = wine.unix_path("C:")
                for case in (setup_updates_and_refuses, setup_for_the_current_user, package):
                    before = tree(drive_c)
                    # Windows Installer's cache stays once msiexec has run, and each case tells
                    # which other folders of the system's its installation made.
                    system_folders = case(desktop, wine, build) | {"windows/Installer"}
                    left = tree(drive_c) ^ before
                    check(left <= system_folders,
                          f"nothing of the installation is left: {sorted(left - system_folders)}")
            finally:
                subprocess.run(["wineserver", "--kill"], env=wine.env)
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
        shutil.rmtree(work, ignore_errors=True)


def check_installed(wine, folder, deployed, *extra):
    """folder holds the deployed folder and the extra files, nothing else."""
    with tempfile.TemporaryDirectory() as expected:
        shutil.copytree(deployed, expected, dirs_exist_ok=True)
        for file in extra:
            shutil.copy(file, expected)
        check(same_files(wine.unix_path(folder), expected),
              f"{folder} holds the deployed folder{' and ' if extra else ''}"
              f"{', '.join(os.path.basename(file) for file in extra)}")


def check_entry(entry, build, version_text):
    record = build.record
    entry = entry or {}
    check((entry.get("DisplayName"), entry.get("DisplayVersion"), entry.get("Publisher"))
          == (record["ProductName"], version_text, record["CompanyName"]),
          f"the installed programs list {entry.get('DisplayName')} {entry.get('DisplayVersion')}"
          f" by {entry.get('Publisher')}, as the version record names them")


def check_nsis_installation(wine, mode, deployed, build, version_text, *extra):
    folder, link, key = wine.places(mode)
    uninstaller = folder + r"\uninstall.exe"
    check_installed(wine, folder, deployed, wine.unix_path(uninstaller), *extra)
    entry = wine.registry_key(key)
    check_entry(entry, build, version_text)
    check(entry.get("QuietUninstallString") == f'"{uninstaller}" /S'
          and entry.get("DisplayIcon") == folder + r"\tallyvex.exe,0",
          "the entry names the uninstaller and the program's icon")
    program = folder + r"\tallyvex.exe"
    check(shortcut(wine.unix_path(link)) == (program, program, 0),
          "the Start menu's shortcut starts the installed program and shows its icon")


def start(desktop, wine, args, program):
    """Starts Tallyvex and waits for its window, which the installed program must show."""
    process = Process(["wine", *args], wine.env)
    window = desktop.wait_for_window("TALLYVEX !", timeout=60)
    check(window_program(desktop, window) == program, f"{program} runs")
    return process, window


def close(desktop, process, window):
    try:
        desktop.activate(window)
        desktop.key("alt+F4")
        contact = desktop.wait_for_window("CONTACT !")
        desktop.activate(contact)
        desktop.key("Return")
        desktop.wait_for_no_window("TALLYVEX !")
    finally:
        process.stop()


def start_from_shortcut(desktop, wine, link, program):
    # As the Start menu starts it: the shell opens the shortcut.
    close(desktop, *start(desktop, wine, ["start", "/unix", wine.unix_path(link)], program))


def check_refused(wine, what, status, args, folder, link, entry):
    """Running args ends with status (any but 0 where None) and changes neither the folder, nor
    the shortcut, nor the entry."""
    state = snapshot(folder), snapshot(link), entry()
    result = wine.run(*args)
    check((result.returncode != 0 if status is None else result.returncode == status)
          and state == (snapshot(folder), snapshot(link), entry()),
          f"{what}: status {result.returncode}, and nothing changed")


def setup_updates_and_refuses(desktop, wine, build):
    folder, link, key = wine.places("/AllUsers")
    installed = wine.unix_path(folder)
    check(wine.run(windows_path(build.setup), "/S").returncode == 0,
          "the silent install ends with status 0")
    check_nsis_installation(wine, "/AllUsers", build.folder, build, build.version_text)
    check(signed(build, os.path.join(installed, "uninstall.exe")), "the uninstaller is signed")
    start_from_shortcut(desktop, wine, link, folder + r"\tallyvex.exe")

    mine = os.path.join(installed, "my notes.txt")
    with open(mine, "w", encoding="utf-8") as notes:
        notes.write("the user's own\n")
    check(wine.run(windows_path(build.next_setup), "/S").returncode == 0,
          "the next version's silent install over it ends with status 0")
    check_nsis_installation(wine, "/AllUsers", build.next_folder, build, build.next_version_text,
                            mine)

    def refused(what, status, *args):
        check_refused(wine, what, status, args, installed, wine.unix_path(link),
                      lambda: wine.registry_key(key))

    refused("the older setup over the newer installation", EXIT_NEWER_INSTALLED,
            windows_path(build.setup), "/S")
    refused("the package over the setup's installation", None,
            "msiexec", "/i", windows_path(build.next_msi), "/qn")

    # An uninstaller started from its folder returns at once, leaving a copy of itself to do the
    # work; its status is had from a copy run with _?=, as setup runs it. The folder after _?=
    # must stand unquoted, as only a command file can pass it.
    with tempfile.TemporaryDirectory() as temporary:
        copy = os.path.join(temporary, "uninstall.bat")
        shutil.copy(os.path.join(installed, "uninstall.exe"), temporary)
        with open(copy, "w", encoding="utf-8") as commands:
            commands.write(f'@"{windows_path(temporary)}\\uninstall.exe" /S _?={folder}\r\n'
                           "@exit /b %errorlevel%\r\n")
        process, window = start(desktop, wine, [folder + r"\tallyvex.exe"],
                                folder + r"\tallyvex.exe")
        try:
            refused("setup while Tallyvex runs", EXIT_RUNNING, windows_path(build.next_setup), "/S")
            refused("the uninstaller while Tallyvex runs", EXIT_RUNNING, "cmd", "/c",
                    windows_path(copy))
        finally:
            close(desktop, process, window)
        check(wine.run(windows_path(build.next_setup), "/S").returncode == 0,
              "once Tallyvex has ended, setup ends with status 0")
        check(wine.run("cmd", "/c", windows_path(copy)).returncode == 0,
              "and so does the uninstaller")
    check(sorted(os.listdir(installed)) == ["my notes.txt"] and wine.registry_key(key) is None
          and not os.path.exists(wine.unix_path(link)),
          "the uninstaller took away all it installed, and left the user's own file")
    shutil.rmtree(installed)
    return set()


def setup_for_the_current_user(desktop, wine, build):
    folder, link, key = wine.places("/CurrentUser")
    check(wine.run(windows_path(build.setup), "/S", "/CurrentUser").returncode == 0,
          "the silent install for the current user ends with status 0")
    check_nsis_installation(wine, "/CurrentUser", build.folder, build, build.version_text)
    check(wine.registry_key(wine.places("/AllUsers")[2]) is None,
          "nothing is registered for all users")
    # As the list of installed programs runs it.
    uninstall = wine.registry_key(key)["QuietUninstallString"]
    check(wine.run(*re.fullmatch(r'"([^"]+)" (/S)', uninstall).groups()).returncode == 0,
          "the silent uninstall ends with status 0")
    # The uninstaller works on from a copy of itself, so that it can remove its own file.
    wait_until("the uninstaller to finish", lambda: not os.path.exists(wine.unix_path(folder))
               and wine.registry_key(key) is None)
    # The user's Programs folder is the shell's, there for other programs too.
    return {os.path.relpath(os.path.dirname(wine.unix_path(folder)), wine.unix_path("C:"))}


def package(desktop, wine, build):
    folder = wine.places("/AllUsers")[0]
    name = build.record["ProductName"]
    check(wine.run("msiexec", "/i", windows_path(build.msi), "/qn").returncode == 0,
          "msiexec installs the package quietly with status 0")
    check_installed(wine, folder, build.folder)
    check_entry(wine.package_entry(name), build, build.version_text)
    # Windows puts a package's shortcut for all users into the common Start menu; Wine 8 puts
    # it into the user's.
    links = [link for link in (wine.places(mode)[1] for mode in ("/AllUsers", "/CurrentUser"))
             if os.path.isfile(wine.unix_path(link))]
    check(len(links) == 1, f"the Start menu has the shortcut: {links}")
    program = folder + r"\tallyvex.exe"
    target, icon, index = shortcut(wine.unix_path(links[0]))
    check(target == program and os.path.isfile(wine.unix_path(icon)) and index == 0,
          "the shortcut starts the installed program and shows the package's icon")
    start_from_shortcut(desktop, wine, links[0], program)

    check(wine.run("msiexec", "/i", windows_path(build.next_msi), "/qn").returncode == 0,
          "the next version's package upgrades it with status 0")
    check_installed(wine, folder, build.next_folder)
    check_entry(wine.package_entry(name), build, build.next_version_text)
    for what, status, args in (
            ("the older package", None, ("msiexec", "/i", windows_path(build.msi), "/qn")),
            ("setup over the package's installation", EXIT_PACKAGE_INSTALLED,
             (windows_path(build.setup), "/S"))):
        check_refused(wine, what, status, args, wine.unix_path(folder), wine.unix_path(links[0]),
                      lambda: wine.package_entry(name))
    check(wine.run("msiexec", "/x", windows_path(build.next_msi), "/qn").returncode == 0
          and wine.package_entry(name) is None and not os.path.exists(wine.unix_path(folder)),
          "msiexec uninstalls it quietly with status 0")

    # Into a folder of the administrator's choice, and out of it again when not told it.
    folder = r"C:\Tallyvex"
    check(wine.run("msiexec", "/i", windows_path(build.msi), "/qn", f"INSTALLDIR={folder}")
          .returncode == 0, f"with INSTALLDIR={folder}, msiexec installs it there")
    check_installed(wine, folder, build.folder)
    check(wine.run("msiexec", "/x", windows_path(build.msi), "/qn").returncode == 0
          and not os.path.exists(wine.unix_path(folder)), "and uninstalls it from there")
    return set()


if __name__ == "__main__":
    try:
        run(sys.argv[1], sys.argv[2])
    except Failure as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
    print("setup and the package install, update, refuse and uninstall Tallyvex under Wine")
