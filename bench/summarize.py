#!/usr/bin/env python3
"""Turns the raw timings of scripts/bench into the table of medians and ratios.

  summarize.py RAW [--payload-note NAME=TEXT ...]

RAW holds one timing a line: "<round> <payload> <case> <metric> <ms>".
The install run is given less the 300 ms by which the progress page delays
its start, and compared with the copy loop over the same files; start-up is
compared with the empty dialog program.
"""
import argparse
import statistics
from collections import defaultdict

START_DELAY_MS = 300.0
GOALS = {"small": 1.25, "large": 1.10}
STARTUP_GOAL = 1.5


def read(path):
    values = defaultdict(list)
    for line in open(path):
        parts = line.split()
        if len(parts) == 5:
            values[(parts[1], parts[2], parts[3])].append(float(parts[4]))
    return values


def median(values, key):
    return statistics.median(values[key]) if values.get(key) else None


def row(label, value, base, count):
    if value is None:
        return None
    ratio = "%.2f" % (value / base) if base else "-"
    return "| %s | %.1f | %s | %d |" % (label, value, ratio, count)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("raw")
    parser.add_argument("--payload-note", action="append", default=[])
    args = parser.parse_args()
    notes = dict(note.split("=", 1) for note in args.payload_note)
    values = read(args.raw)
    installs = [("built", "install.exe (this tree)"), ("baseline", "install.exe (baseline)")]
    lines = []
    verdicts = []

    for payload in ("small", "large"):
        base = median(values, (payload, "copy", "loop"))
        if base is None:
            continue
        lines += ["", "%s payload: %s" % (payload, notes.get(payload, "")), "",
                  "| row | median ms | x copy loop | runs |", "|---|---|---|---|"]
        lines.append(row("copy loop (FindFirstFileA, CreateDirectoryA, CopyFileA, SetFileAttributesA)",
                         base, base, len(values[(payload, "copy", "loop")])))
        for case, label in installs:
            run = median(values, (payload, case, "run"))
            if run is None:
                continue
            count = len(values[(payload, case, "run")])
            lines.append(row(label + ": install run less its 300 ms start", run - START_DELAY_MS, base, count))
            lines.append(row(label + ": whole program, start to exit",
                             median(values, (payload, case, "whole")), base, count))
            if case == "built":
                ratio = (run - START_DELAY_MS) / base
                verdicts.append("%s payload: install run %.2fx the copy loop, goal %.2fx: %s" % (
                    payload, ratio, GOALS[payload], "met" if ratio <= GOALS[payload] else "not met"))
        for case, label in (("nsis", "NSIS 3, stored, silent"), ("nsis-nocrc", "NSIS 3, stored, silent, no CRC")):
            text = row(label + ": whole program", median(values, (payload, case, "whole")), base,
                       len(values.get((payload, case, "whole"), [])))
            if text:
                lines.append(text)

    bare = median(values, ("-", "bare", "startup"))
    if bare is not None:
        lines += ["", "start-up: program start to the first page (the empty dialog for the yardstick)", "",
                  "| row | median ms | x empty dialog | runs |", "|---|---|---|---|"]
        lines.append(row("empty dialog program", bare, bare, len(values[("-", "bare", "startup")])))
        for payload in ("small", "large"):
            for case, label in installs:
                startup = median(values, (payload, case, "startup"))
                text = row("%s, %s medium" % (label, payload), startup, bare,
                           len(values.get((payload, case, "startup"), [])))
                if text:
                    lines.append(text)
                if case == "built" and startup is not None:
                    ratio = startup / bare
                    verdicts.append("start-up, %s medium: %.2fx the empty dialog, goal %.1fx: %s" % (
                        payload, ratio, STARTUP_GOAL, "met" if ratio <= STARTUP_GOAL else "not met"))

    setup = [(case, median(values, ("setup", case, "whole"))) for case in ("setup64", "parts")]
    if all(value is not None for _, value in setup):
        lines += ["", "Setup64 success path against its parts (program start to its success box, or to exit)", "",
                  "| row | median ms | x parts | runs |", "|---|---|---|---|"]
        parts = setup[1][1]
        lines.append(row("the parts called directly (SetupCopyOEMInfW, group copies, spooler stop and start)",
                         parts, parts, len(values[("setup", "parts", "whole")])))
        lines.append(row("Setup64.exe", setup[0][1], parts, len(values[("setup", "setup64", "whole")])))

    print("\n".join(lines[1:] + [""] + verdicts))


if __name__ == "__main__":
    main()
