"""What a blind user hears: Orca, GNOME's screen reader, runs with Tallyvex on an X11 display
(Xvfb and openbox), on a private session bus with its own accessibility bus, with a private
HOME and no audio device. Its debug log is the speech: every "SPEECH OUTPUT:" line.

    screen_reader.py <tallyvex executable>

Each step is done as a person would, with the keyboard or a click, and what Orca says after it
must hold the expected phrases in order."""

import fcntl
import os
import re
import subprocess
import sys
import tempfile
import termios
import threading

from accessibility import AccessibilityBus
from desktop import Desktop, Failure, Process, check, wait_until

TITLE = "TALLYVEX !"
# What Orca says of a long run of one character, where its versions differ: Orca 43 counts the
# run, later versions read it as it stands.
LONG_RUN = {43: "{count} {character} characters"}
# What a line of Orca's debug log says when Orca takes the focus to be on a text box: "Changing
# locusOfFocus from … to [text | Operand B]" (Orca 43), "… locus of focus from … to [text:
# 'Operand B']" (Orca 48).
FOCUS_ON = r"Changing locus ?of ?focus from .* to \[text(?: \| |: ')%s'?\]"
# What a line of Orca's debug log says it spoke.
SPEECH = re.compile(r"^[\d:.]+ - SPEECH OUTPUT: '(.*?)' ?\{", re.DOTALL | re.MULTILINE)


class Orca(Process):
    """Orca, which writes its debug log to a terminal of the test's: there Python writes it a
    line at a time, so the speech can be followed as it comes."""

    def __init__(self, display, bus, home):
        master, terminal = os.openpty()
        attributes = termios.tcgetattr(terminal)
        attributes[1] &= ~termios.OPOST  # lines as written, without carriage returns
        termios.tcsetattr(terminal, termios.TCSANOW, attributes)
        self._log = []  # what the reader has received, in pieces
        self._received = 0  # how many pieces are already in self._unread
        self._unread = ""  # the log past the last line of speech found
        self._spoken = []
        self._reader = threading.Thread(target=self._read, args=(master,), daemon=True)
        self._reader.start()
        # Its speech server, started on demand, keeps its socket in the runtime folder.
        runtime = os.path.join(home, "runtime")
        os.mkdir(runtime, 0o700)
        # No braille display: its library would wait for one. Not --replace: it arms a SIGALRM
        # that is never disarmed, and 2 s later Orca's handler writes to the debug log from
        # within whatever it is writing there, which fails the event being read or stalls Orca.
        super().__init__(["orca", "--disable", "braille", "--user-prefs", home,
                          f"--debug-file={os.ttyname(terminal)}"],
                         dict(display.env, **bus.environment(), HOME=home,
                              XDG_RUNTIME_DIR=runtime, GSETTINGS_BACKEND="memory"))
        self._terminal = terminal
        self._heard = 0
        self._step_start = 0  # the pieces of the log received before the current step
        self.says("Orca starts", "Screen reader on.")
        # Orca 48 registers the listeners of its start only after it has begun to speak: while
        # the registry is stopped, each registration waits for D-Bus's timeout, and the
        # program's keys with it. Orca 43 and 48 both log this as their start's last step.
        self._waits_for_log("Orca to finish starting",
                            lambda log: "SCRIPT MANAGER: Activated" in log, since=0)

    def _read(self, master):
        while True:
            try:
                chunk = os.read(master, 65536)
            except OSError:
                return
            if not chunk:
                return
            self._log.append(chunk.decode("utf-8", errors="replace"))

    def speech(self):
        """Everything Orca has said so far, as one text; the log is searched once."""
        received = len(self._log)
        self._unread += "".join(self._log[self._received:received])
        self._received = received
        end = 0
        for line in SPEECH.finditer(self._unread):
            self._spoken.append(" ".join(line[1].split()))
            end = line.end()
        self._unread = self._unread[end:]
        return " ".join(self._spoken)

    def says(self, what, *phrases, in_order=True, never=None):
        """Waits until Orca has said the phrases since the last step: in their order, or in any
        order where in_order is false; and fails where it said never among them."""
        def ends():
            spoken, found = self.speech(), []
            for phrase in phrases:
                at = spoken.find(phrase, found[-1] if in_order and found else self._heard)
                if at < 0:
                    return None
                found.append(at + len(phrase))
            return found
        try:
            found = wait_until(f"Orca to say {phrases}", ends, timeout=30)
        except Failure:
            said = self.speech()[self._heard:]
            raise Failure(f"{what}: Orca said {said[-300:]!r}, not all of {phrases} "
                          f"({self.kept_log()})")
        said = self.speech()[self._heard:max(found)]
        self._heard = max(found)
        self._step_start = len(self._log)
        check(never is None or never not in said,
              f"{what}: Orca said {said[-160:]!r}" + (f", not {never!r}" if never else ""))

    def follows_focus(self, what, name):
        """Waits until Orca takes the focus to be on the text box name, whether or not it says so:
        behind, Orca 48 takes a selection change in the box that has just got the focus as the
        focus moving there, unspoken, and then the focus event as no change."""
        pattern = re.compile(FOCUS_ON % re.escape(name), re.IGNORECASE)
        self._waits_for_log(f"{what}: Orca to follow the focus to {name}", pattern.search,
                            since=self._step_start)
        self._step_start = len(self._log)

    def _waits_for_log(self, what, found, since):
        """Waits until found holds for the debug log from its piece since on; a failure keeps
        the log."""
        try:
            wait_until(what, lambda: found("".join(self._log[since:])))
        except Failure as failure:
            raise Failure(f"{failure} ({self.kept_log()})")

    def kept_log(self):
        """Keeps the whole debug log, with every event Orca received and what it made of it, for
        a step that failed; says where."""
        with open("orca-debug.log", "w") as file:
            file.write("".join(self._log))
        return f"its debug log: {os.path.abspath('orca-debug.log')}"

    def stop(self):
        super().stop()
        os.close(self._terminal)


def orca_version():
    """Orca's major version: "43.1", or "Orca version 48.1, AT-SPI2 version: 2.56.2"."""
    output = subprocess.run(["orca", "--version"], capture_output=True, text=True).stdout
    return int(re.search(r"(\d+)\.\d+", output)[1])


def announcement(tree):
    """How Orca says a text the program announces, as a format: a notification that appears,
    where Qt is older than 6.8; the announcement itself from Qt 6.8, which has an event for it."""
    qt = tuple(int(number) for number in tree.root.get_toolkit_version().split(".")[:2])
    return "{}" if qt >= (6, 8) else "notification {}"


def long_run(character, count):
    return LONG_RUN.get(orca_version(), "{character}" * count).format(character=character,
                                                                     count=count)


def one_orca_at_a_time():
    """Orca refuses to start where another Orca of its user runs anywhere on the machine (it
    looks for one by process name), so the suites side by side, in the other release's root too,
    which shares this /tmp, take their turns."""
    lock = open(os.path.join(tempfile.gettempdir(), "tallyvex-orca.lock"), "w")
    fcntl.flock(lock, fcntl.LOCK_EX)
    return lock


def main(executable):
    with one_orca_at_a_time(), tempfile.TemporaryDirectory(prefix="tallyvex-orca-") as home, \
            Desktop() as display:
        display.env.pop("SESSION_MANAGER", None)
        bus = AccessibilityBus()
        program = Process([executable], dict(display.env, **bus.environment()))
        orca = None
        try:
            tree = bus.application(program.process.pid)
            display.wait_for_window(TITLE)
            wait_until("the focus in A", lambda: tree.focused() == "Operand A")
            # A product beyond the double range, typed before Orca starts so that it need not
            # echo 320 digits; MULTIPLY then stops with an error box and the focus stays in B,
            # whose 160 nines Orca reads as one run.
            display.type("9" * 160)
            display.key("Tab")
            display.type("9" * 160)
            orca = Orca(display, bus, home)
            said = announcement(tree).format
            orca.says("Orca finds the window", "Operand B")

            # With the registry behind, the program gets its copies of the Alt press and release
            # back only after M has fired the shortcut (xdotool, like many a hand, lets go of
            # Alt first): they must not open the menu bar, which would keep the focus once the
            # box has closed. The registry answers only once the shortcut's box is up, so the
            # keys have reached the program while it was stopped. Qt asks the registry for its
            # listeners, and waits for the answer, whenever a screen reader registers one: where
            # Orca was still registering as the registry stopped, the program takes the keys only
            # once that question has timed out, after D-Bus's 25 s.
            with bus.registry_behind():
                display.key("alt+m")
                try:
                    display.wait_for_window("Error !", timeout=60)
                except Failure as failure:
                    raise Failure(f"{failure} ({orca.kept_log()})")
            orca.says("Alt+M: an overflow's error box", "Error !", "Run-time error '6'")
            display.key("Escape")
            display.wait_for_no_window("Error !")
            orca.says("the error box closed by Escape", "Operand B", long_run("9", 160))
            # Orca on A, and then on B, before going on: a reader that falls behind passes over a
            # focus that has already moved on, and would then hear no move at all: not to B,
            # where it still is, nor back to A.
            display.key("alt+c")
            wait_until("the focus in A", lambda: tree.focused() == "Operand A")
            orca.follows_focus("Alt+C", "Operand A")

            display.type("345")
            display.key("Tab")
            orca.follows_focus("345 in A, Tab", "Operand B")
            display.type("5")
            display.key("alt+a")
            # Orca 43 reads the announcement first, Orca 48 the focus.
            orca.says("5, Alt+A", said("350"), "Operand A", "345 selected", in_order=False)
            display.key("alt+m")
            orca.says("Alt+M with the focus in A", said("1725"))
            display.key("alt+m")  # the same result again
            orca.says("Alt+M again", said("1725"))
            display.key("alt+g")  # the box is emptied on the way to the result, and not read
            orca.says("Alt+G", said("345"), never="blank")
            display.key("BackSpace")
            display.key("alt+d")
            orca.says("Backspace in A, Alt+D", said("blank"), said("Enter The Values !"))
            display.type("9")
            display.click(*tree.centre_on_screen("push button", "SUBTRACT"))
            # A click takes the focus to the button and the program gives it back to A at once.
            # Orca, when it falls behind, passes over both moves and then believes the focus
            # never left A, so it may not read A's selection here; it is heard after Help.
            orca.says("9 in A, a click on SUBTRACT", said("4"))
            display.key("alt+h")
            orca.says("Alt+H", "HELP !")
            display.key("Escape")
            display.wait_for_no_window("HELP !")
            orca.says("HELP ! closed by Escape", "Operand A", "9 selected")
            display.key("alt+c")
            orca.says("Alt+C after a result", said("blank"))
        finally:
            if orca:
                orca.stop()
            program.stop()
            bus.close()


if __name__ == "__main__":
    try:
        main(os.path.abspath(sys.argv[1]))
    except Failure as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
    print("Orca reads Tallyvex's results, messages and selections")
