"""The real program starts in the system's language, opens its 445 x 592 window and
ends with exit code 0 when the window is closed."""
import os
import sys

from wineapp import ROOT, App, pixel, run_cases

EXE = sys.argv[1]
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


sys.exit(run_cases("e2e_startup", [
    ("Startup", "GermanSystemGetsGermanCaption",
     check_language("de_DE.UTF-8", "Vollversion registrieren", "startup-de.png")),
    ("Startup", "EnglishSystemGetsEnglishCaption",
     check_language("en_US.UTF-8", "Register full version", "startup-en.png")),
]))
