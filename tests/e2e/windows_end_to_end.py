"""The deployed tallyvex.exe under Wine on a private X display with a window manager, driven
from outside as a person would: the window appears centred, typed operands and a click on ADD
give the sum, a second copy is refused, and closing the window shows the contact message and
ends the program with status 0.

    windows_end_to_end.py <deployed folder> [screenshot.png]

Wine's prefix and settings come from the environment (tools/wine-run sets them)."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from desktop import Desktop, Failure, Process, check, wait_until
from wine import windows_path, without_qt_tree

# Where the controls lie in the window's client area, below the menu bar (pixels).
TEXT1 = (328, 112, 265, 19)
TEXT2 = (328, 176, 265, 19)
TEXT3 = (328, 240, 265, 19)
COMMAND1 = (112, 304, 89, 33)
CLIENT_AREA = (676, 465)
WINE_CAPTION = 23  # pixels: the caption of the frame Wine reports to a Windows program


def centre(rect):
    return rect[0] + rect[2] // 2, rect[1] + rect[3] // 2


class Program(Process):
    def __init__(self, desktop, exe):
        # By its Windows path: given a Unix one, Wine starts it through start.exe, which stays
        # when the session's end ends the program.
        super().__init__(["wine", windows_path(exe)], desktop.env)


def run(folder, screenshot_path):
    # The folder runs from anywhere: copy it to a place of its own.
    where = tempfile.mkdtemp(prefix="tallyvex-deployed-")
    try:
        shutil.copytree(folder, os.path.join(where, "tallyvex"))
        exe = os.path.join(where, "tallyvex", "tallyvex.exe")
        with Desktop() as desktop:
            desktop.env = without_qt_tree(desktop.env)
            scenarios(desktop, exe, screenshot_path)
    finally:
        shutil.rmtree(where, ignore_errors=True)


def scenarios(desktop, exe, screenshot_path):
    first = Program(desktop, exe)
    try:
        window = desktop.wait_for_window("TALLYVEX !", timeout=60)
        left, top, width, height = desktop.geometry(window)
        frame_left, frame_right, frame_top, frame_bottom = desktop.frame_extents(window)
        menu_bar = height - CLIENT_AREA[1]
        check(width == CLIENT_AREA[0] and 0 < menu_bar < 40,
              f"client area {width} x {height}, menu bar {menu_bar} px high")
        outer = (left - frame_left, top - frame_top, width + frame_left + frame_right,
                 height + frame_top + frame_bottom)
        # Centred to within the twips' rounding of a pixel. Down, by the frame Wine reports to
        # the program (a caption above the client area, no lower edge), not openbox's own.
        wine_top, wine_height = top - WINE_CAPTION, height + WINE_CAPTION
        check(abs(2 * outer[0] + outer[2] - Desktop.WIDTH) <= 2
              and abs(2 * wine_top + wine_height - Desktop.HEIGHT) <= 2,
              f"window centred on the screen: frame at {outer}")

        def at(rect):
            x, y = centre(rect)
            return left + x, top + menu_bar + y

        def output():
            x, y, w, h = TEXT3
            return desktop.screenshot(left + x, top + menu_bar + y, w, h)

        def type_into(box, text):
            # A click into the box that has the focus leaves its text: clear it first.
            desktop.click(*at(box))
            desktop.key("End", *["BackSpace"] * 4)
            desktop.type(text)

        def add(a, b):
            type_into(TEXT1, a)
            type_into(TEXT2, b)
            desktop.click(*at(COMMAND1))
            return wait_until("the output to settle", lambda: settled(output))

        empty = output()
        seventeen = add("12", "5")
        check(seventeen != empty, "ADD wrote into the output box")
        check(add("10", "7") == seventeen, "10 + 7 shows what 12 + 5 shows")
        check(add("12", "6") != seventeen, "12 + 6 shows something else")
        add("12", "5")
        if screenshot_path:
            desktop.save_screenshot(screenshot_path)

        second = Program(desktop, exe)
        try:
            refusal = desktop.wait_for_window("Error !", timeout=60)
            check(len(desktop.windows_named("TALLYVEX !")) == 1, "the second copy shows no window")
            desktop.activate(refusal)
            desktop.key("Return")
            check(second.exit_status() == 0, "the second copy ends with status 0 after OK")
        finally:
            second.stop()
        check(first.runs(), "the first copy runs on")

        desktop.activate(window)
        desktop.key("alt+F4")
        contact = desktop.wait_for_window("CONTACT !")
        check(bool(desktop.windows_named("TALLYVEX !")), "the window stays while CONTACT ! shows")
        desktop.activate(contact)
        desktop.key("Return")
        check(first.exit_status() == 0, "closed by the window manager, the program ends with status 0")
    finally:
        first.stop()

    # The session ends: the contact message, then the program lets the session end.
    program = Program(desktop, exe)
    try:
        desktop.wait_for_window("TALLYVEX !", timeout=60)
        session_end = subprocess.Popen(["wineboot", "--end-session"], env=desktop.env)
        contact = desktop.wait_for_window("CONTACT !")
        desktop.activate(contact)
        desktop.key("Return")
        check(session_end.wait(30) == 0, "at the session's end CONTACT ! shows, and the session ends")
        # Then the system ends the program, as Windows does once it has agreed.
        check(program.exit_status() is not None, "the program has ended with the session")
    finally:
        program.stop()


def settled(take):
    """The same picture twice in a row, a moment apart: nothing is still being drawn."""
    before = take()
    time.sleep(0.3)
    after = take()
    return after if after == before else None


if __name__ == "__main__":
    try:
        run(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None)
    except Failure as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
    print("the deployed program works end to end under Wine")
