"""The assistant as the demo tour and its test drive it under Wine on an X display: the
window's fixed places (the link, the edit field, the download button), typing a customer
number and pressing download, finding the failure box and the demo installer's window,
screenshots of a part of the screen."""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from wineapp import App, Image, xdotool  # noqa: E402

WINDOW_NAME = "registrieren|Register full version"
FAILURE_BOX_NAME = "^(Download failed|Download fehlgeschlagen)$"
QUESTION_BOX_NAME = "^(Cancel download\\?|Download abbrechen\\?)$"
INSTALLER_WINDOW_NAME = r"full version setup \(demo\)|Vollversion Setup \(Demo\)"
CLIENT_SIZE = (445, 592)
# Client coordinates: the middles of the link, the edit field and the download button, and
# the heading of step 1 (x, y, width, height), which the busy panel covers white.
LINK = (221, 165)
EDIT = (222, 326)
BUTTON = (222, 480)
STEP1_HEADING = (16, 102, 90, 20)
# The band of the busy indicator's dots and its middle part (x from, x to, y from, y to).
DOTS_MIDDLE = (120, 330, 194, 210)
# A point inside the progress bar a little short of its middle, and the bar's colour.
BAR_NEAR_HALF = (205, 244)
BAR_BLUE = (0, 123, 206)
WHITE = (255, 255, 255)


def wait_for(predicate, timeout=30, step=0.1):
    """Polls until predicate() answers something true; answers that, or None on time-out."""
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return None


def find_window(name_regex):
    """The first visible window whose name matches, or None."""
    found = xdotool("search", "--onlyvisible", "--name", name_regex, check=False)
    return found.splitlines()[0] if found else None


def wait_window(name_regex, timeout=30):
    window = wait_for(lambda: find_window(name_regex), timeout)
    if not window:
        raise RuntimeError(f"no window matching {name_regex!r}")
    return window


def window_rect(window):
    out = xdotool("getwindowgeometry", "--shell", window)
    v = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(v["X"]), int(v["Y"]), int(v["WIDTH"]), int(v["HEIGHT"])


def shoot(path, *windows):
    """A screenshot of the part of the screen that holds the given windows (so a message
    box is shown over the window it belongs to)."""
    rects = [window_rect(w) for w in windows]
    left = min(r[0] for r in rects)
    top = min(r[1] for r in rects)
    right = max(r[0] + r[2] for r in rects)
    bottom = max(r[1] + r[3] for r in rects)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    # From the root window, which cannot vanish while it is read (a program's window can,
    # and import then waits for ever).
    subprocess.run(["import", "-window", "root", "-crop",
                    f"{right - left}x{bottom - top}+{left}+{top}", "+repage", path], check=True,
                   timeout=30)
    return path


class Assistant(App):
    """One run of the assistant, its window found and settled."""

    def __init__(self, exe, locale, env):
        super().__init__(exe, locale, env)
        self.lang = locale[:2]
        self.wait_window(WINDOW_NAME)
        time.sleep(0.5)  # the first paint

    def click(self, point):
        ox, oy = self.client_origin(*CLIENT_SIZE)
        xdotool("windowfocus", "--sync", self.window)
        xdotool("mousemove", "--window", self.window, str(ox + point[0]), str(oy + point[1]),
                "click", "1")

    def click_link(self):
        self.click(LINK)

    def download(self, number):
        """Replaces the edit field's text with the number and presses the download button."""
        self.click(EDIT)  # after a failure box the focus is back on the button
        xdotool("key", "--clearmodifiers", "ctrl+a")
        xdotool("type", "--delay", "30", number)
        self.click(BUTTON)

    def busy(self, scratch):
        """Whether the busy panel covers the steps with its dots in the middle of their row,
        judged on a screenshot (the dots sweep across and are out of sight at times)."""
        image = Image(shoot(scratch, self.window))
        ox, oy = self.client_origin(*CLIENT_SIZE)
        x, y, w, h = STEP1_HEADING
        covered = all(p == WHITE for p in image.region(ox + x, oy + y, ox + x + w, oy + y + h))
        left, right, top, bottom = DOTS_MIDDLE
        dots = any(p != WHITE for p in image.region(ox + left, oy + top, ox + right, oy + bottom))
        return covered and dots

    def near_half(self, scratch):
        """Whether the progress bar is filled to about its middle, judged on a screenshot."""
        image = Image(shoot(scratch, self.window))
        ox, oy = self.client_origin(*CLIENT_SIZE)
        return image.pixel(ox + BAR_NEAR_HALF[0], oy + BAR_NEAR_HALF[1]) == BAR_BLUE

    def request_close(self):
        xdotool("windowfocus", "--sync", self.window, "key", "--clearmodifiers", "alt+F4")
