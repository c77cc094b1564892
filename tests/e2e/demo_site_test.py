"""The happy path against a real web server: the demo maker site on nginx (demo/demo_site.py),
started by this test on a free loopback port and reached as the program's proxy, in the
demo's Wine prefix. A demo customer number downloads the demo installer, which starts while
the program ends with exit code 0 and stores nothing; a refused number gets nginx's own 401
page and the failure message; the sign-up link hands the address of the system language to
Wine's browser launcher, and the site serves that page. The fault cases of the download
stay with the loopback fixture server (download_test.py)."""
import filecmp
import os
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "demo"))
import demo_prefix  # noqa: E402
import drive  # noqa: E402
from demo_site import DEMO_NUMBERS, REFUSED_NUMBER, DemoSite  # noqa: E402
from wineapp import App, run_cases  # noqa: E402

EXE, INSTALLER = sys.argv[1], sys.argv[2]
KEY = r"HKCU\Software\Kestrune\Lumvora"
DOWNLOADED = os.path.join(demo_prefix.temp_folder(), "lumvoraVV.exe")


def stored_number():
    r = demo_prefix.wine("reg", "query", KEY, "/v", "CustomerID")
    for line in r.stdout.splitlines():
        if "CustomerID" in line:
            return line.split("REG_SZ", 1)[1].strip()
    return None


def installer_requests(site, user):
    return [r for r in site.requests() if r[0] == site.download_host and r[3] == user]


def fresh_start():
    """No stored number and no downloaded file left by an earlier run."""
    demo_prefix.wine("reg", "delete", KEY, "/f")
    if os.path.exists(DOWNLOADED):
        os.remove(DOWNLOADED)


def working_number_downloads_and_starts_demo_installer(site, env):
    fresh_start()
    app = drive.Assistant(EXE, "en_US.UTF-8", env)
    try:
        app.download(DEMO_NUMBERS[1])
        installer = drive.wait_window(drive.INSTALLER_WINDOW_NAME, 60)
        code = app.wait_exit(30)
        assert code == 0, f"exit code {code}"
        statuses = [(r[2], r[4]) for r in installer_requests(site, DEMO_NUMBERS[1])]
        assert statuses == [("200", str(os.path.getsize(INSTALLER)))], f"requests {statuses}"
        assert filecmp.cmp(DOWNLOADED, INSTALLER, shallow=False), "the download differs"
        assert stored_number() is None, "a successful download must not store the number"
        drive.xdotool("windowfocus", "--sync", installer, "key", "Return")
        assert drive.wait_for(lambda: not drive.find_window(drive.INSTALLER_WINDOW_NAME), 10), \
            "the demo installer did not close"
    finally:
        app.kill()
        demo_prefix.wineserver("-k")


def refused_number_gets_401_page_and_failure_message(site, env):
    fresh_start()
    app = drive.Assistant(EXE, "en_US.UTF-8", env)
    try:
        app.download(REFUSED_NUMBER)
        box = drive.wait_window(drive.FAILURE_BOX_NAME)
        assert drive.xdotool("getwindowname", box) == "Download failed"
        statuses = {r[2] for r in installer_requests(site, REFUSED_NUMBER)}
        assert statuses == {"401"}, f"statuses {statuses}"
        with open(DOWNLOADED, encoding="latin-1") as f:
            page = f.read()
        assert "<title>401 Authorization Required</title>" in page and "nginx" in page, page
        drive.xdotool("windowfocus", "--sync", box, "key", "Return")
        assert drive.wait_for(lambda: stored_number() == REFUSED_NUMBER, 10), \
            f"stored {stored_number()!r}"
        assert app.proc.poll() is None, "the window must stay open after a failure"
        code = app.close()
        assert code == 0, f"exit code {code}"
    finally:
        app.kill()


def link_opens_signup_page(locale, language):
    def case(site, env):
        demo_prefix.clear_recorded()
        app = drive.Assistant(EXE, locale, env)
        try:
            app.click_link()
            addresses = drive.wait_for(demo_prefix.recorded_addresses, 20)
            expected = (f"https://{site.signup_hosts[language]}{site.signup_paths[language]}"
                        f"?l={site.signup_code}")
            assert addresses == [expected], f"browser launcher got {addresses}"
            status, page = site.fetch(expected)
            assert status == 200 and f'lang="{language}"' in page and DEMO_NUMBERS[0] in page, \
                f"{status}: {page[:200]}"
            assert app.close() == 0
        finally:
            app.kill()
    return case


def demo_installer_closes_with_exit_code_zero(locale, caption):
    def case(site, env):
        app = App(INSTALLER, locale, env)
        try:
            app.wait_window(drive.INSTALLER_WINDOW_NAME)
            assert app.name() == caption, f"caption {app.name()!r}"
            time.sleep(0.3)
            code = app.close()
            assert code == 0, f"exit code {code}"
        finally:
            app.kill()
    return case


def main():
    cases = [
        ("DemoSite", "RefusedNumberGets401PageAndFailureMessage",
         refused_number_gets_401_page_and_failure_message),
        ("DemoSite", "WorkingNumberDownloadsAndStartsDemoInstaller",
         working_number_downloads_and_starts_demo_installer),
        ("DemoSite", "LinkOpensInternationalSignupPage", link_opens_signup_page("en_US.UTF-8", "en")),
        ("DemoSite", "LinkOpensGermanSignupPage", link_opens_signup_page("de_DE.UTF-8", "de")),
        ("DemoInstaller", "EnglishWindowClosesWithExitCodeZero",
         demo_installer_closes_with_exit_code_zero("en_US.UTF-8",
                                                   "Lumvora full version setup (demo)")),
        ("DemoInstaller", "GermanWindowClosesWithExitCodeZero",
         demo_installer_closes_with_exit_code_zero("de_DE.UTF-8",
                                                   "Lumvora Vollversion Setup (Demo)")),
    ]
    env = demo_prefix.prepare()
    site_folder = os.path.join(ROOT, "build", "demo", "test-site")
    with DemoSite(site_folder, INSTALLER) as site:
        env["http_proxy"] = site.proxy
        return run_cases("e2e_demo_site",
                         [(suite, name, lambda fn=fn: fn(site, env)) for suite, name, fn in cases])


if __name__ == "__main__":
    sys.exit(main())
