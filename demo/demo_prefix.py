"""The demo's own Wine prefix (build/demo/wineprefix), prepared like the project's (it trusts
the test authority that signs the demo installer), with one difference: Wine's browser
launcher is pointed at a small recording script instead of a real browser, so the address
the sign-up link hands over is written down and can be shown.

Wine opens http and https addresses with winebrowser, which runs the commands listed in
HKCU\\Software\\Wine\\WineBrowser "Browsers" with the address as their last argument.
"""
import os
import pwd
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
FOLDER = os.path.join(ROOT, "build", "demo")
PREFIX = os.path.join(FOLDER, "wineprefix")
RECORDER = os.path.join(FOLDER, "record-browser")
ADDRESSES = os.path.join(FOLDER, "browser-addresses.log")
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
TRUST_ROOT = os.path.join(ROOT, "build", "win", "tests", "fixtures", "trust_root.exe")
sys.path.insert(0, os.path.join(ROOT, "tests", "fixtures"))
import test_authority  # noqa: E402

RECORDER_SCRIPT = """#!/bin/sh
# Stands in for the browser in the demo's Wine prefix: records the address it was asked to open.
printf '%s\\n' "$*" >>'{log}'
"""


def prefix_env(extra=None):
    """The environment that runs Wine (through scripts/wine-run) in the demo prefix."""
    env = dict(os.environ, LV_WINEPREFIX=PREFIX)
    env.update(extra or {})
    return env


def wine(*args, env=None):
    return subprocess.run([WINE_RUN, *args], env=env or prefix_env(), capture_output=True,
                          text=True, check=False)


def wineserver(*args):
    """wineserver of the demo prefix (-k stops its programs, -w waits for them to end)."""
    return subprocess.run(["bash", "-c", f'source "{ROOT}/scripts/env.sh" && wineserver "$@"',
                           "wineserver", *args], env=prefix_env(), stderr=subprocess.DEVNULL,
                          check=False)


def prepare():
    """Creates the prefix once and installs the recorder as its browser; answers the
    environment for programs run in it."""
    subprocess.run([os.path.join(ROOT, "scripts", "make-prefix.sh")], env=prefix_env(), check=True)
    test_authority.trust(TRUST_ROOT, prefix_env())
    os.makedirs(FOLDER, exist_ok=True)
    script = RECORDER_SCRIPT.format(log=ADDRESSES)
    if not os.path.exists(RECORDER) or open(RECORDER).read() != script:
        with open(RECORDER, "w") as f:
            f.write(script)
        os.chmod(RECORDER, 0o755)
    marker = os.path.join(PREFIX, ".lv-browser")
    if not os.path.exists(marker) or open(marker).read() != RECORDER:
        r = wine("reg", "add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/t", "REG_SZ",
                 "/d", f'"{RECORDER}"', "/f")
        if r.returncode != 0:
            raise RuntimeError(f"could not set the demo prefix's browser: {r.stderr.strip()}")
        wineserver("-w")
        with open(marker, "w") as f:
            f.write(RECORDER)
    return prefix_env()


def clear_recorded():
    if os.path.exists(ADDRESSES):
        os.remove(ADDRESSES)


def recorded_addresses():
    """The addresses Wine's browser launcher was asked to open, oldest first."""
    if not os.path.exists(ADDRESSES):
        return []
    with open(ADDRESSES, encoding="utf-8", errors="replace") as f:
        return [line.rstrip("\n") for line in f if line.strip()]


def temp_folder():
    """The Windows user's temporary folder in the prefix (Wine names the user as Unix)."""
    return os.path.join(PREFIX, "drive_c", "users", pwd.getpwuid(os.getuid()).pw_name, "Temp")
