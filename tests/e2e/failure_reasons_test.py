"""Every way a download fails, as the user reads it, and a broken connection picked up where
it stopped: the real program under Wine on Xvfb against the loopback test server. A body that
breaks off half-way is asked for again (Range and If-Range, with the customer's credentials)
and the installer starts; a server that ignores ranges or whose file changed sends it whole
again and the installer starts all the same; four losses in a row, a name that does not
resolve and a port where nothing listens give the connection text; refused numbers the
first design's text; error statuses the service text with the status; a full disk and a
folder that cannot be written the folder and the cause. English and German."""
import os
import pwd
import socket
import subprocess
import sys
import time

from failure_texts import CAPTION, failure_text
from wineapp import PREFIX, ROOT, WINE_RUN, App, Probe, Server, run_cases, wait_for, xdotool

EXE, INSTALLER, PROBE = sys.argv[1], sys.argv[2], sys.argv[3]
USER = pwd.getpwuid(os.getuid()).pw_name
TEMP_UNIX = os.path.join(PREFIX, "drive_c", "users", USER, "Temp")
TEMP_WINDOWS = f"C:\\users\\{USER}\\Temp"
SERVER_LOGS = os.path.join(ROOT, "build", "e2e-server-logs")
WINDOW = {"en": "Register full version", "de": "Vollversion registrieren"}
LOCALE = {"en": "en_US.UTF-8", "de": "de_DE.UTF-8"}


class WrappedApp(App):
    """The program started through `wrap` (a command that runs the rest of its arguments)."""

    def __init__(self, exe, locale, env, wrap):
        self.wrap = wrap
        super().__init__(exe, locale, env)

    def launch(self):
        # An empty proxy setting means none at all.
        env = {k: v for k, v in self.env.items() if k != "http_proxy" or v}
        self.proc = subprocess.Popen(self.wrap + [WINE_RUN, self.exe], env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


# A network of its own with no interface up: no name resolves, nothing leaves the machine.
NO_NETWORK = ["unshare", "--net"]


def small_temp_folder(size):
    """The Windows temporary folder as a file system of `size`, seen by the program alone (a
    mount namespace of its own, gone with it)."""
    return ["unshare", "--mount", "sh", "-c", f'mount -t tmpfs -o size={size} lv-small "$0" && '
            'exec "$@"', TEMP_UNIX]


def connections(log):
    """The server's log as [(request line, {header name: [values]})], one per connection."""
    conns = {}
    with open(log, encoding="utf-8") as f:
        for line in f:
            kind, conn, *values = line.rstrip("\n").split("\t")
            if kind == "request":
                conns[conn] = (values[0], {})
            elif kind == "header" and conn in conns:
                conns[conn][1].setdefault(values[0].lower(), []).append(values[1])
    return list(conns.values())


def closed_port():
    """A loopback port where nothing listens."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def run(lang, case=None, proxy=True, wrap=None, expect=None, wait=60, log=None):
    """Starts the program in `lang` (against the server playing `case` as the installer, through
    it as the proxy unless `proxy` is a port or False), types a number and presses the download
    button. `expect`: the failure message's text, else the installer must start."""
    server = Server(case, INSTALLER, log)
    marker = os.path.join(TEMP_UNIX, "lumvoraVV.exe.started")
    if os.path.exists(marker):
        os.remove(marker)
    env = {}
    if proxy is True:
        env["http_proxy"] = f"http://127.0.0.1:{server.port}"
    elif proxy:
        env["http_proxy"] = f"http://127.0.0.1:{proxy}"
    else:
        env["http_proxy"] = ""
    app = WrappedApp(EXE, LOCALE[lang], env, wrap or [])
    try:
        app.wait_window(f"^{WINDOW[lang]}$")
        time.sleep(0.5)
        xdotool("windowfocus", "--sync", app.window, "type", "--delay", "30", "1234567890")
        start = time.time()
        xdotool("windowfocus", "--sync", app.window, "key", "--delay", "50", "Tab", "space")
        if expect is None:
            assert app.wait_exit(wait) == 0, "the program did not end after the download"
            assert wait_for(lambda: os.path.exists(marker), 20), "the installer was not started"
        else:
            box = None
            while box is None and time.time() < start + wait:
                try:
                    box = Probe(PROBE, app.env, CAPTION[lang])
                except RuntimeError:
                    assert app.proc.poll() is None, f"the program ended ({app.proc.returncode})"
            assert box, f"no failure message within {wait} s"
            texts = [c["text"] for c in box.children
                     if c["class"].lower() == "static" and c["text"]]
            assert texts == [expect], f"box text {texts!r}, expected {expect!r}"
            found = xdotool("search", "--onlyvisible", "--name", f"^{CAPTION[lang]}$")
            xdotool("windowfocus", "--sync", found.splitlines()[0], "key", "Return")
        print(f"    after {time.time() - start:.1f} s")
        if expect is not None:
            assert app.close() == 0
    finally:
        app.kill()
        server.stop()


def fails_with(lang, case, kind, status=None, **options):
    def test():
        run(lang, case, expect=failure_text(lang, kind, status), **options)
    return test


def resumed_at_half():
    """The body breaks off half-way; the rest is asked for with Range from there, tied by
    If-Range to the first answer's tag and sent with the customer's credentials; the
    installer made of both parts starts."""
    log = os.path.join(SERVER_LOGS, "drop-installer-ranges.log")
    run("en", "drop-installer-ranges", log=log)
    half = os.path.getsize(INSTALLER) // 2
    ranged = [(line, h) for line, h in connections(log) if "range" in h]
    assert len(ranged) >= 1, f"no request for the rest: {connections(log)}"
    line, headers = ranged[-1]
    assert headers["range"] == [f"bytes={half}-"], headers
    assert headers["if-range"] == ['"lv-1"'], headers
    assert headers.get("authorization"), "the rest was fetched without the credentials"


def starts_over(case, lang):
    """The server sends the whole body again (it ignores ranges, or the file changed since):
    the file starts over and the installer starts."""
    def test():
        log = os.path.join(SERVER_LOGS, f"{case}.log")
        run(lang, case, log=log)
        assert any("range" in h for _, h in connections(log)), "the body was not asked again"
    return test


def full_disk(lang):
    def test():
        run(lang, "ok-300000", wrap=small_temp_folder("64k"),
            expect=failure_text(lang, "file", folder=TEMP_WINDOWS, problem="full"))
    return test


def folder_in_the_way(lang):
    """A folder where the installer file goes: the file cannot be created (no access)."""
    def test():
        target = os.path.join(TEMP_UNIX, "lumvoraVV.exe")
        if os.path.isfile(target):
            os.remove(target)
        os.makedirs(target, exist_ok=True)
        try:
            run(lang, expect=failure_text(lang, "file", folder=TEMP_WINDOWS, problem="denied"))
        finally:
            os.rmdir(target)
    return test


sys.exit(run_cases("e2e_failure_reasons", [
    ("Resume", "DropAtHalfIsResumedAndTheInstallerStarts", resumed_at_half),
    ("Resume", "ServerIgnoringRangesStartsOverInGerman", starts_over("drop-installer-ignore", "de")),
    ("Resume", "ChangedFileStartsOver", starts_over("drop-installer-changed", "en")),
    # Asked for again after 1, 2 and 4 s, each time broken off again.
    ("Resume", "FourDropsInARowGiveTheConnectionText",
     fails_with("en", "drop-installer-always", "unreachable")),
    ("Resume", "FourDropsInARowGiveTheConnectionTextInGerman",
     fails_with("de", "drop-installer-always", "unreachable")),
    ("Status", "ForbiddenInGermanIsTheRefusedNumber", fails_with("de", "status-403", "refused")),
    ("Status", "NotFoundIsTheServiceWithItsStatus", fails_with("en", "status-404", "service", 404)),
    ("Status", "ServerErrorInGermanIsTheServiceWithItsStatus",
     fails_with("de", "status-500", "service", 500)),
    ("Status", "ProxyWantingCredentialsIsTheConnection",
     fails_with("en", "status-407", "unreachable")),
    ("Connection", "NameThatDoesNotResolve",
     fails_with("en", None, "unreachable", proxy=False, wrap=NO_NETWORK)),
    ("Connection", "ClosedPortInGerman", fails_with("de", None, "unreachable", proxy=closed_port())),
    ("TargetFile", "FullDisk", full_disk("en")),
    ("TargetFile", "FullDiskInGerman", full_disk("de")),
    ("TargetFile", "FolderInTheWayInGerman", folder_in_the_way("de")),
]))
