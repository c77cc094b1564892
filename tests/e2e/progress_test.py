"""The download's progress and its end by the user, as a user meets them: the real program
under Wine on Xvfb against the test server's installer paced at 2 KB/s. The bar and the text
line move, and the numbers they show are those of the bytes the server has sent; the Cancel
button (mouse, Space, Escape) stops the try at once, deletes the partial file, shows no
message, stores nothing and leaves the window ready for another try; a close request
(Alt+F4, the title bar's close button) asks first: No lets the download go on, Yes ends
the program with exit code 0 and leaves nothing. A screen reader reads the bar as a
progress bar whose value is the share in percent, and hears it change at most once a
second. Both languages."""
import json
import os
import re
import subprocess
import sys
import time

from wineapp import BUSY_PANEL, BUTTON, CLIENT, KEY, PREFIX, ROOT, SHOTS, WINE_RUN, App, Image, Probe, Server, run_cases, wait_for, xdotool

EXE, INSTALLER, PROBE, READER = sys.argv[1:5]
LOGS = os.path.join(ROOT, "build", "e2e-server-logs")
# On the busy panel (client coordinates): the bar, its text line, the Cancel button.
BAR = (72, 238, 373, 250)
TEXT_LINE = (16, 260, 429, 278)
CANCEL = (162, 292, 283, 322)
# The installer padded to this size: about a minute at 2 KB/s.
SIZE = 120000
STATIC, PROGRESS = 41, 48
EVENT_VALUE = 0x800E

LANGUAGES = {
    "en": {"locale": "en_US.UTF-8", "window": "Register full version", "of": " of ",
           "unit": "117 KB", "decimal": ".", "cancel": "Cancel", "failure": "Download failed",
           "question": "Cancel download?", "yes": "y", "no": "n",
           "text": "The full version is still downloading.\r\n\r\nDo you want to cancel the "
                   "download and close the assistant?"},
    "de": {"locale": "de_DE.UTF-8", "window": "Vollversion registrieren", "of": " von ",
           "unit": "117 KB", "decimal": ",", "cancel": "Abbrechen",
           "failure": "Download fehlgeschlagen", "question": "Download abbrechen?",
           "yes": "j", "no": "n",
           "text": "Die Vollversion wird noch heruntergeladen.\r\n\r\nM\u00f6chten Sie den "
                   "Download abbrechen und den Assistenten schlie\u00dfen?"},
}


def reg(*args):
    return subprocess.run([WINE_RUN, "reg", *args], capture_output=True, text=True, check=False,
                          env=dict(os.environ, LC_ALL="en_US.UTF-8"))


def stored_number():
    return "CustomerID" in reg("query", KEY, "/v", "CustomerID").stdout


def partial_file():
    import pwd
    user = pwd.getpwuid(os.getuid()).pw_name
    return os.path.join(PREFIX, "drive_c", "users", user, "Temp", "lumvoraVV.exe")


def size_of(path):
    return os.path.getsize(path) if os.path.exists(path) else None


class Session:
    """The assistant in a language against a paced server, its download started."""

    def __init__(self, lang, name):
        self.lang = LANGUAGES[lang]
        self.log = os.path.join(LOGS, f"progress-{name}.log")
        reg("delete", KEY, "/f")
        if os.path.exists(partial_file()):
            os.remove(partial_file())
        self.server = Server(f"paced-installer-{SIZE}", INSTALLER, self.log)
        self.app = App(EXE, self.lang["locale"],
                       {"http_proxy": f"http://127.0.0.1:{self.server.port}"})
        self.app.wait_window(f"^{self.lang['window']}$")
        time.sleep(0.5)
        self.origin = self.app.client_origin(*CLIENT)

    def start(self):
        xdotool("windowfocus", "--sync", self.app.window, "type", "--delay", "30", "1234567890")
        self.click(BUTTON)
        assert wait_for(lambda: self.probe().child_at(BUSY_PANEL)["visible"], 10), "no panel"

    def click(self, rect):
        x = self.origin[0] + (rect[0] + rect[2]) // 2
        y = self.origin[1] + (rect[1] + rect[3]) // 2
        xdotool("mousemove", "--window", self.app.window, str(x), str(y), "click", "1")

    def keys(self, *keys):
        xdotool("windowfocus", "--sync", self.app.window, "key", "--clearmodifiers", *keys)

    def probe(self, caption=None):
        return Probe(PROBE, self.app.env, caption or self.lang["window"])

    def shot(self, name, whole_screen=False):
        path = self.app.screenshot(os.path.join(SHOTS, name), whole_screen)
        image = Image(path)
        left, top = self.origin
        if whole_screen:
            x, y = self.app.position()
            left, top = left + x, top + y
        image.client = (left, top)
        return image

    def region(self, image, rect):
        l, t = image.client
        return image.region(l + rect[0], t + rect[1], l + rect[2], t + rect[3])

    def accessible(self):
        """The window's accessible objects as a screen reader reads them."""
        r = subprocess.run([WINE_RUN, READER, self.lang["window"], "tree"], env=self.app.env,
                           capture_output=True, timeout=60, check=False)
        assert r.returncode == 0, f"accessible probe ended with {r.returncode}"
        return [json.loads(line) for line in r.stdout.decode("utf-8").splitlines()]

    def sent(self):
        """(time, body bytes) of each paced piece the server has sent so far."""
        with open(self.log, encoding="utf-8") as f:
            return [(float(p[3]), int(p[2])) for p in (line.rstrip("\n").split("\t") for line in f)
                    if p[0] == "sent"]

    def client_let_go(self):
        with open(self.log, encoding="utf-8") as f:
            return any(line.startswith("closed\t") and line.rstrip().endswith("client")
                       for line in f)

    def box(self, caption):
        found = xdotool("search", "--onlyvisible", "--name", f"^{re.escape(caption)}$",
                        check=False)
        return found.splitlines()[0] if found else None

    def stop(self):
        self.app.kill()
        self.server.stop()


def sent_by(pieces, moment):
    return max([n for t, n in pieces if t <= moment], default=0)


def reads_right(s):
    """The text line and the bar's accessible value, read by a screen reader, against what
    the server had sent: no more than it had sent by the end of the reading, no less than
    it had sent a second and a half before it began (the line moves four times a second)."""
    before = time.time()
    tree = s.accessible()
    after = time.time()
    pattern = re.compile(r"^(\d+) KB" + re.escape(s.lang["of"]) + re.escape(s.lang["unit"]) +
                         r"( \u2013 .*)?$")
    lines = [n["name"] for n in tree if n["role"] == STATIC and n["name"]
             and pattern.match(n["name"])]
    assert len(lines) == 1, f"text line not found: {[n['name'] for n in tree]}"
    bars = [n for n in tree if n["role"] == PROGRESS and n["value"]]
    assert len(bars) == 1, f"no progress bar with a value: {[n for n in tree if n['role'] == PROGRESS]}"
    percent = int(bars[0]["value"].rstrip("%").strip())
    shown_kb = int(pattern.match(lines[0]).group(1))
    pieces = s.sent()
    low, high = sent_by(pieces, before - 1.5), sent_by(pieces, after)
    assert low // 1024 <= shown_kb <= high // 1024, \
        f"shows {shown_kb} KB; the server had sent {low} to {high} bytes"
    assert low * 100 // SIZE <= percent <= high * 100 // SIZE, \
        f"value {bars[0]['value']}; the server had sent {low} to {high} bytes"
    return lines[0]


def value_events(s, seconds):
    """The progress bars' value-change events a screen reader hears in `seconds`."""
    proc = subprocess.Popen([WINE_RUN, READER, s.lang["window"], "events"], env=s.app.env,
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    first = proc.stdout.readline().decode("utf-8").strip()
    assert first == "ready", f"event probe said {first!r}"
    time.sleep(seconds)
    proc.stdin.close()
    out = proc.stdout.read()
    proc.wait(timeout=30)
    events = [json.loads(line) for line in out.decode("utf-8").splitlines()]
    return [e for e in events if e.get("event") == EVENT_VALUE and e["role"] == PROGRESS]


def moves_and_cancels(lang, how):
    """The bar and the text move (two screenshots a second apart) and read right; `how`
    (mouse, space, escape) cancels: at once, no message, no partial file, nothing stored,
    the client let go of the connection; then a second try starts afresh."""
    def case():
        s = Session(lang, f"cancel-{how}-{lang}")
        try:
            s.start()
            time.sleep(2.5)
            first = s.shot(f"progress-{lang}.png")
            line = reads_right(s)
            print(f"    reads {line!r}")
            time.sleep(1)
            second = s.shot(f"progress-{lang}-later.png")
            assert s.region(first, BAR) != s.region(second, BAR), "the bar does not move"
            assert s.region(first, TEXT_LINE) != s.region(second, TEXT_LINE), \
                "the text line does not move"
            reads_right(s)
            if how == "mouse":
                heard = value_events(s, 4)
                print(f"    value changes heard in 4 s: {[e['value'] for e in heard]}")
                assert 2 <= len(heard) <= 5, f"{len(heard)} value changes in 4 s"
                assert all(re.match(r"^\d+ ?%$", e["value"] or "") for e in heard), heard

            main = s.probe()
            assert main.focus and main.focus[1].lower() == "button" and \
                main.focus[2] == s.lang["cancel"], f"focus on {main.focus}, not on Cancel"
            start = time.time()
            if how == "mouse":
                s.click(CANCEL)
            else:
                s.keys({"space": "space", "escape": "Escape"}[how])
            assert wait_for(lambda: not s.probe().child_at(BUSY_PANEL)["visible"], 3), \
                "the busy panel stays after Cancel"
            print(f"    panel gone {time.time() - start:.1f} s after Cancel")
            assert wait_for(s.client_let_go, 3), "the connection was not let go"
            time.sleep(1)
            assert s.box(s.lang["failure"]) is None, "a failure message after Cancel"
            assert s.app.proc.poll() is None, "the program ended"
            assert not os.path.exists(partial_file()), "the partial file is left"
            assert not stored_number(), "a cancelled try stored the number"
            main = s.probe()
            assert main.focus and main.focus[0] == main.child_at(BUTTON)["hwnd"], \
                "the focus is not back on the download button"

            s.click(BUTTON)
            assert wait_for(lambda: s.probe().child_at(BUSY_PANEL)["visible"], 10), \
                "no second try"
            assert wait_for(lambda: (size_of(partial_file()) or 0) > 0, 10), \
                "the second try receives nothing"
            s.keys("Escape")
            assert wait_for(lambda: not s.probe().child_at(BUSY_PANEL)["visible"], 3)
            assert wait_for(lambda: not os.path.exists(partial_file()), 3)
            assert s.app.close() == 0
        finally:
            s.stop()
    return case


def close_asks_first(lang, how):
    """A close request (`how`: Alt+F4 or the title bar's close button) asks in the
    language; No lets the download go on (the window stays, the partial file keeps
    growing); the second request's Yes ends the program with exit code 0, deletes the
    partial file and stores nothing."""
    def case():
        s = Session(lang, f"close-{how}-{lang}")
        try:
            s.start()
            time.sleep(2)

            def request_close():
                if how == "alt+F4":
                    s.keys("alt+F4")
                else:
                    # Wine draws the frame: the close button is the caption's rightmost.
                    width, _ = s.app.geometry()
                    border = s.origin[0]
                    x, y = width - border - 10, (s.origin[1] - border) // 2 + border
                    xdotool("mousemove", "--window", s.app.window, str(x), str(y), "click", "1")

            request_close()
            assert wait_for(lambda: s.box(s.lang["question"]), 10), "no question"
            box = s.probe(s.lang["question"])
            texts = [c["text"] for c in box.children if c["class"].lower() == "static" and c["text"]]
            assert texts == [s.lang["text"]], f"question text {texts!r}"
            assert box.owner and box.owner[0] == s.probe().hwnd, "the question has another owner"
            s.shot(f"close-question-{lang}.png", whole_screen=True)
            grown = size_of(partial_file())
            xdotool("windowfocus", "--sync", s.box(s.lang["question"]), "key", s.lang["no"])
            assert wait_for(lambda: not s.box(s.lang["question"]), 5), "the question stays"
            time.sleep(1.5)
            assert s.app.proc.poll() is None, "No ended the program"
            assert s.probe().child_at(BUSY_PANEL)["visible"], "No ended the download"
            assert (size_of(partial_file()) or 0) > (grown or 0), "the download does not go on"

            request_close()
            assert wait_for(lambda: s.box(s.lang["question"]), 10), "no question the second time"
            xdotool("windowfocus", "--sync", s.box(s.lang["question"]), "key", s.lang["yes"])
            code = s.app.wait_exit(10)
            assert code == 0, f"exit code {code}"
            assert not os.path.exists(partial_file()), "the partial file is left"
            assert not stored_number(), "closing during the download stored the number"
        finally:
            s.stop()
    return case


sys.exit(run_cases("e2e_progress", [
    ("Progress", "MovesReadsRightAndCancelsByMouse", moves_and_cancels("en", "mouse")),
    ("Progress", "MovesReadsRightAndCancelsBySpaceInGerman", moves_and_cancels("de", "space")),
    ("Progress", "CancelsByEscape", moves_and_cancels("en", "escape")),
    ("Close", "AltF4AsksNoGoesOnYesEnds", close_asks_first("en", "alt+F4")),
    ("Close", "CloseButtonAsksInGerman", close_asks_first("de", "button")),
]))
