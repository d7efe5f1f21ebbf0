#!/usr/bin/env python3
"""Planning figures of tavlo-split, each the median of a few runs:

- a plan (--dry-run) of 5,000 and of 100,000 one-page bookmarks, the whole command and, for
  100,000, until the plan is complete (its first printed line);
- a plan of 2147483647 equal parts of a 5,000-page document;
- how long the command takes to end after Ctrl-C during planning of 100,000 bookmarks.

Usage: bench/plan-figures.py BUILD_BIN [ROUNDS]
"""
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))


def timed(command, cwd):
    start = time.monotonic()
    subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.monotonic() - start


def until_printed(command, cwd):
    # The plan is printed once it is complete: the first line marks the end of planning.
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    process.stdout.readline()
    planned = time.monotonic() - start
    process.stdout.read()
    process.wait()
    return planned


def stop_after(command, cwd, delay):
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(delay)
    start = time.monotonic()
    process.send_signal(signal.SIGINT)
    code = process.wait()
    return time.monotonic() - start, code


def main():
    program = os.path.join(os.path.abspath(sys.argv[1]), "tavlo-split")
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    with tempfile.TemporaryDirectory() as folder:
        for pages in (5000, 100000):
            subprocess.run([sys.executable, os.path.join(here, "make-outline-pdf.py"), str(pages),
                            os.path.join(folder, "b%d.pdf" % pages)], check=True)
        figures = [
            ("plan 5,000 bookmarks", [program, "--bookmarks", "1", "--dry-run", "b5000.pdf"]),
            ("plan 100,000 bookmarks", [program, "--bookmarks", "1", "--dry-run", "b100000.pdf"]),
            ("plan --parts 2147483647 (5,000 pages)",
             [program, "--parts", "2147483647", "--dry-run", "b5000.pdf"]),
        ]
        for name, command in figures:
            times = [timed(command, folder) for _ in range(rounds)]
            print("%-40s %7.3f s (median of %d)" % (name, statistics.median(times), rounds))
        planned = statistics.median(until_printed(figures[1][1], folder) for _ in range(rounds))
        print("%-40s %7.3f s (median of %d)" % ("100,000 bookmarks planned (first line)", planned, rounds))
        plan = statistics.median(timed(figures[1][1], folder) for _ in range(rounds))
        worst = 0.0
        for share in (0.2, 0.4, 0.6, 0.8):
            took, code = stop_after([program, "--bookmarks", "1", "b100000.pdf"], folder, plan * share)
            worst = max(worst, took)
            print("%-40s %7.3f s (exit %d)" % ("Ctrl-C at %d%% of planning to exit" % (share * 100), took, code))
        print("%-40s %7.3f s" % ("Ctrl-C to exit, worst", worst))
        leftovers = [entry for entry in os.listdir(folder) if not entry.endswith(".pdf")]
        if leftovers:
            print("left behind:", leftovers)


if __name__ == "__main__":
    main()
