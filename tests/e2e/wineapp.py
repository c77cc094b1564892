"""Drives the real program under Wine on the test run's X display: start it in a chosen
system language, find its window, type and click with xdotool, take screenshots, close it.
"""
import os
import re
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
# The prefix the tests run in, where screenshots go, and what every test of the window knows
# of it: the registry key the customer number is stored under (the configuration's, under
# HKCU), the client size and the places of the download button and the busy panel.
PREFIX = os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
SHOTS = os.path.join(ROOT, "build", "screenshots")
KEY = r"HKCU\Software\Kestrune\Lumvora"
CLIENT = (445, 592)
BUTTON = (126, 461, 319, 499)
BUSY_PANEL = (0, 82, 445, 499)
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
SERVER = os.path.join(ROOT, "tests", "fixtures", "httpserver.py")
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from report import Report  # noqa: E402


def wine_env(locale, extra=None):
    env = dict(os.environ)
    env["LC_ALL"] = locale
    env.pop("GTEST_OUTPUT", None)
    env.update(extra or {})
    return env


def restart_wineserver(env):
    """A running wineserver keeps its system language: stop it before switching."""
    # -k asks it to end; -w waits until it has, so the next program starts a fresh one
    # instead of meeting the old one on its way out.
    subprocess.run(["bash", "-c", f"source {ROOT}/scripts/env.sh && wineserver -k; wineserver -w"],
                   env=env, stderr=subprocess.DEVNULL, check=False)


def wait_for(predicate, timeout=30):
    """Asks `predicate` every 0.1 s until it answers true (True) or the time runs out."""
    end = time.time() + timeout
    while time.time() < end:
        if predicate():
            return True
        time.sleep(0.1)
    return False


def xdotool(*args, check=True):
    r = subprocess.run(["xdotool", *args], capture_output=True, text=True, check=False)
    if check and r.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(args)} failed: {r.stderr.strip()}")
    return r.stdout.strip()


class App:
    """One run of a Windows program under Wine."""

    def __init__(self, exe, locale="en_US.UTF-8", env=None):
        self.env = wine_env(locale, env)
        restart_wineserver(self.env)
        self.exe = exe
        self.launch()
        self.window = None

    def launch(self):
        self.proc = subprocess.Popen([WINE_RUN, self.exe], env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_window(self, name_regex, timeout=30):
        end = time.time() + timeout
        relaunched = False
        while time.time() < end:
            found = xdotool("search", "--onlyvisible", "--name", name_regex, check=False)
            if found:
                self.window = found.splitlines()[0]
                return self.window
            if self.proc.poll() is not None:
                # Now and then a start fails while a fresh wineserver is still starting its
                # services: exit code 3 from Wine's loader or the runtime, or 1 from the
                # program's own report of an error at its start (its first window could not
                # be created). One more start tells that from a program that really cannot
                # open its window.
                if self.proc.returncode in (1, 3) and not relaunched:
                    relaunched = True
                    time.sleep(1)
                    self.launch()
                    continue
                raise RuntimeError(f"program ended with {self.proc.returncode} before its window")
            time.sleep(0.1)
        raise RuntimeError(f"no window matching {name_regex!r}")

    def name(self):
        return xdotool("getwindowname", self.window)

    def geometry(self):
        out = xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def client_origin(self, client_width, client_height):
        """Where the client area starts in the window's X geometry. Wine draws the frame
        itself (no window manager): equal borders left, right and bottom, caption on top."""
        width, height = self.geometry()
        border = (width - client_width) // 2
        return border, height - client_height - border

    def position(self):
        out = xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"])

    def screenshot(self, path, whole_screen=False):
        """The window's own pixels; with whole_screen the screen as a user sees it, with
        every window over this one (a message box)."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        # ImageMagick waits for ever when a window goes away during the capture.
        subprocess.run(["import", "-window", "root" if whole_screen else self.window, path],
                       check=True, timeout=30)
        return path

    def close(self, timeout=20):
        """Alt+F4 on the window; answers the exit code."""
        xdotool("windowfocus", "--sync", self.window, "key", "--clearmodifiers", "alt+F4")
        return self.wait_exit(timeout)

    def wait_exit(self, timeout=20):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


class Server:
    """The test server (tests/fixtures/httpserver.py) on 127.0.0.1, stopped by its own
    process id; `case` makes the installer path answer with one of its fault rows; with `log`
    it logs every request to that file."""

    def __init__(self, case=None, installer=None, log=None):
        args = [sys.executable, SERVER, "serve"]
        args += ["--installer", installer] if installer else []
        args += ["--installer-case", case] if case else []
        self.log = log
        if log:
            os.makedirs(os.path.dirname(log), exist_ok=True)
            if os.path.exists(log):
                os.remove(log)
            args += ["--log", log]
        self.proc = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline().split()
        assert line and line[0] == "PORT", f"server said {line}"
        self.port = int(line[1])

    def requests(self):
        """The request lines the server has taken so far, in order (needs `log`)."""
        with open(self.log, encoding="utf-8") as f:
            return [line.rstrip("\n").split("\t")[2] for line in f
                    if line.startswith("request\t")]

    def stop(self):
        self.proc.kill()
        self.proc.wait()


class Image:
    """A screenshot's pixels, read once through ImageMagick (no imaging module here)."""

    def __init__(self, png):
        data = subprocess.run(["convert", png, "-depth", "8", "ppm:-"], capture_output=True,
                              check=True).stdout
        # Binary PPM: "P6\n<w> <h>\n255\n" then RGB triples.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        self.width, self.height = int(fields[1]), int(fields[2])
        self.rgb = data[pos + 1:]

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def region(self, left, top, right, bottom):
        """The pixels of a rectangle, row by row."""
        return [self.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]


# What the window probe writes for characters that would break its lines.
UNESCAPED = {"r": "\r", "n": "\n", "t": "\t", "\\": "\\"}


class Probe:
    """What the platform tells another program about a top-level window (window_probe.exe):
    its owner, the focused window of its thread and its child windows, topmost first."""

    def __init__(self, exe, env, caption):
        r = subprocess.run([WINE_RUN, exe, caption], env=env, capture_output=True, check=False)
        if r.returncode != 0:
            raise RuntimeError(f"no window {caption!r} (probe said {r.returncode})")
        self.owner = self.focus = None
        self.children = []
        for line in r.stdout.decode("utf-8").splitlines():
            kind, *values = line.split("\t")
            values = [re.sub(r"\\(.)", lambda m: UNESCAPED.get(m.group(1), m.group(1)), v)
                      for v in values]
            if kind == "window":
                self.hwnd = values[0]
            elif kind == "owner":
                self.owner = values if values[0] != "0" else None
            elif kind == "focus":
                self.focus = values if values[0] != "0" else None
            elif kind == "child":
                hwnd, cls, ident, visible, enabled, l, t, r_, b, *text = values
                self.children.append({"hwnd": hwnd, "class": cls, "id": int(ident),
                                      "visible": visible == "1", "enabled": enabled == "1",
                                      "rect": (int(l), int(t), int(r_), int(b)),
                                      "text": "\t".join(text)})

    def child_of_class(self, cls):
        found = [c for c in self.children if c["class"] == cls]
        if len(found) != 1:
            raise AssertionError(f"{len(found)} child windows of class {cls}: {self.children}")
        return found[0]

    def child_at(self, rect):
        """The child window with exactly these client bounds."""
        found = [c for c in self.children if c["rect"] == rect]
        if not found:
            raise AssertionError(f"no child window at {rect}: {self.children}")
        return found[0]


def pixel(png, x, y):
    """The colour at a pixel of a PNG as (r, g, b)."""
    out = subprocess.run(["convert", png, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],"
                          f"%[fx:int(255*p{{{x},{y}}}.g)],%[fx:int(255*p{{{x},{y}}}.b)]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return tuple(int(v) for v in out.split(","))


def run_cases(report_name, cases):
    """Runs (suite, name, function) cases, writes a report, answers the exit status."""
    folder = os.environ.get("LV_REPORTS", os.path.join(ROOT, "build", "reports", "win"))
    os.makedirs(folder, exist_ok=True)
    report = Report(os.path.join(folder, report_name + ".xml"))
    failed = 0
    for suite, name, fn in cases:
        try:
            fn()
            report.add(suite, name, True)
            print(f"[  OK  ] {suite}.{name}")
        except Exception as e:  # a failed case is reported, the others still run
            failed += 1
            report.add(suite, name, False, f"{type(e).__name__}: {e}")
            print(f"[FAILED] {suite}.{name}: {type(e).__name__}: {e}")
    report.write()
    return 1 if failed else 0
