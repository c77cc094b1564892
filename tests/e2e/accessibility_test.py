"""The assistant as a screen reader meets it, in English and German: another program
(accessible_probe.exe) walks the window's accessible objects the way a screen reader does
and listens to their events, while the flow runs with real keystrokes. It reads the header
once, the three steps in reading order, the link (whose "jump" hands the sign-up address to
the browser as a click does), the field named by its label with the typed number as its
value and the caret inside it, the button (whose "press" starts the download), and during a
slow download the busy indicator, named by that action, busy, announced as it appears and
goes. Runs in the demo prefix, whose browser launcher records the address it is given."""
import json
import os
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "demo"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import demo_prefix  # noqa: E402
from drive import find_window, wait_for  # noqa: E402
from product_config import config_value  # noqa: E402
from wineapp import WINE_RUN, App, Server, run_cases, xdotool  # noqa: E402

EXE, PROBE, INSTALLER = sys.argv[1], sys.argv[2], sys.argv[3]

# Roles and states of the platform's accessibility interface (ROLE_SYSTEM_*, STATE_SYSTEM_*).
DIALOG, PANE, LINK, STATIC, TEXT, BUTTON, PROGRESS = 18, 16, 30, 41, 42, 43, 48
FOCUSED, READONLY, BUSY, INVISIBLE, FOCUSABLE, LINKED = 0x4, 0x40, 0x800, 0x8000, 0x100000, 0x400000
EVENT_SHOW, EVENT_HIDE, EVENT_FOCUS, EVENT_STATE, EVENT_VALUE = 0x8002, 0x8003, 0x8005, 0x800A, 0x800E

# Client rectangles (left, top, right, bottom) of the controls whose place is checked.
LINK_RECT = (16, 152, 427, 179)
FIELD_RECT = (126, 314, 319, 338)

LANGUAGES = {
    "en": {
        "locale": "en_US.UTF-8",
        "window": "Register full version",
        "signup": f"https://{config_value('SignupHostInternational')}/fullversion/"
                  f"?l={config_value('SignupCode')}",
        "failure": "Download failed",
        "read": [
            (STATIC, "Free registration for Lumvora (full version)"),
            (STATIC, "Step 1: Click the following link and register:"),
            (LINK, "Register now"),
            (STATIC, "Step 2: Enter your customer ID received by e-mail once your registration "
                     "succeeded:"),
            (STATIC, "Customer ID:"),
            (TEXT, "Customer ID:"),
            (STATIC, "Step 3: Download and install full version on your computer:"),
            (BUTTON, "Download full version"),
            (STATIC, "Please pay attention to the correct input of your data, otherwise "
                     "registration will fail!"),
        ],
    },
    "de": {
        "locale": "de_DE.UTF-8",
        "window": "Vollversion registrieren",
        "signup": f"https://{config_value('SignupHostGerman')}/vollversion/"
                  f"?l={config_value('SignupCode')}",
        "failure": "Download fehlgeschlagen",
        "read": [
            (STATIC, "Kostenlose Registrierung f\u00fcr die Vollversion von Lumvora"),
            (STATIC, "Schritt 1: Klicken Sie den folgenden Link und registrieren Sie sich:"),
            (LINK, "Jetzt registrieren"),
            (STATIC, "Schritt 2: Geben Sie die Kundennummer ein, die Sie nach der Registrierung "
                     "per E-Mail erhalten haben:"),
            (STATIC, "Kundennummer:"),
            (TEXT, "Kundennummer:"),
            (STATIC, "Schritt 3: Laden Sie die Vollversion herunter und installieren Sie diese "
                     "auf Ihrem Computer:"),
            (BUTTON, "Vollversion herunterladen"),
            (STATIC, "Bitte achten Sie auf die korrekte Eingabe Ihrer Daten, da eine "
                     "Registrierung sonst nicht m\u00f6glich ist!"),
        ],
    },
}


class Reader:
    """accessible_probe.exe on the assistant's window, run in the assistant's Wine."""

    def __init__(self, app, caption):
        self.app, self.caption = app, caption

    def run(self, *args):
        r = subprocess.run([WINE_RUN, PROBE, self.caption, *args], env=self.app.env,
                           capture_output=True, timeout=60, check=False)
        lines = [json.loads(line) for line in r.stdout.decode("utf-8").splitlines()]
        if r.returncode != 0:
            raise AssertionError(f"probe {args} ended with {r.returncode}: {lines}")
        return lines

    def tree(self):
        return {node["path"]: node for node in self.run("tree")}

    def find(self, role, name=None):
        """The path of the one object with this role (and name)."""
        found = [p for p, n in self.tree().items()
                 if n["role"] == role and (name is None or n["name"] == name)]
        assert len(found) == 1, f"{len(found)} objects of role {role} named {name!r}"
        return found[0]

    def listen(self):
        return Events(self)


class Events:
    """The accessibility events of the assistant while a `with` block runs."""

    def __init__(self, reader):
        self.reader = reader
        self.seen = []

    def __enter__(self):
        self.proc = subprocess.Popen([WINE_RUN, PROBE, self.reader.caption, "events"],
                                     env=self.reader.app.env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE)
        first = self.proc.stdout.readline().decode("utf-8").strip()
        assert first == "ready", f"event probe said {first!r}"
        return self

    def __exit__(self, *exc):
        time.sleep(1)  # events still on their way
        self.proc.stdin.close()
        out = self.proc.stdout.read()
        self.proc.wait(timeout=30)
        self.seen = [json.loads(line) for line in out.decode("utf-8").splitlines()]

    def of(self, event, role=None):
        return [e for e in self.seen if e["event"] == event and (role is None or e["role"] == role)]


def shown(tree):
    """What a screen reader reads, in order: every visible object below the client area
    that has a name, as (role, name)."""
    return [(n["role"], n["name"]) for p, n in sorted(tree.items(), key=lambda i: path_key(i[0]))
            if p and not n["state"] & INVISIBLE and n["name"]]


def path_key(path):
    return [int(part) for part in path.split(".")] if path else []


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def inside(inner, outer):
    return (outer[0] <= inner[0] and outer[1] <= inner[1] and inner[2] <= outer[2]
            and inner[3] <= outer[3])


class Session:
    """The assistant in a language, in the demo prefix, and a reader on its window."""

    def __init__(self, lang, env):
        self.lang = LANGUAGES[lang]
        self.app = App(EXE, self.lang["locale"], env)
        self.app.wait_window(f"^{self.lang['window']}$")
        time.sleep(0.5)
        self.reader = Reader(self.app, self.lang["window"])

    def keys(self, *keys):
        xdotool("windowfocus", "--sync", self.app.window, "key", "--delay", "100", *keys)

    def type(self, text):
        xdotool("windowfocus", "--sync", self.app.window, "type", "--delay", "30", text)

    def close(self):
        assert self.app.close() == 0

    def kill(self):
        self.app.kill()


def reads_the_steps_follows_the_link_and_fills_the_field(lang):
    def case(env):
        demo_prefix.clear_recorded()
        s = Session(lang, env)
        try:
            tree = s.reader.tree()
            root = tree[""]
            assert (root["role"], root["name"]) == (DIALOG, s.lang["window"]), root
            assert shown(tree) == s.lang["read"], f"read {shown(tree)}"
            header = tree["1"]
            assert header["role"] == PANE and header["name"] is None, \
                f"the header band is announced itself: {header}"

            # The busy indicator and the download's progress bar, both on the hidden panel.
            busy = [n for n in tree.values() if n["role"] == PROGRESS]
            assert len(busy) == 2 and all(n["state"] & INVISIBLE and not n["state"] & BUSY
                                          for n in busy), f"busy indicator at rest: {busy}"

            link = tree[s.reader.find(LINK)]
            assert link["action"] == "jump" and link["state"] & LINKED, link
            assert tuple(link["rect"]) == LINK_RECT, link["rect"]
            hit = s.reader.run("hit", *map(str, centre(LINK_RECT)))[0]
            assert (hit["role"], hit["name"]) == (LINK, link["name"]), f"hit {hit}"

            field_path = s.reader.find(TEXT)
            field = tree[field_path]
            assert field["value"] is None and field["state"] & FOCUSED, f"field at start {field}"
            assert inside(field["rect"], FIELD_RECT), field["rect"]
            button = tree[s.reader.find(BUTTON, s.lang["read"][7][1])]
            assert button["action"] == "press" and button["state"] & FOCUSABLE, button

            s.reader.run("do", link["path"])
            assert wait_for(demo_prefix.recorded_addresses, 20) == [s.lang["signup"]], \
                f"browser launcher got {demo_prefix.recorded_addresses()}"

            with s.reader.listen() as events:
                s.type("4711000001")
                s.keys("Tab", "shift+Tab")
            values = [e["value"] for e in events.of(EVENT_VALUE, TEXT)]
            assert values and values[-1] == "4711000001", f"value changes {values}"
            focus = [(e["role"], e["name"]) for e in events.of(EVENT_FOCUS)
                     if e["role"] in (TEXT, BUTTON)]
            assert focus == [s.lang["read"][7], s.lang["read"][5]], f"focus events {focus}"

            field = s.reader.tree()[field_path]
            assert (field["name"], field["value"]) == (s.lang["read"][5][1], "4711000001"), field
            assert field["state"] & FOCUSED, field
            caret = s.reader.run("caret")[0]["rect"]
            assert inside(caret, field["rect"]) and caret[0] > field["rect"][0] + 20, \
                f"caret {caret} not after the text in {field['rect']}"

            s.reader.run("set", field_path, "4711000002")
            assert s.reader.tree()[field_path]["value"] == "4711000002", "value not set"
            s.close()
        finally:
            s.kill()
    return case


def hears_the_download_start_and_end(lang):
    def case(env):
        server = Server("slow-300", INSTALLER)  # 300 blocks, one every 50 ms; no program
        s = Session(lang, dict(env, http_proxy=f"http://127.0.0.1:{server.port}"))
        try:
            s.type("5555555555")
            action = s.lang["read"][7][1]
            with s.reader.listen() as events:
                s.reader.run("do", s.reader.find(BUTTON, action))

                def busy_now():
                    tree = s.reader.tree()
                    found = [n for n in tree.values() if n["role"] == PROGRESS]
                    return found[0] if found and found[0]["state"] & BUSY else None
                busy = wait_for(busy_now, 10)
                assert busy, "no busy indicator during the download"
                assert busy["name"] == action and not busy["state"] & INVISIBLE, busy
                failure = f"^{s.lang['failure']}$"
                assert not find_window(failure), "the download ended too soon to be heard"
                box = wait_for(lambda: find_window(failure), 60)
                assert box, "no failure message"
                xdotool("windowfocus", "--sync", box, "key", "Return")
                wait_for(lambda: not find_window(failure), 10)

            panel_events = [e["event"] for e in events.seen
                            if e["event"] in (EVENT_SHOW, EVENT_HIDE) and e["role"] == PANE
                            and e["rect"][1] == 82]
            assert panel_events == [EVENT_SHOW, EVENT_HIDE], f"busy panel events {events.seen}"
            states = [bool(e["state"] & BUSY) for e in events.of(EVENT_STATE, PROGRESS)]
            assert states[:1] == [True] and states[-1:] == [False], f"busy state changes {states}"
            named = [e for e in events.of(EVENT_STATE, PROGRESS) if e["name"] == action]
            assert named, "the busy indicator's events do not name the action"

            after = [n for n in s.reader.tree().values() if n["role"] == PROGRESS][0]
            assert after["state"] & INVISIBLE and not after["state"] & BUSY, after
            s.close()
        finally:
            s.kill()
            server.stop()
    return case


def main():
    cases = [
        ("Accessibility", "ReadsStepsFollowsLinkAndFillsField",
         reads_the_steps_follows_the_link_and_fills_the_field("en")),
        ("Accessibility", "ReadsStepsFollowsLinkAndFillsFieldInGerman",
         reads_the_steps_follows_the_link_and_fills_the_field("de")),
        ("Accessibility", "HearsTheDownloadStartAndEnd", hears_the_download_start_and_end("en")),
        ("Accessibility", "HearsTheDownloadStartAndEndInGerman",
         hears_the_download_start_and_end("de")),
    ]
    env = demo_prefix.prepare()
    try:
        return run_cases("e2e_accessibility",
                         [(suite, name, lambda fn=fn: fn(env)) for suite, name, fn in cases])
    finally:
        demo_prefix.wineserver("-k")


if __name__ == "__main__":
    sys.exit(main())
