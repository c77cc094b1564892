"""The scripted tour of the whole flow, for a machine without a display: on the X display it
is given (the run command's private Xvfb) the assistant runs against the demo site; each
step is a screenshot whose path is printed, and the address that the sign-up link handed to
Wine's browser launcher is printed with the demo site's answer to it."""
import os
import re
import time

import demo_prefix
import drive
from demo_site import DEMO_NUMBERS, REFUSED_NUMBER

SHOTS = os.path.join(drive.ROOT, "build", "screenshots")


def shot(name, what, *windows):
    path = drive.shoot(os.path.join(SHOTS, name), *windows)
    print(f"screenshot: {path} ({what})", flush=True)


def show_link(app, site):
    demo_prefix.clear_recorded()
    app.click_link()
    addresses = drive.wait_for(demo_prefix.recorded_addresses, 20)
    if not addresses:
        raise RuntimeError("the link did not reach Wine's browser launcher")
    address = addresses[-1]
    print(f"the sign-up link asked Wine's browser launcher to open: {address}")
    status, page = site.fetch(address)
    title = re.search(r"<title>(.*?)</title>", page)
    print(f"  the demo site answers that address with {status}"
          + (f": \"{title.group(1)}\"" if title else ""))


def show_failure(app):
    app.download(REFUSED_NUMBER)
    box = drive.wait_window(drive.FAILURE_BOX_NAME)
    time.sleep(0.5)  # the box's first paint
    shot("tour-2-failure.png", f"customer number {REFUSED_NUMBER}: refused, failure message",
         app.window, box)
    drive.xdotool("windowfocus", "--sync", box, "key", "Return")
    drive.wait_for(lambda: not drive.find_window(drive.FAILURE_BOX_NAME), 10)


def show_download(app):
    app.download(DEMO_NUMBERS[0])
    # The screenshot that shows the busy panel with its dots in sight is the one kept.
    path = os.path.join(SHOTS, "tour-3-busy.png")
    if not drive.wait_for(lambda: app.busy(path), 10):
        raise RuntimeError("the busy panel did not appear")
    print(f"screenshot: {path} (customer number {DEMO_NUMBERS[0]}: downloading)", flush=True)
    installer = drive.wait_window(drive.INSTALLER_WINDOW_NAME, 60)
    code = app.wait_exit(30)
    print(f"the assistant started the installer and ended with exit code {code}")
    time.sleep(0.5)
    shot("tour-4-installer.png", "the demo installer, started by the assistant", installer)
    drive.xdotool("windowfocus", "--sync", installer, "key", "Return")
    if not drive.wait_for(lambda: not drive.find_window(drive.INSTALLER_WINDOW_NAME), 10):
        raise RuntimeError("the demo installer's window did not close")


def tour(exe, site, locale):
    """Runs the tour against a started demo site; answers 0 when every step was seen."""
    env = demo_prefix.prepare()
    env["http_proxy"] = site.proxy
    app = drive.Assistant(exe, locale, env)
    try:
        shot("tour-1-start.png", "the assistant's window", app.window)
        show_link(app, site)
        show_failure(app)
        show_download(app)
        return 0
    finally:
        app.kill()
        demo_prefix.wineserver("-k")
