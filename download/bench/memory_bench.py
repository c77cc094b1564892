#!/usr/bin/env python3
"""Memory of the assistant as its user runs it, beside the same window built from the
platform's own controls (bench/PlatformDialog.cpp): the working set of each idle window, and
the assistant's working set during a 64 MiB download (typed number, the download button, the
loopback test server through the proxy setting), as the platform reports them to a task
manager (bench/WorkingSetProbe.cpp). The body is no program, so the download ends with the
failure message and the window stays to be read. Prints figures; checks nothing.

    memory_bench.py <assistant.exe> <PlatformDialog.exe> <working_set_probe.exe>
(run by download/bench/bench-download.sh, with DISPLAY and the Wine prefix set up)
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from wineapp import WINE_RUN, App, Server, xdotool  # noqa: E402

ASSISTANT, PLATFORM, PROBE = sys.argv[1:4]
BODY = 64 * 1024 * 1024
CAPTION = "Register full version"
FAILURE = "Download failed"
IDLE_SECONDS = 2.0
MIB = 1024 * 1024


def memory(env, caption):
    """(working set, peak working set) in bytes, or None when the window is gone."""
    r = subprocess.run([WINE_RUN, PROBE, caption], env=env, capture_output=True, text=True)
    if r.returncode != 0:
        return None
    fields = dict(f.split("=") for f in r.stdout.split() if "=" in f)
    return int(fields["ws"]), int(fields["peak"])


def idle(exe):
    app = App(exe)
    try:
        app.wait_window(f"^{CAPTION}$")
        time.sleep(IDLE_SECONDS)
        return memory(app.env, CAPTION)[0]
    finally:
        app.kill()


def download():
    """Idle working set, then the highest working set seen during the download and the
    platform's peak figure once the failure message shows; seconds the download took."""
    server = Server(case=f"ok-{BODY}")
    app = App(ASSISTANT, env={"http_proxy": f"http://127.0.0.1:{server.port}"})
    try:
        app.wait_window(f"^{CAPTION}$")
        time.sleep(IDLE_SECONDS)
        idle_ws = memory(app.env, CAPTION)[0]
        # The field has the focus; Tab and Space press the download button.
        xdotool("windowfocus", "--sync", app.window, "type", "--delay", "30", "1234567890")
        begin = time.monotonic()
        xdotool("windowfocus", "--sync", app.window, "key", "--delay", "50", "Tab", "space")
        highest = 0
        while time.monotonic() < begin + 300:
            if xdotool("search", "--onlyvisible", "--name", f"^{FAILURE}$", check=False):
                break
            if app.proc.poll() is not None:
                raise RuntimeError(f"the assistant ended ({app.proc.returncode})")
            now = memory(app.env, CAPTION)
            if now:
                highest = max(highest, now[0])
            time.sleep(0.2)
        seconds = time.monotonic() - begin
        _, peak = memory(app.env, CAPTION)
        return idle_ws, highest, peak, seconds
    finally:
        app.kill()
        server.stop()


def main():
    platform = idle(PLATFORM)
    idle_ws, highest, peak, seconds = download()
    print(f"Memory (working set as the platform reports it; load average "
          f"{'/'.join(f'{v:.1f}' for v in os.getloadavg())})")
    rows = [("platform-controls window, idle", platform, ""),
            ("assistant, idle", idle_ws, ""),
            ("assistant, highest seen during a 64 MiB download", highest, ""),
            ("assistant, peak working set at the end", peak,
             f"; the download took {seconds:.1f} s")]
    for name, value, note in rows:
        print(f"  {name:<50} {value / MIB:6.1f} MiB   ({value / platform:.2f} x the "
              f"platform-controls window{note})")


if __name__ == "__main__":
    main()
