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


def show_progress(app, number, progress_name, question_name, answer):
    """The download's progress at about half, then the question a close request asks;
    `answer` ("n" or the language's "y"/"j") answers it."""
    path = os.path.join(SHOTS, progress_name)
    if not drive.wait_for(lambda: app.near_half(path), 10, step=0.05):
        raise RuntimeError("the progress bar did not reach its middle")
    print(f"screenshot: {path} (customer number {number}: the download at about half)",
          flush=True)
    app.request_close()
    box = drive.wait_window(drive.QUESTION_BOX_NAME)
    time.sleep(0.5)  # the box's first paint
    shot(question_name, "a close request during the download: the question", app.window, box)
    drive.xdotool("windowfocus", "--sync", box, "key", answer)


def show_download(app):
    app.download(DEMO_NUMBERS[0])
    # The screenshot that shows the busy panel with its dots in sight is the one kept.
    path = os.path.join(SHOTS, "tour-3-busy.png")
    if not drive.wait_for(lambda: app.busy(path), 10):
        raise RuntimeError("the busy panel did not appear")
    print(f"screenshot: {path} (customer number {DEMO_NUMBERS[0]}: downloading)", flush=True)
    lang = app.lang
    show_progress(app, DEMO_NUMBERS[0], f"tour-4-progress-{lang}.png",
                  f"tour-5-question-{lang}.png", "n")
    print("answered No: the download goes on", flush=True)
    installer = drive.wait_window(drive.INSTALLER_WINDOW_NAME, 60)
    code = app.wait_exit(30)
    print(f"the assistant started the installer and ended with exit code {code}")
    time.sleep(0.5)
    shot("tour-6-installer.png", "the demo installer, started by the assistant", installer)
    drive.xdotool("windowfocus", "--sync", installer, "key", "Return")
    if not drive.wait_for(lambda: not drive.find_window(drive.INSTALLER_WINDOW_NAME), 10):
        raise RuntimeError("the demo installer's window did not close")


def show_progress_in_other_language(exe, env, locale):
    """The progress and the question once more in the other language; Yes ends the
    assistant."""
    app = drive.Assistant(exe, locale, env)
    try:
        app.download(DEMO_NUMBERS[1])
        lang = app.lang
        show_progress(app, DEMO_NUMBERS[1], f"tour-7-progress-{lang}.png",
                      f"tour-8-question-{lang}.png", "j" if lang == "de" else "y")
        code = app.wait_exit(30)
        print(f"answered Yes: the assistant ended with exit code {code}", flush=True)
    finally:
        app.kill()


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
    finally:
        app.kill()
        demo_prefix.wineserver("-k")
    other = "en_US.UTF-8" if locale.startswith("de") else "de_DE.UTF-8"
    try:
        show_progress_in_other_language(exe, env, other)
        return 0
    finally:
        demo_prefix.wineserver("-k")
