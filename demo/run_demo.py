#!/usr/bin/env python3
"""The demo of the whole flow (scripts/run.sh calls this after building):

  run_demo.py interactive EXE INSTALLER
      The demo site on nginx, then the assistant on $DISPLAY for a person to use; prints a
      customer number that downloads, one that fails, and the local addresses of the sign-up
      pages. Ends when the assistant and the installer it started have ended.

  run_demo.py tour EXE INSTALLER
      The scripted tour on $DISPLAY (the run command's private Xvfb); prints the path of
      each screenshot.

Either way the addresses the sign-up link handed to Wine's browser launcher are printed,
and nginx is stopped by its own process id on every way out.
"""
import os
import subprocess
import sys
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import demo_prefix  # noqa: E402
from demo_site import DEMO_NUMBERS, REFUSED_NUMBER, DemoSite, stop_on_signals  # noqa: E402

SITE_FOLDER = os.path.join(demo_prefix.FOLDER, "site")
# The installer download takes this long, so that the busy panel, its progress and the
# question a close request asks can be seen (and Cancel tried).
PACE_SECONDS = 8


def report_browser_addresses(stop):
    """Prints each address the sign-up link hands to Wine's browser launcher as it comes."""
    shown = 0
    while True:
        stopping = stop.wait(0.3)
        addresses = demo_prefix.recorded_addresses()
        for address in addresses[shown:]:
            print(f"the sign-up link asked Wine's browser launcher to open: {address}", flush=True)
        shown = len(addresses)
        if stopping:
            return


def interactive(exe, site):
    env = demo_prefix.prepare()
    env["http_proxy"] = site.proxy
    demo_prefix.clear_recorded()
    print(f"demo site: nginx on {site.proxy} (configuration {site.folder}/nginx.conf)")
    print(f"customer number that downloads: {DEMO_NUMBERS[0]}")
    print(f"customer number that fails:     {REFUSED_NUMBER}")
    print(f"sign-up page in a browser:      {site.local_signup_address('en')}")
    print(f"German sign-up page:            {site.local_signup_address('de')}", flush=True)
    stop = threading.Event()
    reporter = threading.Thread(target=report_browser_addresses, args=(stop,), daemon=True)
    reporter.start()
    try:
        # A wineserver left from an earlier run may still serve another display.
        demo_prefix.wineserver("-k")
        demo_prefix.wineserver("-w")
        code = subprocess.run([demo_prefix.WINE_RUN, exe], env=env, check=False).returncode
        print(f"the assistant ended with exit code {code}", flush=True)
        demo_prefix.wineserver("-w")  # the demo installer, if it was started, until it is closed
    finally:
        stop.set()
        reporter.join()
    return code


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("interactive", "tour"):
        sys.exit(__doc__)
    mode, exe, installer = sys.argv[1:]
    stop_on_signals()
    try:
        with DemoSite(SITE_FOLDER, installer, pace=PACE_SECONDS) as site:
            if mode == "interactive":
                return interactive(exe, site)
            from tour import tour
            german = any(os.environ.get(v, "").startswith("de") for v in ("LC_ALL", "LANG"))
            return tour(exe, site, "de_DE.UTF-8" if german else "en_US.UTF-8")
    except RuntimeError as e:
        print(f"demo: {e}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
