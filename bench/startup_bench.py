#!/usr/bin/env python3
"""Start-up benchmark driver (run by scripts/bench-startup.sh, with DISPLAY and the Wine
prefix set up). Starts three programs in turn, run after run (the order rotates, so that
none always follows the same one), each start measured in one of two separate runs:

- from outside: launch until the window is on screen (xdotool sees it mapped);
- from inside: the program's own start-up trace (LV_STARTUP_TRACE), milliseconds from the
  creation of the process to the end of each phase, up to its first complete paint.

The programs: the assistant; the same window built from the platform's own controls
(bench/PlatformDialog.cpp), the reference of the goal; and one empty window
(bench/MinimalWindow.cpp), the floor of any program that shows a window. Every program
first needs the display (Wine's display driver and the connection to the X server): the
phase that ends with "window frame" is that set-up, shared by all three.

Then the working set of each idle window (two seconds after it is on screen), as the
platform reports it to a task manager (bench/WorkingSetProbe.cpp).

Prints medians, the per-run ratios, each program's phases, the ratios beside the goal and
the load average of the machine. Checks nothing.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

GOAL = 1.00  # assistant / platform-controls window, at most
ROOT = os.environ["LV_ROOT"]
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
BUILD = os.environ.get("LV_BENCH_BUILD", "build/release")  # the programs as shipped
CAPTION = "Vollversion registrieren|Register full version"
ASSISTANT, PLATFORM, MINIMAL = "assistant", "platform controls", "minimal window"
PROGRAMS = [
    (ASSISTANT, f"{BUILD}/assistant/UpgradeAssistant.exe", CAPTION),
    (PLATFORM, f"{BUILD}/bench/PlatformDialog.exe", CAPTION),
    (MINIMAL, f"{BUILD}/bench/MinimalWindow.exe", "Minimal reference"),
]
PROBE = f"{BUILD}/bench/working_set_probe.exe"
SETTLE_SECONDS = 0.5
IDLE_SECONDS = 2.0


def visible_windows(name_regex):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name_regex],
                       capture_output=True, text=True)
    return r.stdout.split()


def read_trace(path):
    phases = []
    with open(path) as f:
        for line in f:
            name, ms = line.rstrip("\n").split("\t")
            phases.append((name, float(ms)))
    return phases


def start(exe, regex, env=None):
    # Two programs share a caption: the last one's window must be gone before the next
    # start is timed.
    deadline = time.monotonic() + 5
    while visible_windows(regex) and time.monotonic() < deadline:
        time.sleep(0.05)
    return subprocess.Popen([WINE_RUN, os.path.join(ROOT, exe)], env=env)


def stop(proc):
    proc.kill()
    proc.wait()
    # The platform tidies up after a killed program (its windows, its X resources) for a
    # while; the next start should not share the processor with that.
    time.sleep(SETTLE_SECONDS)


def wait_visible(begin, regex):
    while time.monotonic() < begin + 30:
        found = visible_windows(regex)
        if found:
            return found[0]
        time.sleep(0.005)
    return None


def seen_on_screen(exe, regex):
    """Milliseconds from launch until xdotool sees the window mapped."""
    proc = start(exe, regex)
    begin = time.monotonic()
    try:
        return (time.monotonic() - begin) * 1000 if wait_visible(begin, regex) else float("nan")
    finally:
        stop(proc)


def traced(exe, regex, trace_path):
    """The program's own trace of one start. A run of its own: polling xdotool meanwhile
    would take processor time from the program being measured."""
    if os.path.exists(trace_path):
        os.remove(trace_path)
    env = dict(os.environ, LV_STARTUP_TRACE="Z:" + trace_path.replace("/", "\\"))
    proc = start(exe, regex, env)
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


def idle_working_set(exe, regex):
    """Working set in bytes of the program's window, idle for two seconds after it showed."""
    proc = start(exe, regex)
    try:
        window = wait_visible(time.monotonic(), regex)
        if not window:
            return float("nan")
        time.sleep(IDLE_SECONDS)
        caption = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                                 text=True).stdout.strip()
        r = subprocess.run([WINE_RUN, os.path.join(ROOT, PROBE), caption], capture_output=True,
                           text=True)
        fields = dict(f.split("=") for f in r.stdout.split() if "=" in f)
        return float(fields["ws"]) if r.returncode == 0 else float("nan")
    finally:
        stop(proc)


def median(values):
    values = [v for v in values if v == v]
    return statistics.median(values) if values else float("nan")


def spread(values):
    values = [v for v in values if v == v]
    return (min(values), max(values)) if values else (float("nan"), float("nan"))


def load():
    return "/".join(f"{v:.1f}" for v in os.getloadavg())


def rotated(items, by):
    by %= len(items)
    return items[by:] + items[:by]


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 15
    memory_runs = 3
    trace_path = os.path.join(tempfile.mkdtemp(prefix="lv-startup-"), "trace.txt")
    load_before = load()
    for _, exe, regex in PROGRAMS:  # warm-up: Wine's own caches, the file system
        seen_on_screen(exe, regex)
    outside = {label: [] for label, _, _ in PROGRAMS}
    inside = {label: [] for label, _, _ in PROGRAMS}
    phases = {label: {} for label, _, _ in PROGRAMS}
    order = {label: [] for label, _, _ in PROGRAMS}
    for run in range(runs):
        for label, exe, regex in rotated(PROGRAMS, run):
            outside[label].append(seen_on_screen(exe, regex))
        for label, exe, regex in rotated(PROGRAMS, run + 1):
            trace = traced(exe, regex, trace_path)
            for name, ms in trace:
                if name not in phases[label]:
                    order[label].append(name)
                phases[label].setdefault(name, []).append(ms)
            inside[label].append(dict(trace).get("first paint", float("nan")))
    working_set = {label: [] for label, _, _ in PROGRAMS}
    for run in range(memory_runs):
        for label, exe, regex in rotated(PROGRAMS, run):
            working_set[label].append(idle_working_set(exe, regex))
    load_after = load()

    print(f"start-up, {runs} alternating runs of each program; load average (1/5/15 min) "
          f"{load_before} before, {load_after} after")
    for label, _, _ in PROGRAMS:
        print(f"  {label}: end of each phase since the process was created, median "
              "(the phase's own time)")
        previous = 0.0
        for name in order[label]:
            end = median(phases[label][name])
            print(f"    {name:<28} {end:8.1f}   ({end - previous:6.1f})")
            previous = end

    a, p, m = ASSISTANT, PLATFORM, MINIMAL
    for title, figures in (("first paint (inside)", inside),
                           ("window on screen (outside)", outside)):
        ma, mp, mm = (median(figures[x]) for x in (a, p, m))
        ratio = ma / mp
        per_run = [x / y for x, y in zip(figures[a], figures[p])]
        low, high = spread(per_run)
        print(f"  {title}, median ms: assistant {ma:6.1f}   platform controls {mp:6.1f}"
              f"   minimal window {mm:6.1f}")
        print(f"    assistant / platform controls {ratio:5.2f}   goal <= {GOAL:.2f}  "
              f"{'met' if ratio <= GOAL else 'NOT met'}   (per run: median "
              f"{median(per_run):.2f}, {low:.2f} to {high:.2f})")
        print(f"    assistant / minimal window    {ma / mm:5.2f}   platform controls / minimal "
              f"window {mp / mm:5.2f}")
    for title, figures in (("runs (outside, ms)", outside), ("runs (inside, ms)", inside)):
        print(f"  {title}:")
        for label, _, _ in PROGRAMS:
            print(f"    {label:<18} " + " ".join(f"{v:.0f}" for v in figures[label]))

    mib = 1024 * 1024
    wa, wp, wm = (median(working_set[x]) / mib for x in (a, p, m))
    print(f"  working set of the idle window, median of {memory_runs} (MiB): assistant "
          f"{wa:.1f}   platform controls {wp:.1f}   minimal window {wm:.1f}")
    print(f"    assistant / platform controls {wa / wp:5.2f}   (assistant "
          f"{wa - wp:+.1f} MiB)")


if __name__ == "__main__":
    main()
