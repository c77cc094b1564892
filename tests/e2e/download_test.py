"""The whole assistant as a user drives it: type the customer number, press the download
button; the installer from the loopback test server is started and the program ends, or
the failure message comes and a ten-character number is stored in the registry."""
import os
import socket
import subprocess
import sys
import time

from wineapp import ROOT, App, pixel, run_cases, wine_env, xdotool

EXE, INSTALLER = sys.argv[1], sys.argv[2]
SERVER = os.path.join(ROOT, "tests", "fixtures", "httpserver.py")
SHOTS = os.path.join(ROOT, "build", "screenshots")
PREFIX = os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
KEY = r"HKCU\Software\Kestrune\Lumvora"
BUTTON = (126 + 96, 461 + 19)  # centre of the download button, client coordinates


class Server:
    """The test server on 127.0.0.1, stopped by its own process id."""

    def __init__(self, installer=None):
        args = [sys.executable, SERVER, "serve"] + (["--installer", installer] if installer else [])
        self.proc = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline().split()
        assert line and line[0] == "PORT", f"server said {line}"
        self.port = int(line[1])

    def stop(self):
        self.proc.kill()
        self.proc.wait()


def closed_port():
    """A loopback port nobody listens on: the download fails to connect."""
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def reg(*args):
    env = wine_env("en_US.UTF-8")
    return subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), "reg", *args], env=env,
                          capture_output=True, text=True, check=False)


def stored_number():
    r = reg("query", KEY, "/v", "CustomerID")
    for line in r.stdout.splitlines():
        if "CustomerID" in line:
            return line.split("REG_SZ", 1)[1].strip()
    return None


def temp_folder():
    """The Windows user's temporary folder inside the prefix (Wine names the user as Unix)."""
    import pwd
    return os.path.join(PREFIX, "drive_c", "users", pwd.getpwuid(os.getuid()).pw_name, "Temp")


def start(locale, port):
    app = App(EXE, locale, {"http_proxy": f"http://127.0.0.1:{port}"})
    app.wait_window("registrieren|Register full version")
    time.sleep(0.5)
    return app


def press_download(app, number):
    xdotool("windowfocus", "--sync", app.window)
    if number:
        xdotool("type", "--delay", "30", number)
    ox, oy = app.client_origin(445, 592)
    xdotool("mousemove", "--window", app.window, str(ox + BUTTON[0]), str(oy + BUTTON[1]),
            "click", "1")


def wait_for(predicate, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        if predicate():
            return True
        time.sleep(0.1)
    return False


def failure_box(caption):
    found = []
    ok = wait_for(lambda: found.append(xdotool("search", "--onlyvisible", "--name", f"^{caption}$",
                                               check=False)) or found[-1])
    assert ok, f"no message box {caption!r}"
    return found[-1].splitlines()[0]


def success_starts_installer_and_ends():
    marker = os.path.join(temp_folder(), "lumvoraVV.exe.started")
    if os.path.exists(marker):
        os.remove(marker)
    reg("delete", KEY, "/f")
    server = Server(INSTALLER)
    app = start("en_US.UTF-8", server.port)
    try:
        press_download(app, "1234567890")
        code = app.wait_exit(60)
        assert code == 0, f"exit code {code}"
        assert wait_for(lambda: os.path.exists(marker), 20), "the installer was not started"
        assert stored_number() is None, "a successful download must not store the number"
    finally:
        app.kill()
        server.stop()


def failure_reports_and_stores(locale, caption, number, stored):
    def case():
        reg("delete", KEY, "/f")
        app = start(locale, closed_port())
        try:
            press_download(app, number)
            box = failure_box(caption)
            png = app.screenshot(os.path.join(SHOTS, f"failure-{locale[:2]}.png"))
            ox, oy = app.client_origin(445, 592)
            assert pixel(png, ox + 5, oy + 30) == (0, 123, 206), "header band is not blue"
            xdotool("windowfocus", "--sync", box, "key", "Return")
            assert wait_for(lambda: stored_number() == stored, 10), \
                f"stored {stored_number()!r}, expected {stored!r}"
            assert app.proc.poll() is None, "the window must stay open after a failure"
            code = app.close()
            assert code == 0, f"exit code {code}"
        finally:
            app.kill()
    return case


sys.exit(run_cases("e2e_download", [
    ("Download", "SuccessStartsInstallerAndEnds", success_starts_installer_and_ends),
    ("Download", "FailureStoresTenCharacterNumber",
     failure_reports_and_stores("en_US.UTF-8", "Download failed", "0123456789", "0123456789")),
    ("Download", "FailureInGermanStoresNothingForNineCharacters",
     failure_reports_and_stores("de_DE.UTF-8", "Download fehlgeschlagen", "012345678", None)),
]))
