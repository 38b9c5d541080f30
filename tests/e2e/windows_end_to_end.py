"""The deployed tallyvex.exe under Wine on a private X display with a window manager, driven
from outside as a person would: the window appears centred, typed operands and a click on ADD
give the sum, a second copy is refused, and closing the window shows the contact message and
ends the program with status 0. Last, with the system colours of High Contrast Black, every
text is read from the screen and reaches its contrast.

    windows_end_to_end.py <deployed folder> [screenshot.png]

Wine's prefix and settings come from the environment (tools/wine-run sets them)."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import contrast
from desktop import Desktop, Failure, Process, check, wait_until
from wine import windows_path, without_qt_tree

# Where the controls lie in the window's client area, below the menu bar (pixels).
TEXT1 = (328, 112, 265, 19)
TEXT2 = (328, 176, 265, 19)
TEXT3 = (328, 240, 265, 19)
COMMAND1 = (112, 304, 89, 33)
CLIENT_AREA = (676, 465)
# Every text but the banner, which keeps its own colours, with its least contrast; the last two
# labels are sized to their captions, so only their start is taken.
TEXTS = [("Label1", (168, 16, 377, 25), 3), ("Label2", (16, 104, 297, 25), 3),
         ("Label3", (16, 176, 297, 25), 3), ("Label4", (96, 240, 217, 25), 3),
         ("Label6", (128, 400, 120, 16), 3), ("Label8", (280, 396, 150, 20), 3),
         ("Text1", (331, 115, 259, 13), 4.5), ("Text3", (331, 243, 259, 13), 4.5)]
# Windows' High Contrast Black scheme, as the system colours it writes into the registry.
HIGH_CONTRAST_BLACK = {
    "Background": "0 0 0", "Window": "0 0 0", "WindowText": "255 255 255",
    "ButtonFace": "0 0 0", "ButtonText": "255 255 255", "ButtonHilight": "255 255 255",
    "ButtonLight": "192 192 192", "ButtonShadow": "128 128 128", "ButtonDkShadow": "255 255 255",
    "GrayText": "63 243 63", "Highlight": "26 235 255", "HighlightText": "0 0 0",
    "Menu": "0 0 0", "MenuText": "255 255 255", "InfoWindow": "0 0 0", "InfoText": "255 255 0",
    "HotTrackingColor": "255 255 0", "WindowFrame": "255 255 255",
}
COLORS_KEY = r"HKCU\Control Panel\Colors"
THEME_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager"
# The frame above the client area that Wine reports to a Windows program, and Qt centres by
# (pixels): caption and border; Qt leaves out the sizing borders Windows 10 keeps invisible at
# the sides and below. Wine 10's caption is 7 px taller than Wine 8's.
WINE_CAPTION = {8: 23, 10: 30}


def wine_caption():
    version = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout
    major = re.match(r"wine-(\d+)", version)
    if not major or int(major[1]) not in WINE_CAPTION:
        raise Failure(f"the caption height of {version.strip() or 'this Wine'} is not known")
    return WINE_CAPTION[int(major[1])]


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
            high_contrast(desktop, exe)
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
        caption = wine_caption()
        wine_top, wine_height = top - caption, height + caption
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


def high_contrast(desktop, exe):
    """High Contrast Black's system colours, visual styles off as Windows turns them off: every
    text reaches its contrast. (Wine always answers that high contrast is off, so the program's
    own reading of that switch is not reached here.)"""
    def reg(*args):
        subprocess.run(["wine", "reg", *args, "/f"], env=desktop.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    for name, rgb in HIGH_CONTRAST_BLACK.items():
        reg("add", COLORS_KEY, "/v", name, "/d", rgb)
    reg("add", THEME_KEY, "/v", "ThemeActive", "/d", "0")
    # A session reads the system colours when it starts: start a new one.
    subprocess.run(["wineserver", "--wait"], env=desktop.env, check=True)
    program = Program(desktop, exe)
    try:
        window = desktop.wait_for_window("TALLYVEX !", timeout=60)
        left, top, _, height = desktop.geometry(window)
        menu_bar = height - CLIENT_AREA[1]

        def texts():
            return [desktop.screenshot(left + x, top + menu_bar + y, w, h)
                    for _, (x, y, w, h), _ in TEXTS]

        before = wait_until("the window to settle", lambda: settled(texts))
        desktop.activate(window)
        desktop.type("12")
        desktop.key("Tab")
        desktop.type("5")
        desktop.key("alt+a")
        desktop.key("End", "shift+Tab")  # nothing selected, no caret in A
        desktop.move_mouse(0, 0)
        # The answer is last, in Text3.
        shown = wait_until("the answer to show and the window to settle",
                           lambda: (now := settled(texts)) and now[-1] != before[-1] and now)
        for (name, _, floor), picture in zip(TEXTS, shown):
            contrast.check_text(f"High Contrast Black: {name}", picture, floor,
                                True if name == "Text1" else None)
    finally:
        program.stop()
        reg("delete", COLORS_KEY)
        reg("delete", THEME_KEY, "/v", "ThemeActive")
        subprocess.run(["wineserver", "--wait"], env=desktop.env, check=True)


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
