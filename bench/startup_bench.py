#!/usr/bin/env python3
"""Start-up benchmark driver (run by scripts/bench-startup.sh, with DISPLAY and the Wine
prefix set up). Starts the assistant and the minimal reference window alternately, each
measured in two separate runs:

- from outside: launch until the window is on screen (xdotool sees it mapped);
- from inside: the program's own start-up trace (LV_STARTUP_TRACE), milliseconds from the
  creation of the process to the end of each phase, up to its first complete paint.

Both programs first need the display (Wine's display driver and the connection to the X
server): the phase that ends with "window frame" is that set-up, shared by any program.

Prints the medians, each program's phases and the ratios beside the goal. Checks nothing.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

GOAL = 1.10
ROOT = os.environ["LV_ROOT"]
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
BUILD = os.environ.get("LV_BENCH_BUILD", "build/release")  # both programs as shipped
PROGRAMS = [
    ("assistant", f"{BUILD}/assistant/UpgradeAssistant.exe", "registrieren|Register full version"),
    ("minimal window", f"{BUILD}/bench/MinimalWindow.exe", "Minimal reference"),
]


def window_visible(name_regex):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name_regex],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def read_trace(path):
    phases = []
    with open(path) as f:
        for line in f:
            name, ms = line.rstrip("\n").split("\t")
            phases.append((name, float(ms)))
    return phases


def start(exe, env=None):
    return subprocess.Popen([WINE_RUN, os.path.join(ROOT, exe)], env=env)


SETTLE_SECONDS = 0.5


def stop(proc):
    proc.kill()
    proc.wait()
    # The platform tidies up after a killed program (its windows, its X resources) for a
    # while; the next start should not share the processor with that.
    time.sleep(SETTLE_SECONDS)


def seen_on_screen(exe, name_regex):
    """Milliseconds from launch until xdotool sees the window mapped."""
    begin = time.monotonic()
    proc = start(exe)
    try:
        while time.monotonic() < begin + 30:
            if window_visible(name_regex):
                return (time.monotonic() - begin) * 1000
            time.sleep(0.005)
        return float("nan")
    finally:
        stop(proc)


def traced(exe, trace_path):
    """The program's own trace of one start. A run of its own: polling xdotool meanwhile
    would take processor time from the program being measured."""
    if os.path.exists(trace_path):
        os.remove(trace_path)
    env = dict(os.environ, LV_STARTUP_TRACE="Z:" + trace_path.replace("/", "\\"))
    proc = start(exe, env)
    try:
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            if os.path.exists(trace_path) and os.path.getsize(trace_path) > 0:
                time.sleep(0.05)  # written in one go; let it close
                return read_trace(trace_path)
            time.sleep(0.01)
        return []
    finally:
        stop(proc)


def median(values):
    return statistics.median(values) if values else float("nan")


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 9
    trace_path = os.path.join(tempfile.mkdtemp(prefix="lv-startup-"), "trace.txt")
    for _, exe, regex in PROGRAMS:  # warm-up: Wine's own caches, the file system
        seen_on_screen(exe, regex)
    outside = {label: [] for label, _, _ in PROGRAMS}
    phases = {label: {} for label, _, _ in PROGRAMS}
    order = {label: [] for label, _, _ in PROGRAMS}
    for _ in range(runs):
        for label, exe, regex in PROGRAMS:
            outside[label].append(seen_on_screen(exe, regex))
            for name, ms in traced(exe, trace_path):
                if name not in phases[label]:
                    order[label].append(name)
                phases[label].setdefault(name, []).append(ms)

    print(f"start-up, median of {runs} runs (ms)")
    for label, _, _ in PROGRAMS:
        print(f"  {label}: end of each phase since the process was created (the phase's own time)")
        previous = 0.0
        for name in order[label]:
            end = median(phases[label][name])
            print(f"    {name:<28} {end:8.1f}   ({end - previous:6.1f})")
            previous = end
    inside = {label: median(phases[label]["first paint"]) for label, _, _ in PROGRAMS}
    seen = {label: median(outside[label]) for label, _, _ in PROGRAMS}
    a, m = PROGRAMS[0][0], PROGRAMS[1][0]
    print(f"  first paint (inside):      assistant {inside[a]:7.1f}   minimal {inside[m]:7.1f}"
          f"   ratio {inside[a] / inside[m]:5.2f}   goal <= {GOAL:.2f}")
    print(f"  window on screen (outside): assistant {seen[a]:7.1f}   minimal {seen[m]:7.1f}"
          f"   ratio {seen[a] / seen[m]:5.2f}   goal <= {GOAL:.2f}")
    print("  runs (outside, ms): assistant " + " ".join(f"{v:.0f}" for v in outside[a]))
    print("                      minimal   " + " ".join(f"{v:.0f}" for v in outside[m]))


if __name__ == "__main__":
    main()
