#!/usr/bin/env python3
"""Measures Tallyvex against the floor program on a private Xvfb display.

Start times come from pairs of starts, each program alone on the display, the order
alternating from pair to pair. Memory and idle CPU come from rounds that start both programs
one after the other, read their memory 2 s after each window appeared, then the CPU both use
over the same 10 s of idle time. Figures are printed as median, min and max per program with
the ratio Tallyvex / floor, and one summary line against the targets.
"""

import argparse
import os
import signal
import statistics
import subprocess
import sys
import time

# The X server starts as the end-to-end tests start theirs.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from desktop import start_xvfb  # noqa: E402

SETTLE_S = 0.5        # between one program's first drawing and the next program's start
PAUSE_S = 0.5         # between one program's end and the next start
MEMORY_AFTER_S = 2.0  # from the window's appearance to the memory reading
IDLE_S = 10.0         # the idle time over which CPU is measured
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
MIB = 1024 * 1024

# name, unit, Tallyvex's allowance over the floor: a ratio (times) or a difference.
TARGETS = {
    "start-to-window": ("ms", "ratio", 1.15),
    "start-to-drawing": ("ms", None, None),
    "RSS": ("MiB", "difference", 5.0),
    "PSS": ("MiB", None, None),
    "private dirty": ("MiB", "difference", 2.0),
    "threads": ("", "difference", 1),
    "idle CPU": ("% of a core", "difference", 0.3),
}


class Run:
    """One program started through startwatch and kept running until close()."""

    def __init__(self, startwatch, title, program, environment):
        self.watch = subprocess.Popen([startwatch, title, program], env=environment,
                                      stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        reported = {}
        for line in self.watch.stdout:
            key, value = line.split()
            reported[key] = float(value)
            if key == "drawn":
                break
        if "drawn" not in reported:
            self.watch.wait()
            sys.exit(f"bench: {program} did not show its window")
        self.pid = int(reported["pid"])
        self.mapped_at = reported["mapped"]
        self.figures = {
            "start-to-window": (reported["mapped"] - reported["started"]) * 1000,
            "start-to-drawing": (reported["drawn"] - reported["started"]) * 1000,
        }

    def read_memory(self):
        rollup = {}
        with open(f"/proc/{self.pid}/smaps_rollup") as smaps:
            for line in smaps:
                parts = line.split()
                if len(parts) == 3 and parts[2] == "kB":
                    rollup[parts[0].rstrip(":")] = int(parts[1]) * 1024
        with open(f"/proc/{self.pid}/status") as status:
            threads = next(int(line.split()[1]) for line in status if line.startswith("Threads:"))
        self.figures["RSS"] = rollup["Rss"] / MIB
        self.figures["PSS"] = rollup["Pss"] / MIB
        self.figures["private dirty"] = rollup["Private_Dirty"] / MIB
        self.figures["threads"] = threads

    def cpu_seconds(self):
        with open(f"/proc/{self.pid}/stat") as stat:
            # Fields after the command name, which is in parentheses and may hold spaces.
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime + stime

    def close(self):
        self.watch.stdin.close()
        self.watch.wait()


def start_display():
    """Starts Xvfb on a free display number and returns (process, DISPLAY)."""
    server, display = start_xvfb(1024, 768)
    if not display:
        sys.exit("bench: Xvfb did not start")
    return server, display


def start_pair(programs, order, startwatch, environment, measured):
    """Starts each program alone, one after the other, and keeps its start times."""
    for name in order:
        run = Run(startwatch, programs[name][0], programs[name][1], environment)
        run.close()
        for figure in ("start-to-window", "start-to-drawing"):
            measured[name][figure].append(run.figures[figure])
        time.sleep(PAUSE_S)


def idle_round(programs, order, startwatch, environment, measured):
    """Runs both programs side by side and keeps their memory and idle CPU."""
    runs = {}
    for name in order:
        runs[name] = Run(startwatch, programs[name][0], programs[name][1], environment)
        time.sleep(SETTLE_S)
    for name, run in runs.items():
        time.sleep(max(0.0, run.mapped_at + MEMORY_AFTER_S - time.monotonic()))
        run.read_memory()
    before = {name: run.cpu_seconds() for name, run in runs.items()}
    began = time.monotonic()
    time.sleep(IDLE_S)
    elapsed = time.monotonic() - began
    for name, run in runs.items():
        run.figures["idle CPU"] = (run.cpu_seconds() - before[name]) / elapsed * 100
        run.close()
        for figure in ("RSS", "PSS", "private dirty", "threads", "idle CPU"):
            measured[name][figure].append(run.figures[figure])


def warm_up(programs, startwatch, environment):
    """One start of each, so that both find their files in the page cache."""
    for title, program in programs.values():
        Run(startwatch, title, program, environment).close()


def describe(values, unit):
    spread = f"median {statistics.median(values):8.2f}  min {min(values):8.2f}  max {max(values):8.2f}"
    return f"{spread} {unit}"


def report(measured, starts, rounds):
    tallyvex, floor = measured["tallyvex"], measured["floor"]
    verdicts = []
    print(f"\n{starts} starts of each, {rounds} idle rounds; median, min and max; "
          "ratio = Tallyvex / floor")
    for figure, (unit, kind, allowance) in TARGETS.items():
        ours, theirs = tallyvex[figure], floor[figure]
        if unit == "ms":  # times pair by pair: both were started one after the other
            ratios = [a / b for a, b in zip(ours, theirs)]
            ratio = statistics.median(ratios)
        else:
            ratio = statistics.median(ours) / statistics.median(theirs) if statistics.median(theirs) else float("nan")
        difference = statistics.median(ours) - statistics.median(theirs)
        print(f"{figure}")
        print(f"  tallyvex  {describe(ours, unit)}")
        print(f"  floor     {describe(theirs, unit)}")
        print(f"  ratio {ratio:.2f}, difference {difference:+.2f} {unit}")
        if kind == "ratio":
            verdicts.append((f"start {ratio:.2f}x (<= {allowance}x)", ratio <= allowance))
        elif kind == "difference":
            verdicts.append((f"{figure} {difference:+.2f} (<= +{allowance})", difference <= allowance))
    missed = [text for text, met in verdicts if not met]
    outcome = "all targets met" if not missed else "missed: " + "; ".join(missed)
    print("\nsummary: " + ", ".join(text for text, _ in verdicts) + f": {outcome}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="the build folder")
    parser.add_argument("--starts", type=int, default=20, help="start pairs")
    parser.add_argument("--rounds", type=int, default=5, help="memory and idle CPU rounds")
    arguments = parser.parse_args()

    build = os.path.abspath(arguments.build)
    startwatch = os.path.join(build, "bench", "startwatch")
    programs = {
        "tallyvex": ("TALLYVEX !", os.path.join(build, "app", "tallyvex")),
        "floor": ("Tallyvex floor", os.path.join(build, "bench", "tallyvex-floor")),
    }
    server, display = start_display()
    environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    try:
        warm_up(programs, startwatch, environment)
        measured = {name: {figure: [] for figure in TARGETS} for name in programs}
        orders = (["tallyvex", "floor"], ["floor", "tallyvex"])
        for number in range(arguments.starts):
            start_pair(programs, orders[number % 2], startwatch, environment, measured)
        print(f"{arguments.starts} start pairs done", file=sys.stderr)
        for number in range(arguments.rounds):
            idle_round(programs, orders[number % 2], startwatch, environment, measured)
            print(f"round {number + 1} of {arguments.rounds} done", file=sys.stderr)
        report(measured, arguments.starts, arguments.rounds)
    finally:
        server.send_signal(signal.SIGTERM)
        server.wait()


if __name__ == "__main__":
    main()
