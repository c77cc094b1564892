"""The release program starts only an installer that the publisher signed: with real keys
against the loopback test server, each installer below is downloaded in turn. The one signed
by the publisher's certificate from the authority the test prefix trusts starts; every other
(one byte changed, unsigned, the publisher's name from an authority nobody trusts or
self-signed, a name that differs in a word or in case) is refused: the failure message's box
says that the file is not signed by the publisher and was not started, nothing starts, the
file is gone, and the customer number is stored as after any failed try.

Over https (nginx behind a CONNECT tunnel, tests/fixtures/tls_site.py), a build of the
assistant whose download address starts with "https" downloads and starts the signed
installer.

Usage: trust_test.py INSTALLER PROBE HTTPS_ASSISTANT   (the signed stand-in installer,
window_probe and the https build of the win build; the release program is built here, as
the release tests do)"""
import os
import pwd
import shutil
import subprocess
import sys
import time

from wineapp import KEY, PREFIX, ROOT, App, Probe, Server, run_cases, wait_for, wine_env, xdotool

sys.path.insert(0, os.path.join(ROOT, "tests", "fixtures"))
import test_authority  # noqa: E402
from tls_site import TlsService  # noqa: E402

INSTALLER, PROBE, HTTPS_ASSISTANT = sys.argv[1:4]
EXE = os.path.join(ROOT, "build", "release", "assistant", "UpgradeAssistant.exe")
WORK = os.path.join(ROOT, "build", "e2e-trust")
TEMP = os.path.join(PREFIX, "drive_c", "users", pwd.getpwuid(os.getuid()).pw_name, "Temp")
DOWNLOADED = os.path.join(TEMP, "lumvoraVV.exe")
MARKER = DOWNLOADED + ".started"
PUBLISHER = test_authority.PUBLISHER

LANGUAGES = {
    "en": ("en_US.UTF-8", "Register full version", "Download failed",
           f"The downloaded file is not signed by {PUBLISHER} and was not started.\r\n\r\n"
           "It has been deleted."),
    "de": ("de_DE.UTF-8", "Vollversion registrieren", "Download fehlgeschlagen",
           f"Die heruntergeladene Datei ist nicht von {PUBLISHER} signiert und wurde nicht "
           "gestartet.\r\n\r\nSie wurde gel\u00f6scht."),
}


def build_release_program():
    for args in (["cmake", "--preset", "release"], ["cmake", "--build", "--preset", "release"]):
        subprocess.run(args, cwd=ROOT, check=True, stdout=subprocess.DEVNULL)


def installers():
    """The installers of the cases, made from the signed stand-in: name -> path."""
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    p = lambda name: os.path.join(WORK, name + ".exe")  # noqa: E731
    unsigned = test_authority.unsign(INSTALLER, p("unsigned"))
    with open(INSTALLER, "rb") as f:
        data = bytearray(f.read())
    data[os.path.getsize(unsigned) // 2] ^= 0x01  # in the signed part of the image
    with open(p("changed"), "wb") as f:
        f.write(data)
    test_authority.make_authority("other-ca", "Unrelated authority")
    signers = {
        "other-authority": test_authority.issue("other-publisher", PUBLISHER, "other-ca"),
        "self-signed": test_authority.issue("self-signed-publisher", PUBLISHER, None),
        "longer-name": test_authority.issue("publisher-ltd", PUBLISHER + " Ltd"),
        "other-case": test_authority.issue("publisher-lower-case", PUBLISHER.lower()),
    }
    made = {"signed": INSTALLER, "changed": p("changed"), "unsigned": unsigned}
    for name, signer in signers.items():
        made[name] = test_authority.sign(unsigned, p(name), signer)
    return made


def reg(*args):
    return subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), "reg", *args],
                          env=wine_env("en_US.UTF-8"), capture_output=True, text=True, check=False)


def stored_number():
    for line in reg("query", KEY, "/v", "CustomerID").stdout.splitlines():
        if "CustomerID" in line:
            return line.split("REG_SZ", 1)[1].strip().rstrip("\r")
    return None


def start_download(exe, proxy, lang, number):
    """The assistant `exe` in `lang` downloads through `proxy` for `number` (typed, then Tab
    and Space); answers the running program."""
    for path in (DOWNLOADED, MARKER):
        if os.path.exists(path):
            os.remove(path)
    reg("delete", KEY, "/f")
    locale, window = LANGUAGES[lang][:2]
    app = App(exe, locale, {"http_proxy": proxy})
    app.wait_window(f"^{window}$")
    time.sleep(0.5)
    xdotool("windowfocus", "--sync", app.window, "type", "--delay", "30", number)
    xdotool("windowfocus", "--sync", app.window, "key", "--delay", "50", "Tab", "space")
    return app


def download(installer, lang, number):
    """The release program downloads `installer` from the test server; answers the running
    program and the server."""
    server = Server(installer=installer)
    return start_download(EXE, f"http://127.0.0.1:{server.port}", lang, number), server


def expect_started(app):
    assert app.wait_exit(60) == 0, "the program did not end after the start"
    assert wait_for(lambda: os.path.exists(MARKER), 20), "the installer was not started"
    assert stored_number() is None, "a started installer must not store the number"


def starts(name):
    def case():
        app, server = download(installers_made[name], "en", "1234567890")
        try:
            expect_started(app)
        finally:
            app.kill()
            server.stop()
    return case


def refused(name, lang="en"):
    def case():
        _, window, caption, text = LANGUAGES[lang]
        app, server = download(installers_made[name], lang, "2345678901")
        try:
            box = None
            end = time.time() + 60
            while box is None and time.time() < end:
                assert app.proc.poll() is None, f"the program ended ({app.proc.returncode})"
                try:
                    box = Probe(PROBE, app.env, caption)
                except RuntimeError:
                    time.sleep(0.2)
            assert box, f"no message box {caption!r}"
            texts = [c["text"] for c in box.children if c["class"].lower() == "static" and c["text"]]
            assert texts == [text], f"box text {texts!r}"
            assert not os.path.exists(DOWNLOADED), "the refused file was left behind"
            found = xdotool("search", "--onlyvisible", "--name", f"^{caption}$")
            xdotool("windowfocus", "--sync", found.splitlines()[0], "key", "Return")
            assert wait_for(lambda: stored_number() == "2345678901", 10), \
                f"stored {stored_number()!r} after the refusal"
            assert app.proc.poll() is None, "the window must stay after a refusal"
            assert not os.path.exists(MARKER), "the refused installer was started"
            assert app.close() == 0
        finally:
            app.kill()
            server.stop()
    return case


def over_https_the_signed_installer_starts():
    with TlsService(os.path.join(WORK, "tls-site"), INSTALLER) as service:
        app = start_download(HTTPS_ASSISTANT, service.proxy, "en", "1234567890")
        try:
            expect_started(app)
        finally:
            app.kill()
        with open(service.access_log) as f:
            served = [tuple(line.rstrip("\n").split("\t")) for line in f if line.strip()]
        # The challenge, then the installer with the customer number, on the download host.
        host = test_authority.config_value("DownloadHost")
        assert [(r[0], r[3], r[4]) for r in served] == \
            [(host, "401", "-"), (host, "200", "1234567890")], f"nginx served {served}"


build_release_program()
installers_made = installers()
sys.exit(run_cases("e2e_trust", [
    ("Trust", "SignedByThePublisherStarts", starts("signed")),
    ("Trust", "OneChangedByteIsRefused", refused("changed")),
    ("Trust", "UnsignedIsRefusedInGerman", refused("unsigned", "de")),
    ("Trust", "PublisherFromAnUntrustedAuthorityIsRefused", refused("other-authority")),
    ("Trust", "SelfSignedPublisherIsRefused", refused("self-signed")),
    ("Trust", "LongerNameFromTheTrustedAuthorityIsRefused", refused("longer-name")),
    ("Trust", "NameInOtherCaseFromTheTrustedAuthorityIsRefused", refused("other-case")),
    ("Https", "SignedInstallerOverHttpsStarts", over_https_the_signed_installer_starts),
]))
