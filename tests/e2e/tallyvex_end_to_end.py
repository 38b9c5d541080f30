"""Tallyvex on a real display, driven from outside as a person would, and read back through the
accessibility tree: on X11 with openbox or KWin, with keyboard and mouse; on Wayland in sway and
in GNOME Shell (where the program goes through Xwayland) with the keyboard; and in KWin on
Wayland through the accessibility tree's actions.

    tallyvex_end_to_end.py x11|wayland|gnome|kwin|kwin-x11|installed <installed folder>

The program runs from the build installed into a folder, as a package installs it, so that a
desktop finds the program's entry.

Every message box is closed each way the display allows (a click on OK, Return, Escape, or its
accessible action), and the focus and the selection are checked where the program puts them
afterwards."""

import os
import re
import sys
import tempfile

import contrast
from accessibility import AccessibilityBus
from desktop import Desktop, Failure, Process, check, wait_until
from gnome import GnomeShell
from kwin import KWin, KWinX11
from wayland import Compositor

TITLE = "TALLYVEX !"

# Every text of the window but the banner, which keeps its own two colours, with its least
# contrast: the program's own 3:1 for the labels, WCAG 2's 4.5:1 for the boxes' text.
TEXTS = [("label", "TALLYVEX", 3), ("label", "ENTER THE VALUE OF  '  A  '", 3),
         ("label", "ENTER THE VALUE OF  '  B  '", 3), ("label", "ACCURATE  OUTPUT", 3),
         ("label", "MY HOMEPAGE : ", 3), ("label", os.environ.get("TALLYVEX_HOME_PAGE_HOST"), 3),
         ("text", "Operand A", 4.5), ("text", "Output", 4.5)]
# The colours of KDE Plasma's Breeze Dark scheme that Qt reads from kdeglobals.
BREEZE_DARK = """[Colors:Button]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241
[Colors:View]
BackgroundNormal=35,38,41
ForegroundNormal=239,240,241
[Colors:Window]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241
[Colors:Selection]
BackgroundNormal=61,174,233
ForegroundNormal=252,252,252
"""


# The start, one row a configuration: the X display and the Wayland display each working, stale
# (named, with nothing there) or unset; the environment and the arguments; then the platform
# Qt starts and the window opens on, or the first line written where none could start and the
# start of the program's advice after what Qt said.
GNOME = {"XDG_CURRENT_DESKTOP": "GNOME"}
NO_DISPLAY = ("qt.qpa.xcb: could not connect to display{x}",
              "tallyvex: no display could be reached")
NO_BOGUS = ('qt.qpa.plugin: Could not find the Qt platform plugin "bogus" in ""',
            'tallyvex: Qt has no platform "bogus"')
START = [
    ("X", "working", None, {}, [], "xcb"),
    ("X stale", "stale", None, {}, [], NO_DISPLAY),
    ("no display", None, None, {}, [], NO_DISPLAY),
    ("Wayland", None, "working", {}, [], "wayland"),
    ("Wayland stale", None, "stale", {}, [],
     ("Failed to create wl_display (No such file or directory)", NO_DISPLAY[1])),
    ("both", "working", "working", {}, [], "wayland"),
    ("both, GNOME", "working", "working", GNOME, [], "xcb"),
    ("X stale, GNOME", "stale", "working", GNOME, [], "wayland"),
    ("Wayland stale beside X", "working", "stale", {}, [], "xcb"),
    ("xcb", "working", "working", {"QT_QPA_PLATFORM": "xcb"}, [], "xcb"),
    ("wayland, GNOME", "working", "working", dict(GNOME, QT_QPA_PLATFORM="wayland"), [], "wayland"),
    ("wayland-egl", "working", "working", {"QT_QPA_PLATFORM": "wayland-egl"}, [], "wayland-egl"),
    ("a name Qt lacks", "working", "working", {"QT_QPA_PLATFORM": "bogus"}, [], NO_BOGUS),
    ("offscreen", None, None, {"QT_QPA_PLATFORM": "offscreen"}, [], "offscreen"),
    ("-platform offscreen", None, None, {}, ["-platform", "offscreen"], "offscreen"),
    ("-platform wayland, GNOME", "working", "working", GNOME, ["-platform", "wayland"], "wayland"),
    ("-platform xcb over wayland", "working", "working", {"QT_QPA_PLATFORM": "wayland"},
     ["-platform", "xcb"], "xcb"),
    ("-platform bogus", "working", None, {}, ["-platform", "bogus"], NO_BOGUS),
]
# What Qt says of the platform it started, where its plugin loading is logged.
STARTED = re.compile(r'Successfully loaded Qt platform plugin "([^"]+)"')


class Program(Process):
    """One running copy, its window and its accessibility tree."""

    def __init__(self, scenarios, extra_env=None, window=True):
        self.display = scenarios.display
        env = dict(self.display.env, **scenarios.bus.environment(), **(extra_env or {}))
        super().__init__([scenarios.executable], env)
        scenarios.started.append(self)
        try:
            self.tree = scenarios.bus.application(self.process.pid)
        except Failure:
            if self.process.poll() is None:
                raise
            raise Failure(f"the program ended, status {self.process.returncode}, before its window")
        if window:
            self.window = self.display.wait_for_window(TITLE)
            self.wait_for_focus("Operand A")

    def wait_for_focus(self, name):
        wait_until(f"the focus in {name}", lambda: self.tree.focused() == name)



class Scenarios:
    def __init__(self, display, bus, executable):
        self.display = display
        self.bus = bus
        self.executable = executable
        self.started = []
        self.keyboard = display.has_keyboard
        # A click on OK where there is a pointer, Return and Escape where there is a keyboard;
        # with neither, OK's accessible action, as a screen reader's user would press it.
        self.closings = ((["click"] if display.has_pointer else [])
                         + (["Return", "Escape"] if self.keyboard else ["press"]))

    @property
    def screen(self):
        return (0, 0, self.display.WIDTH, self.display.HEIGHT)

    def check_centred(self, what, window, area, exactly=True):
        """The window's centre, with its frame, on the area's centre (left, top, width, height):
        to the pixel, but for the twips' rounding, where the program centres it; else within an
        eighth of the area, since window managers place a box over the middle by rules of their
        own (Mutter a little above it)."""
        frame = self.display.frame(window)
        check(all(abs(2 * frame[i] + frame[i + 2] - 2 * area[i] - area[i + 2])
                  <= (2 if exactly else area[i + 2] / 4) for i in (0, 1)),
              f"{what} is centred over {area}: its frame at {frame}")

    def close_box(self, program, title, how, over=None):
        """Closes the box, once active; first checks that it is centred over the area given."""
        box = self.display.wait_for_window(title)
        wait_until(f'"{title}" to be active', lambda: self.display.active_window() == box)
        if over:
            self.check_centred(f'"{title}"', box, over, exactly=False)
        if how in ("Return", "Escape"):
            # A key reaches the box once the program has given it the focus, which can come after
            # the desktop has made the box active.
            wait_until(f'the focus on "{title}"\'s OK',
                       lambda: program.tree.has_focus("push button", "OK"))
        if how == "click":
            self.display.click(*program.tree.centre_on_screen("push button", "OK"))
        elif how == "press":
            program.tree.press("push button", "OK")
        else:
            self.display.key(how)
        self.display.wait_for_no_window(title)

    def click_control(self, program, role, name, button=1):
        self.display.click(*program.tree.centre_on_screen(role, name), button)

    def run(self, only_start_up=False):
        if only_start_up:
            scenarios = (self.start_up,)
        elif self.keyboard:
            scenarios = (self.start_table, self.start_up, self.session_platform, self.comma_locale,
                         self.readable_palettes, self.information_boxes, self.switching_away,
                         self.second_copy, self.untrapped_error, self.tooltip, self.exit_keys,
                         self.close_keys, self.close_button, self.ends_every_time,
                         self.clipboard_kept)
        else:
            scenarios = (self.start_up, self.information_boxes, self.second_copy,
                         self.close_button)
        try:
            for scenario in scenarios:
                scenario()
        finally:
            for program in self.started:
                program.stop()

    def start_table(self):
        """Each row of START, where the Wayland compositor has an X display beside it."""
        if not isinstance(self.display, Compositor):
            return
        wayland = self.display
        with Desktop() as x, tempfile.TemporaryDirectory() as folder:
            number = next(n for n in range(199, 0, -1)
                          if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
            displays = {
                "DISPLAY": {"working": x.display, "stale": f":{number}"},
                "WAYLAND_DISPLAY": {"working": wayland.env["WAYLAND_DISPLAY"],
                                    "stale": os.path.join(os.path.dirname(
                                        wayland.env["WAYLAND_DISPLAY"]), "wayland-stale")},
            }
            # A locale every system has, which Qt takes without a word.
            base = {k: v for k, v in wayland.env.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE",
                                 "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "LANGUAGE")}
            base.update(LC_ALL="C.UTF-8", LANG="C.UTF-8")
            for row, (name, x_state, wayland_state, env, arguments, expected) in enumerate(START):
                env = dict(base, **env)
                for variable, state in (("DISPLAY", x_state), ("WAYLAND_DISPLAY", wayland_state)):
                    if state:
                        env[variable] = displays[variable][state]
                if isinstance(expected, str):
                    env["QT_LOGGING_RULES"] = "qt.qpa.plugin.debug=true"
                log = os.path.join(folder, f"{row}.log")
                with open(log, "w") as stderr:
                    program = Process([self.executable, *arguments], env, stderr)

                def said():
                    with open(log) as written:
                        return written.read()

                try:
                    if isinstance(expected, str):
                        started = wait_until(f"{name}: Qt to start a platform",
                                             lambda: STARTED.search(said()))[1]
                        on = {"xcb": x, "wayland": wayland, "wayland-egl": wayland}.get(started)
                        if on:
                            wait_until(f"{name}: the window", lambda: on.windows_named(TITLE))
                        shown = [d for d in (x, wayland) if d.windows_named(TITLE)]
                        check(started == expected and shown == ([on] if on else []),
                              f"{name}: the window opens on {started}, on "
                              f"{'the X display' if on is x else 'Wayland' if on else 'neither'}")
                    else:
                        status = program.exit_status()
                        lines = said().splitlines()
                        first = expected[0].format(x=f" {env['DISPLAY']}" if x_state else "")
                        check(status == 1 and lines and lines[0].rstrip() == first
                              and lines[-1].startswith(expected[1]),
                              f"{name}: status 1, {first!r} first and {expected[1]!r} last: "
                              f"status {status}, {lines}")
                finally:
                    program.stop()

    def start_up(self):
        program = Program(self)
        unnamed = [role for role, name in program.tree.focusable_names() if not name]
        check(not unnamed, f"every control that takes the focus has an accessible name {unnamed}")
        if self.keyboard:
            self.add_two_and_three(program)
        entry = getattr(self.display, "desktop_entry", None)
        if entry:
            found = entry(program.window)
            check(found and found.removesuffix(".desktop") == os.environ["TALLYVEX_APP_ID"],
                  f"the desktop ties the window to its entry: {found}")
        self.check_centred("the window", program.window, self.screen)
        self.finish(program)

    def add_two_and_three(self, program):
        self.display.type("2")
        self.display.key("Tab")
        program.wait_for_focus("Operand B")
        self.display.type("3")
        self.display.key("alt+a")
        wait_until("the sum", lambda: program.tree.text_and_selection("Output")[0] == "5")
        program.wait_for_focus("Operand A")
        check(program.tree.text_and_selection("Operand A")[:2] == ("2", (0, 1)),
              "2 + 3 shows 5, and A has the focus with its text selected")

    def session_platform(self):
        """Where the desktop reports how it manages the window (GNOME): through Xwayland, with
        no title-bar button that does nothing; on Wayland where the user asks for it."""
        facts = getattr(self.display, "window_facts", None)
        if not facts:
            return
        for env, x11 in (({}, True), ({"QT_QPA_PLATFORM": "wayland"}, False)):
            program = Program(self, env)
            window = facts(program.window)
            check(window["x11"] == x11, f"with {env or 'no platform chosen'}, the window is on "
                  f"{'Xwayland' if window['x11'] else 'Wayland'}")
            if x11:
                self.display.key("alt+h")
                box = facts(self.display.wait_for_window("HELP !"))
                check(not window["maximize"] and not box["maximize"] and not box["minimize"],
                      "no Maximize on the window, neither Minimize nor Maximize on a box")
                self.close_box(program, "HELP !", "Return")
                # One copy per session, whichever platform each copy runs on.
                other = Program(self, {"QT_QPA_PLATFORM": "wayland"}, window=False)
                self.close_box(other, "Error !", "Return")
                check(other.exit_status() == 0 and program.runs(),
                      "a copy on Wayland beside the one on Xwayland is refused")
                self.display.activate(program.window)
            self.finish(program)

    def comma_locale(self):
        """Where the decimal separator is ",", the typed "." is the decimal point all the same,
        results show ",", and the keypad's decimal key types "." whichever character it has."""
        program = Program(self, {"LC_ALL": "de_DE.UTF-8", "LANG": "de_DE.UTF-8"})
        self.display.type("2")
        self.display.key("Tab")
        program.wait_for_focus("Operand B")
        self.display.type("0.5")
        self.display.key("alt+p")
        root_of_two = "1,4142135623731"
        wait_until("the power", lambda: program.tree.text_and_selection("Output")[0] == root_of_two)
        check(not self.display.windows_named("Error !"),
              f"in a \",\" locale, 2 POW 0.5 shows {root_of_two} and no box")
        self.display.key("alt+a")  # ADD puts the focus back in A, its text selected
        program.wait_for_focus("Operand A")
        if self.display.types_keypad_separator:
            self.display.keep_keysym("KP_Separator")
            self.display.type("3")
            self.display.key("KP_Separator")
            self.display.type("5")
            wait_until("the last digit in A",
                       lambda: program.tree.text_and_selection("Operand A")[0].endswith("5"))
            typed = program.tree.text_and_selection("Operand A")[0]
            check(typed == "3.5",
                  f"the keypad's decimal key, sent as KP_Separator, types \".\": {typed!r}")
        self.finish(program)

    def readable_palettes(self):
        """Every text reaches its contrast on its ground, read from the screen, in the default
        palette and in the dark ones of GNOME (GTK's Adwaita-dark) and KDE (Breeze Dark)."""
        if not self.display.has_pointer:
            return  # the screenshots are taken on X11
        with tempfile.TemporaryDirectory() as kde_config:
            with open(os.path.join(kde_config, "kdeglobals"), "w") as kdeglobals:
                kdeglobals.write(BREEZE_DARK)
            palettes = [
                ("default", {}, False),
                # GTK's own accessibility bridge would publish a second, empty tree for the program.
                ("GTK Adwaita-dark", {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark",
                                      "NO_AT_BRIDGE": "1"},
                 True),
                ("KDE Breeze Dark", {"XDG_CURRENT_DESKTOP": "KDE", "KDE_SESSION_VERSION": "5",
                                     "XDG_CONFIG_HOME": kde_config}, True),
            ]
            for palette, env, dark in palettes:
                program = Program(self, env)
                self.display.type("12")
                self.display.key("Tab")
                self.display.type("5")
                self.display.key("alt+a")
                wait_until("the sum", lambda: program.tree.text_and_selection("Output")[0] == "17")
                # Nothing selected and no caret in A, no hover and no tooltip over the texts.
                self.display.key("End", "shift+Tab")
                self.display.move_mouse(0, 0)
                for role, name, floor in TEXTS:
                    x, y, width, height = program.tree.extents(role, name)
                    if role == "text":  # inside the box's frame
                        x, y, width, height = x + 4, y + 4, width - 8, height - 8
                    contrast.check_text(f"{palette}: {name!r}",
                                        self.display.screenshot(x, y, width, height), floor,
                                        dark if name == "Operand A" else None)
                self.finish(program)

    def information_boxes(self):
        """Help and About, however closed, give the focus back to A with its text selected."""
        program = Program(self)
        for title, keys, item in (("HELP !", "alt+h", "Help"), ("ABOUT !", "alt+b", "About")):
            for how in self.closings:
                # A's text, then the focus in B with nothing selected there.
                if self.keyboard:
                    self.display.type("2")
                    self.display.key("Tab")
                    program.wait_for_focus("Operand B")
                    self.display.type("3")
                    self.display.key(keys)
                else:
                    program.tree.set_text("Operand A", "2")
                    program.tree.focus("text", "Operand B")
                    program.wait_for_focus("Operand B")
                    program.tree.press("menu item", item)
                self.close_box(program, title, how, over=self.display.frame(program.window))
                program.wait_for_focus("Operand A")
                text, selection, _ = program.tree.text_and_selection("Operand A")
                check(text == "2" and selection == (0, 1),
                      f"after {title} closed by {how}: A has the focus, its text {text!r} "
                      f"selected as {selection}")
        self.finish(program)

    def switching_away(self):
        """Back from another program, A's caret and selection are as they were."""
        program = Program(self)
        self.display.type("123")
        self.display.key("shift+Left")
        # Read once the keys have arrived: on a busy machine they may still be on their way.
        before = ("123", (2, 3), 2)
        wait_until("123 typed into A and its 3 selected",
                   lambda: program.tree.text_and_selection("Operand A") == before)
        other = Process(self.display.other_program, self.display.env)
        try:
            wait_until("the other program's window to be active",
                       lambda: self.display.active_window() not in (0, program.window))
            self.display.activate(program.window)
            program.wait_for_focus("Operand A")
            after = program.tree.text_and_selection("Operand A")
            check(after == before, f"back from another program, A is as it was: {after}")
        finally:
            other.stop()
        self.finish(program)

    def second_copy(self):
        first = Program(self)
        for how in self.closings:
            second = Program(self, window=False)
            self.close_box(second, "Error !", how, over=self.screen)
            check(second.exit_status() == 0,
                  f"a second copy, its box closed by {how}, ends with status 0")
            check(first.runs() and len(self.display.windows_named(TITLE)) == 1,
                  "the first copy runs on, with the only window")
        self.display.activate(first.window)
        self.finish(first)

    def untrapped_error(self):
        """The home-page link without a browser launcher: the error is shown, the program runs on."""
        if not self.display.has_pointer:
            return  # the link takes no keyboard focus
        with tempfile.TemporaryDirectory() as empty:
            program = Program(self, {"PATH": empty})
            self.display.type("42")
            before = program.tree.text_and_selection("Operand A")
            for how in self.closings:
                self.click_control(program, "label", os.environ["TALLYVEX_HOME_PAGE_HOST"])
                self.close_box(program, "Error !", how)
                program.wait_for_focus("Operand A")
                check(program.runs() and program.tree.text_and_selection("Operand A") == before,
                      f"the untrapped error closed by {how}: the program runs on, A as it was")
            self.display.activate(program.window)
            self.finish(program)

    def tooltip(self):
        if not self.display.has_pointer:
            return
        program = Program(self)
        # Qt shows a tooltip only where the pointer rests over the active window.
        self.display.activate(program.window)
        self.display.move_mouse(0, 0)
        self.display.move_mouse(*program.tree.centre_on_screen("push button", "MOD"))
        try:
            wait_until("a tooltip", program.tree.tooltip)
        except Failure as failure:
            raise Failure(f"{failure}: the pointer at {self.display.pointer()}, the active window "
                          f"{self.display.active_window()}, the program's {program.window}")
        check(program.tree.tooltip() == "Diplays The Remainder",
              "the mouse resting on MOD shows its tooltip")
        self.finish(program)

    def exit_keys(self):
        """Alt+X, which the Exit item and the Exit button share: one way out, one contact box."""
        for how in self.closings:
            program = Program(self)
            self.display.key("alt+x")
            self.close_box(program, "Contact !", how)
            check(program.exit_status() == 0,
                  f"Alt+X, its one contact box closed by {how}: the program ends with status 0")

    def close_keys(self):
        """Alt+F4, which the desktop turns into a request to close the window."""
        program = Program(self)
        self.display.key("alt+F4")
        self.close_box(program, "CONTACT !", "Return", over=self.display.frame(program.window))
        check(program.exit_status() == 0, "Alt+F4: CONTACT !, then status 0")

    def close_button(self):
        program = Program(self)
        self.display.close_window(program.window)
        self.close_box(program, "CONTACT !", self.closings[-1])
        check(program.exit_status() == 0, "the close button: CONTACT !, then status 0")

    def ends_every_time(self):
        """Twenty refused copies and twenty closed windows in a row, each process gone within
        two seconds of its last box closing, where the program is a Wayland client (Qt's
        Wayland teardown has hung there), by each name of Qt's Wayland platform."""
        if not getattr(self.display, "takes_wayland_clients", False):
            return
        for platform in ("wayland", "wayland-egl"):
            env = {"QT_QPA_PLATFORM": platform}
            first = Program(self, env)
            for _ in range(20):
                second = Program(self, env, window=False)
                self.close_box(second, "Error !", "Return")
                check(second.exit_status(timeout=2) == 0, f"{platform}: a refused copy ends")
            self.display.activate(first.window)
            self.finish(first)
            for _ in range(20):
                program = Program(self, env)
                self.display.close_window(program.window)
                self.close_box(program, "CONTACT !", "Return")
                check(program.exit_status(timeout=2) == 0,
                      f"{platform}: a window closed, the program ends")

    def clipboard_kept(self):
        """A number copied from A is still on the clipboard once the program has ended: on its
        way out it hands the clipboard to the desktop's clipboard manager, here Cinnamon's,
        which keeps only what a program hands it."""
        if not getattr(self.display, "selection_owned", None):
            return  # X11 only
        manager = Process(["csd-clipboard"], dict(self.display.env, **self.bus.environment()))
        try:
            wait_until("the clipboard manager",
                       lambda: self.display.selection_owned("CLIPBOARD_MANAGER"))
            program = Program(self)
            self.display.type("345")
            self.display.key("shift+Home")
            # The box's own menu, a window of the program's: Ctrl+C types a character the box
            # refuses.
            self.click_control(program, "text", "Operand A", button=3)
            wait_until("the box's menu",
                       lambda: len(self.display.windows_of(program.process.pid)) == 2)
            self.display.key("c")
            wait_until("345 on the clipboard", lambda: self.display.clipboard() == "345")
            self.finish(program)
            check(self.display.clipboard() == "345",
                  "345 copied from A stays on the clipboard after the program has ended")
        finally:
            manager.stop()

    def finish(self, program):
        if self.keyboard:
            # As with a box: the program may take the focus after the desktop made it active.
            wait_until("the focus in the program's window", program.tree.focused)
            self.display.key("alt+x")
        else:
            program.tree.press("menu item", "Exit")
        self.close_box(program, "Contact !", self.closings[-1])
        if program.exit_status() != 0:
            raise Failure("the program did not end with status 0")


def open_display(platform, prefix):
    if platform in ("x11", "installed"):
        return Desktop()
    if platform == "wayland":
        return Compositor()
    if platform == "gnome":
        return GnomeShell(prefix)
    if platform == "kwin":
        return KWin()
    if platform == "kwin-x11":
        return KWinX11()
    raise Failure(f"no display {platform}")


def main(platform, prefix):
    bus = AccessibilityBus()
    try:
        with open_display(platform, prefix) as display:
            display.env.pop("SESSION_MANAGER", None)
            # Installed by its package, the program starts, computes and ends.
            Scenarios(display, bus, os.path.join(prefix, "bin", "tallyvex")).run(
                only_start_up=platform == "installed")
    finally:
        bus.close()


if __name__ == "__main__":
    try:
        main(sys.argv[1], sys.argv[2])
    except Failure as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
    print(f"Tallyvex works end to end on {sys.argv[1]}")
