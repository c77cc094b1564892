"""The assistant as its user meets it: the real program under Wine on Xvfb, driven with real
keystrokes and clicks (xdotool), downloading from the loopback test server through the proxy
setting. Success starts the installer and ends the program; every kind of failure shows the
failure message of the system's language naming its cause, keeps the window, hides the busy panel, gives the
focus back and stores a ten-character customer number. During a slow download the busy
panel covers the steps, the dots move, and the focus stays on the panel's Cancel button.
A hostile or broken server cannot hold the program or take the customer's credentials
elsewhere: a redirect loop, a redirect to another host and a body that trickles end in the
failure message; redirects within the host and a slow body that keeps moving still deliver
the installer."""
import os
import pwd
import subprocess
import sys
import time

from failure_texts import failure_text
from wineapp import BUSY_PANEL, BUTTON, CLIENT, KEY, PREFIX, ROOT, SHOTS, App, Image, Probe, Server, run_cases, wait_for, wine_env, xdotool
from product_config import config_value  # noqa: E402 (scripts/ is on the path wineapp sets)

EXE, INSTALLER, PROBE = sys.argv[1], sys.argv[2], sys.argv[3]
SERVER_LOGS = os.path.join(ROOT, "build", "e2e-server-logs")
# Every request the program sends goes to the download host on port 80 (proxy form).
ON_DOWNLOAD_HOST = f"GET http://{config_value('DownloadHost')}:80/"

# Client rectangles of the window's controls (left, top, right, bottom). The field's height
# follows its font's measured height, a pixel less here than with Windows' Verdana.
FIELD = (126, 314, 319, 338)
# On the busy panel: the band the dots run in.
DOTS_BAND = (0, 182, 445, 222)
LINK = (16, 152, 427, 179)

HEADER_BLUE = (0, 123, 206)
NOTE_YELLOW = (254, 249, 211)
WHITE = (255, 255, 255)

LANGUAGES = {
    "en": {
        "locale": "en_US.UTF-8",
        "window": "Register full version",
        "caption": "Download failed",
    },
    "de": {
        "locale": "de_DE.UTF-8",
        "window": "Vollversion registrieren",
        "caption": "Download fehlgeschlagen",
    },
}


def reg(*args):
    return subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), "reg", *args],
                          env=wine_env("en_US.UTF-8"), capture_output=True, text=True, check=False)


def stored_number():
    r = reg("query", KEY, "/v", "CustomerID")
    for line in r.stdout.splitlines():
        if "CustomerID" in line:
            return line.split("REG_SZ", 1)[1].strip().rstrip("\r")
    return None


def temp_file(name):
    """A file in the Windows user's temporary folder (Wine names the user as Unix does)."""
    user = pwd.getpwuid(os.getuid()).pw_name
    return os.path.join(PREFIX, "drive_c", "users", user, "Temp", name)


def remove(path):
    if os.path.exists(path):
        os.remove(path)



class Assistant:
    """One run of the assistant in a language, against a server."""

    def __init__(self, lang, server):
        self.code = lang
        self.lang = LANGUAGES[lang]
        self.app = App(EXE, self.lang["locale"], {"http_proxy": f"http://127.0.0.1:{server.port}"})
        self.app.wait_window(f"^{self.lang['window']}$")
        time.sleep(0.5)
        self.origin = self.app.client_origin(*CLIENT)

    def centre(self, rect):
        return self.origin[0] + (rect[0] + rect[2]) // 2, self.origin[1] + (rect[1] + rect[3]) // 2

    def click(self, rect):
        x, y = self.centre(rect)
        xdotool("mousemove", "--window", self.app.window, str(x), str(y), "click", "1")

    def keys(self, *keys):
        xdotool("windowfocus", "--sync", self.app.window, "key", "--delay", "50", *keys)

    def type(self, text):
        xdotool("windowfocus", "--sync", self.app.window, "type", "--delay", "30", text)

    def press_download(self, how):
        """The download button, by Tab and Space from the field or by a mouse click."""
        if how == "keys":
            self.keys("Tab", "space")
        else:
            self.click(BUTTON)

    def probe(self, caption=None):
        return Probe(PROBE, self.app.env, caption or self.lang["window"])

    def shot(self, name, whole_screen=False):
        """A screenshot of the window (or of the whole screen) and where the client area
        starts in it."""
        path = self.app.screenshot(os.path.join(SHOTS, name), whole_screen)
        image = Image(path)
        image.client = self.origin
        if whole_screen:
            x, y = self.app.position()
            image.client = (x + self.origin[0], y + self.origin[1])
        return image

    @staticmethod
    def client_pixel(image, x, y):
        return image.pixel(image.client[0] + x, image.client[1] + y)

    def failure_box(self, timeout=60, kind="refused", status=None):
        """Waits for the failure message; checks its caption, text (of the cause `kind`, see
        failure_texts) and owner."""
        box = None
        end = time.time() + timeout
        while box is None and time.time() < end:
            try:
                box = self.probe(self.lang["caption"])
            except RuntimeError:
                assert self.app.proc.poll() is None, \
                    f"the program ended ({self.app.proc.returncode}) instead of reporting"
        assert box, f"no message box {self.lang['caption']!r}"
        texts = [c["text"] for c in box.children if c["class"].lower() == "static" and c["text"]]
        assert texts == [failure_text(self.code, kind, status)], f"box text {texts!r}"
        main = self.probe()
        assert box.owner and box.owner[0] == main.hwnd, f"box owner {box.owner}, main {main.hwnd}"
        return box

    def close_box(self):
        box = xdotool("search", "--onlyvisible", "--name", f"^{self.lang['caption']}$")
        xdotool("windowfocus", "--sync", box.splitlines()[0], "key", "Return")

    def expect_idle_after_failure(self):
        """The window stays, the busy panel is hidden, the focus is back on the button."""
        assert wait_for(lambda: not xdotool("search", "--onlyvisible", "--name",
                                            f"^{self.lang['caption']}$", check=False), 10)
        assert self.app.proc.poll() is None, "the window must stay open after a failure"
        main = self.probe()
        assert not main.child_at(BUSY_PANEL)["visible"], "the busy panel is still shown"
        button = main.child_at(BUTTON)
        assert main.focus and main.focus[0] == button["hwnd"], \
            f"focus on {main.focus}, expected the download button"

    def close(self):
        code = self.app.close()
        assert code == 0, f"exit code {code}"


def padded_installer(size):
    """The stand-in installer with zero bytes after its image up to `size`, signed again as
    the publisher (zero bytes added after a signature would break it, and the assistant
    would refuse the file)."""
    sys.path.insert(0, os.path.join(ROOT, "tests", "fixtures"))
    import test_authority
    folder = os.path.join(ROOT, "build", "e2e-installers")
    os.makedirs(folder, exist_ok=True)
    plain = test_authority.unsign(INSTALLER, os.path.join(folder, "plain.exe"))
    with open(plain, "ab") as f:
        f.truncate(size)
    return test_authority.sign(plain, os.path.join(folder, f"padded-{size}.exe"))


def success_starts_installer_and_ends(lang, how, server_case=None, wait=60, installer=None):
    """The installer (or `installer`) arrives (with `server_case`: as that row of the server
    delivers it), starts, and the program ends."""
    def case():
        marker = temp_file("lumvoraVV.exe.started")
        remove(marker)
        reg("delete", KEY, "/f")
        server = Server(server_case, installer or INSTALLER)
        a = Assistant(lang, server)
        try:
            a.type("1234567890")
            start = time.time()
            a.press_download(how)
            code = a.app.wait_exit(wait)
            print(f"    ended after {time.time() - start:.1f} s")
            assert code == 0, f"exit code {code}"
            assert wait_for(lambda: os.path.exists(marker), 20), "the installer was not started"
            assert stored_number() is None, "a successful download must not store the number"
        finally:
            a.app.kill()
            server.stop()
    return case


def failure_reports_and_stores(lang, server_case, number, how, shot=None, wait=60,
                               requests=None, kind="refused", status=None):
    """A failed try: the message of the language naming the cause `kind` (with `status`)
    within `wait` seconds, the window idle again, the number stored only when it has ten
    characters; a stale installer is gone. `requests`, given the request lines the server
    took, checks them."""
    def case():
        reg("delete", KEY, "/f")
        stale = temp_file("lumvoraVV.exe")
        with open(stale, "wb") as f:
            f.write(b"MZ stale installer of an earlier try")
        log = os.path.join(SERVER_LOGS, f"{server_case}-{lang}.log")
        server = Server(server_case, INSTALLER, log)
        a = Assistant(lang, server)
        try:
            a.type(number)
            start = time.time()
            a.press_download(how)
            a.failure_box(wait, kind, status)
            print(f"    failure message after {time.time() - start:.1f} s")
            if requests:
                requests(server.requests())
            if shot:
                image = a.shot(shot, whole_screen=True)
                assert a.client_pixel(image, 5, 30) == HEADER_BLUE, "header band is not blue"
            a.close_box()
            a.expect_idle_after_failure()
            expected = number if len(number) == 10 else None
            assert wait_for(lambda: stored_number() == expected, 10), \
                f"stored {stored_number()!r}, expected {expected!r}"
            if server_case.startswith("nolength"):
                assert not os.path.exists(stale), "the stale installer was not deleted"
            a.close()
        finally:
            a.app.kill()
            server.stop()
    return case


def at_most_eleven_requests(lines):
    """One request and ten redirects followed within the host, no more."""
    print(f"    {len(lines)} requests")
    assert 0 < len(lines) <= 11, f"{len(lines)} requests: {lines[:3]}..."
    assert all(line.startswith(ON_DOWNLOAD_HOST) for line in lines), lines


def nothing_sent_elsewhere(lines):
    """The redirect's host got no request: every request went to the download host."""
    elsewhere = [line for line in lines if not line.startswith(ON_DOWNLOAD_HOST)]
    assert not elsewhere, f"requests that left the download host: {elsewhere}"
    assert lines, "no request reached the server"


def busy_panel_covers_the_steps():
    """A slow download: the panel covers y 82..498, the dots show in their band and move,
    clicks where the field and button lie reach neither, the focus stays on the panel's
    Cancel button; the body is no program, so the try ends with the failure message, the
    window stays and the number is stored."""
    reg("delete", KEY, "/f")
    server = Server("slow-300", INSTALLER)  # 300 blocks of 1025 bytes, one every 50 ms
    a = Assistant("en", server)
    try:
        a.shot("start-en.png")
        a.type("5555555555")
        a.click(BUTTON)
        assert wait_for(lambda: a.probe().child_at(BUSY_PANEL)["visible"], 10), "no busy panel"
        # The row of dots runs out of the control now and then (about a fifth of the
        # time): a few screenshots apart find it on the panel.
        first = None
        for _ in range(6):
            time.sleep(0.4)
            first = a.shot("busy-en.png")
            if busy_ink_rows(a, first):
                break
        check_busy_pixels(a, first)
        band = [first.client[0], first.client[1] + DOTS_BAND[1],
                first.client[0] + DOTS_BAND[2], first.client[1] + DOTS_BAND[3]]
        moved = False
        for _ in range(4):
            time.sleep(0.4)
            second = a.shot("busy-en-later.png")
            moved = first.region(*band) != second.region(*band)
            if moved:
                break
        assert moved, "the dots do not move"

        a.click(FIELD)
        a.type("77")
        a.click(BUTTON)
        main = a.probe()
        assert main.child_of_class("LvFlatEdit")["text"] == "5555555555", "a click reached the field"
        assert main.focus and main.focus[1].lower() == "button" and main.focus[2] == "Cancel", \
            f"focus moved to {main.focus}"
        time.sleep(0.5)
        assert stored_number() is None, "a click reached the covered button"

        a.failure_box(kind="service", status=200)
        a.close_box()
        a.expect_idle_after_failure()
        assert wait_for(lambda: stored_number() == "5555555555", 5), "the number was not stored"
        a.close()
    finally:
        a.app.kill()
        server.stop()


def busy_ink_rows(a, image):
    """The rows of the dots' band that hold anything but white."""
    left, top, right, bottom = DOTS_BAND
    return {y for y in range(top, bottom) for x in range(left, right, 3)
            if a.client_pixel(image, x, y) != WHITE}


def check_busy_pixels(a, image):
    """Inside the dots' band only white and the dots (black, with grey edges) show, in one
    row that lies clear of the field and the button; the header and the note stay
    visible."""
    left, top, right, bottom = DOTS_BAND
    rows = set()
    for y in range(top, bottom):
        for x in range(left, right):
            r, g, b = a.client_pixel(image, x, y)
            if (r, g, b) == WHITE:
                continue
            assert r == g == b, f"colour {(r, g, b)} shows through the busy panel at {(x, y)}"
            rows.add(y)
    assert rows, "no dots on the busy panel"
    assert max(rows) - min(rows) < 40, f"ink on rows {min(rows)}..{max(rows)}: not one row of dots"
    for name, rect in (("field", FIELD), ("button", BUTTON), ("link", LINK)):
        assert not rows & set(range(rect[1], rect[3])), f"ink where the {name} lies"
    assert a.client_pixel(image, 5, 30) == HEADER_BLUE, "header band is not visible"
    assert a.client_pixel(image, 5, 560) == NOTE_YELLOW, "bottom note is not visible"
    assert a.client_pixel(image, 5, 75) == WHITE and a.client_pixel(image, 5, 510) == WHITE


sys.exit(run_cases("e2e_download", [
    ("Download", "SuccessByKeysStartsInstallerAndEnds",
     success_starts_installer_and_ends("en", "keys")),
    ("Download", "SuccessByClickInGermanStartsInstallerAndEnds",
     success_starts_installer_and_ends("de", "click")),
    ("Failure", "RefusedNumberStoresTenCharacters",
     failure_reports_and_stores("en", "denied", "0123456789", "keys", "failure-en.png")),
    ("Failure", "BodyOfExactly2200BytesInGerman",
     failure_reports_and_stores("de", "ok-2200", "1111111111", "click", "failure-de.png")),
    ("Failure", "NoLengthDeletesStaleInstaller",
     failure_reports_and_stores("en", "nolength-5000", "2222222222", "click", kind="service",
                                status=200)),
    # Asked for again three times (1, 2 and 4 s apart), each time broken off again.
    ("Failure", "ShortBodyInGerman", failure_reports_and_stores("de", "short-5000", "3333333333",
                                                                "keys", kind="unreachable")),
    ("Failure", "LargePageThatIsNoProgramKeepsTheWindow",
     failure_reports_and_stores("en", "ok-5000", "4444444444", "keys", kind="service",
                                status=200)),
    ("Failure", "NineCharactersNotStoredInGerman",
     failure_reports_and_stores("de", "denied", "012345678", "click")),
    ("Failure", "ElevenCharactersNotStored",
     failure_reports_and_stores("en", "denied", "01234567890", "keys")),
    ("Busy", "PanelCoversTheStepsWhileDownloading", busy_panel_covers_the_steps),
    ("HostileServer", "RedirectLoopEndsAfterElevenRequests",
     failure_reports_and_stores("en", "loop", "6666666666", "keys",
                                requests=at_most_eleven_requests, kind="service", status=302)),
    ("HostileServer", "RedirectToAnotherHostSendsNothingThere",
     failure_reports_and_stores("en", "to-host", "7777777777", "keys",
                                requests=nothing_sent_elsewhere, kind="service", status=302)),
    ("HostileServer", "RedirectToAnotherHostSendsNothingThereInGerman",
     failure_reports_and_stores("de", "to-host", "7777777777", "click",
                                requests=nothing_sent_elsewhere, kind="service", status=302)),
    ("HostileServer", "ThreeRedirectsWithinTheHostStartTheInstaller",
     success_starts_installer_and_ends("en", "keys", "hops-3")),
    # One byte every 5 s: each receive gets something within the 30 s receive time-out.
    ("HostileServer", "TrickleEndsInTheFailureMessage",
     failure_reports_and_stores("en", "trickle-300000", "8888888888", "keys", wait=90,
                                kind="unreachable")),
    # The installer padded to 70 000 bytes and signed, at 2 KB/s: about 35 s, longer than the
    # 30 s in which the body must gain one read's worth.
    ("HostileServer", "SlowButMovingDownloadStartsTheInstaller",
     success_starts_installer_and_ends("en", "keys", "paced-installer-70000", wait=120,
                                       installer=padded_installer(70000))),
]))
