"""What a blind user hears: Orca, GNOME's screen reader, runs with Tallyvex on an X11 display
(Xvfb and openbox), on a private session bus with its own accessibility bus, with a private
HOME and no audio device. Its debug log is the speech: every "SPEECH OUTPUT:" line.

    screen_reader.py <tallyvex executable>

Each step is done as a person would, with the keyboard or a click, and what Orca says after it
must hold the expected phrases in order."""

import datetime
import os
import re
import sys
import tempfile
import time

from accessibility import AccessibilityBus
from desktop import Desktop, Failure, Process, wait_until

TITLE = "TALLYVEX !"
# A line of Orca's debug log that it spoke, with its time of day.
SPEECH = re.compile(r"^(\d\d:\d\d:\d\d\.\d+) - SPEECH OUTPUT: '(.*?)' ?\{",
                    re.DOTALL | re.MULTILINE)
# How long Orca is given to take in the window, and to speak after each step.
STARTUP, SETTLE = 6.0, 2.0


class Orca(Process):
    """Orca, whose debug log is written in blocks: it is read once Orca has ended."""

    def __init__(self, display, bus, home):
        self.log = os.path.join(home, "orca.log")
        # Its speech server, started on demand, keeps its socket in the runtime folder.
        runtime = os.path.join(home, "runtime")
        os.mkdir(runtime, 0o700)
        # No braille display: its library would wait for one.
        super().__init__(["orca", "--replace", "--disable", "braille", "--user-prefs", home,
                          f"--debug-file={self.log}"],
                         dict(display.env, **bus.environment(), HOME=home,
                              XDG_RUNTIME_DIR=runtime, GSETTINGS_BACKEND="memory"))

    def speech(self):
        """What Orca said, as (time, text) pairs, once it has ended."""
        self.process.terminate()
        self.process.wait(30)
        with open(self.log, encoding="utf-8", errors="replace") as log:
            return SPEECH.findall(log.read())


def now():
    return datetime.datetime.now().strftime("%H:%M:%S.%f")


def main(executable):
    with tempfile.TemporaryDirectory(prefix="tallyvex-orca-") as home, Desktop() as display:
        display.env.pop("SESSION_MANAGER", None)
        bus = AccessibilityBus()
        orca = Orca(display, bus, home)
        program = Process([executable], dict(display.env, **bus.environment()))
        steps = []  # (what, when, what Orca must say after it, whether in that order)

        def step(what, *phrases, in_order=True):
            steps.append((what, now(), phrases, in_order))

        def settle():
            time.sleep(SETTLE)

        try:
            tree = bus.application(program.process.pid)
            display.wait_for_window(TITLE)
            wait_until("the focus in A", lambda: tree.focused() == "Operand A")
            time.sleep(STARTUP)  # Orca meets the window

            step("345 in A, Tab, 5, Alt+A", "350", "Operand A", "345 selected")
            display.type("345")
            display.key("Tab")
            display.type("5")
            display.key("alt+a")
            settle()
            step("Alt+M with the focus in A", "1725")
            display.key("alt+m")
            settle()
            step("Backspace in A, Alt+D", "Enter The Values !")
            display.key("BackSpace")
            display.key("alt+d")
            settle()
            # After a click, unlike a key, Orca reads the two in either order.
            step("9 in A, a click on SUBTRACT", "4", "9 selected", in_order=False)
            display.type("9")
            display.click(*tree.centre_on_screen("push button", "SUBTRACT"))
            settle()
            step("Alt+H, then Escape", "HELP !", "Operand A", "9 selected")
            display.key("alt+h")
            display.wait_for_window("HELP !")
            settle()
            display.key("Escape")
            display.wait_for_no_window("HELP !")
            settle()
            step("Alt+C", "blank")
            display.key("alt+c")
            settle()
            # A product beyond the double range stops MULTIPLY with an error box; the focus
            # stays in B, whose 160 nines Orca reads as one run.
            display.type("9" * 160)
            display.key("Tab")
            display.type("9" * 160)
            settle()
            step("an overflow's error box, then Escape", "Run-time error '6'", "Operand B",
                 "160 9 characters")
            display.key("alt+m")
            display.wait_for_window("Error !")
            settle()
            display.key("Escape")
            display.wait_for_no_window("Error !")
            settle()
            step("the end")
        finally:
            program.stop()
            speech = orca.speech()
            bus.close()

        failed = []
        for (what, start, phrases, in_order), (_, end, _, _) in zip(steps, steps[1:]):
            said = " ".join(" ".join(text for when, text in speech if start <= when < end).split())
            at = 0
            for phrase in phrases:
                at = said.find(phrase, at if in_order else 0)
                if at < 0:
                    break
                at += len(phrase)
            shown = f"{said[:160]!r}{'...' if len(said) > 160 else ''}"
            if at < 0:
                failed.append(f"{what}: Orca said {shown}, not {' then '.join(phrases)}")
            else:
                print(f"ok: {what}: Orca said {shown}", flush=True)
        if failed:
            raise Failure("\n".join(failed))


if __name__ == "__main__":
    try:
        main(os.path.abspath(sys.argv[1]))
    except Failure as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
    print("Orca reads Tallyvex's results, messages and selections")
