"""The real program starts in the system's language, opens its 445 x 592 window and
ends with exit code 0 when the window is closed. A start whose first window cannot be
created shows the error box and ends with exit code 1."""
import os
import subprocess
import sys

from wineapp import ROOT, WINE_RUN, App, pixel, restart_wineserver, run_cases, wine_env

EXE, REFUSE_WINDOW, REFUSE_HOOK = sys.argv[1:4]
SHOTS = os.path.join(ROOT, "build", "screenshots")


def check_language(locale, caption, shot):
    def case():
        app = App(EXE, locale)
        try:
            app.wait_window("registrieren|Register full version")
            assert app.name() == caption, f"caption {app.name()!r}, expected {caption!r}"
            ox, oy = app.client_origin(445, 592)
            png = app.screenshot(os.path.join(SHOTS, shot))
            assert pixel(png, ox + 5, oy + 100) == (255, 255, 255), "background is not white"
            assert pixel(png, ox + 5, oy + 30) == (0, 123, 206), "header band is not blue"
            assert pixel(png, ox + 440, oy + 590) == (254, 249, 211), \
                "the bottom note does not reach the corner of a 445 x 592 client area"
            code = app.close()
            assert code == 0, f"exit code {code}"
        finally:
            app.kill()
    return case


def windows_path(path):
    """A Unix path as programs under Wine reach it (drive Z:)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def refused_first_window():
    """The platform refuses the form's window (a hook on the program's window creation, as
    when the desktop's resources are exhausted): the error reaches the framework's error
    box (the program's title, the error icon, the error's text), and once it is closed the
    program ends with exit code 1, not in the runtime's terminate handler."""
    env = wine_env("en_US.UTF-8")
    restart_wineserver(env)
    for attempt in range(2):
        r = subprocess.run([WINE_RUN, REFUSE_WINDOW, windows_path(REFUSE_HOOK), "LvForm",
                            windows_path(EXE)], env=env, capture_output=True, timeout=120,
                           check=False)
        out = r.stdout.decode("utf-8", "replace")
        facts = dict(line.split("\t", 1) for line in out.splitlines() if "\t" in line)
        # Now and then Wine's loader fails (exit code 3) while a fresh wineserver is still
        # starting its services: one more start tells that from a program without its box.
        if "box" in facts or attempt == 1:
            break
    assert r.returncode == 0, f"probe said {r.returncode}: {out}"
    assert "hook" not in facts, "the hook was not set"
    assert "box" in facts, f"no error box; the program's output: {out} {r.stderr[-300:]!r}"
    caption, text, icon = facts["box"].split("\t")
    assert caption == "Optavo", f"box caption {caption!r}"
    assert text == "Cannot create window", f"box text {text!r}"
    assert icon == "1", "the box shows no icon"
    assert facts.get("exit") == "1", f"exit code {facts.get('exit')}"
    assert b"terminate called" not in r.stderr, "the runtime's terminate handler ran"


sys.exit(run_cases("e2e_startup", [
    ("Startup", "FirstWindowThatCannotBeCreatedShowsTheErrorBox", refused_first_window),
    ("Startup", "GermanSystemGetsGermanCaption",
     check_language("de_DE.UTF-8", "Vollversion registrieren", "startup-de.png")),
    ("Startup", "EnglishSystemGetsEnglishCaption",
     check_language("en_US.UTF-8", "Register full version", "startup-en.png")),
]))
