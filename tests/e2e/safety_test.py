"""The assistant run as a user runs it from a Downloads folder, where a web page can drop
files too: a DLL of a system name beside the program is never loaded (neither by the
download nor by a screen reader's request), and a temporary folder whose name lies outside
the system's ANSI code page downloads and starts the installer as any other does."""
import glob
import os
import pwd
import re
import shutil
import subprocess
import sys
import time

from wineapp import ROOT, WINE_RUN, App, Server, run_cases, wait_for, wine_env, xdotool

EXE, INSTALLER, PLANTED, LOAD_BY_NAME, ACCESSIBLE_PROBE = sys.argv[1:6]
PREFIX = os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
USER = pwd.getpwuid(os.getuid()).pw_name
WINDOW = "^Register full version$"
NUMBER = "1234567890"


def delay_loaded_dlls():
    """The DLLs the program loads on first use, as the build lists them."""
    text = open(os.path.join(ROOT, "cmake", "DelayLoad.cmake")).read()
    names = re.search(r"set\(LV_DELAY_LOADED_DLLS([^)]*)\)", text).group(1).split()
    assert "wininet" in names and "oleacc" in names, names
    return names



def reg_environment(name, value):
    subprocess.run([WINE_RUN, "reg", "add", r"HKCU\Environment", "/v", name, "/d", value, "/f"],
                   env=wine_env("en_US.UTF-8"), capture_output=True, check=True)


class DownloadsFolder:
    """A copy of the program in the user's Downloads folder with a planted DLL, recording
    its loading, under the name of every DLL the program loads on first use."""

    def __init__(self):
        self.unix = os.path.join(PREFIX, "drive_c", "users", USER, "Downloads", "lv-planted")
        shutil.rmtree(self.unix, ignore_errors=True)
        os.makedirs(self.unix)
        self.exe = os.path.join(self.unix, "UpgradeAssistant.exe")
        shutil.copy(EXE, self.exe)
        self.names = delay_loaded_dlls()
        for name in self.names:
            shutil.copy(PLANTED, os.path.join(self.unix, name + ".dll"))
        # Wine takes its built-in DLL for a system name wherever the program lives; asking
        # for native DLLs first makes it search as Windows does for a DLL outside its
        # known-DLL list: the program's folder first.
        self.env = {"LV_EXTRA_DLLOVERRIDES": ",".join(self.names) + "=n,b"}

    def loaded(self):
        return sorted(os.path.basename(p)[:-len(".dll.loaded")]
                      for p in glob.glob(os.path.join(self.unix, "*.loaded")))

    def clear(self):
        for p in glob.glob(os.path.join(self.unix, "*.loaded")):
            os.remove(p)


def installer_marker(temp_unix):
    return os.path.join(temp_unix, "lumvoraVV.exe.started")


def download_and_start(app, temp_unix):
    """Types a number, presses the button by keys; the installer starts and the program
    ends with exit code 0."""
    marker = installer_marker(temp_unix)
    if os.path.exists(marker):
        os.remove(marker)
    app.wait_window(WINDOW)
    time.sleep(0.5)
    xdotool("windowfocus", "--sync", app.window, "type", "--delay", "30", NUMBER)
    xdotool("windowfocus", "--sync", app.window, "key", "--delay", "50", "Tab", "space")
    code = app.wait_exit(60)
    assert code == 0, f"exit code {code} (a failure message would keep the window)"
    assert wait_for(lambda: os.path.exists(marker), 20), "the installer was not started"


def planted_dlls_are_not_loaded():
    folder = DownloadsFolder()
    # The control: a program without the restriction, in the same folder, loads the planted
    # DLL, so the setting below would show a program that does.
    control = os.path.join(folder.unix, "load_by_name.exe")
    shutil.copy(LOAD_BY_NAME, control)
    r = subprocess.run([WINE_RUN, control, "wininet.dll"], env=wine_env("en_US.UTF-8", folder.env),
                       capture_output=True, check=False)
    assert r.returncode == 0 and folder.loaded() == ["wininet"], \
        f"the control did not load the planted DLL ({r.returncode}, {folder.loaded()})"
    folder.clear()

    server = Server(installer=INSTALLER)
    env = dict(folder.env, http_proxy=f"http://127.0.0.1:{server.port}")
    try:
        # A screen reader asks the window for its accessible objects: no click needed.
        app = App(folder.exe, "en_US.UTF-8", env)
        app.wait_window(WINDOW)
        r = subprocess.run([WINE_RUN, ACCESSIBLE_PROBE, "Register full version", "tree"],
                           env=app.env, capture_output=True, check=False)
        assert r.returncode == 0 and b"Register now" in r.stdout, f"probe said {r.returncode}"
        assert folder.loaded() == [], f"loaded from the program's folder: {folder.loaded()}"
        assert app.close() == 0

        # The download, the check of the file and the start of the installer.
        temp = os.path.join(PREFIX, "drive_c", "users", USER, "Temp")
        app = App(folder.exe, "en_US.UTF-8", env)
        download_and_start(app, temp)
        assert folder.loaded() == [], f"loaded from the program's folder: {folder.loaded()}"
    finally:
        server.stop()
        shutil.rmtree(folder.unix, ignore_errors=True)


def temp_folder_named(user):
    """The download and the start with the prefix's temporary folder under `user`."""
    def case():
        temp_unix = os.path.join(PREFIX, "drive_c", "users", user, "Temp")
        os.makedirs(temp_unix, exist_ok=True)
        reg_environment("TEMP", rf"C:\users\{user}\Temp")
        server = Server(installer=INSTALLER)
        try:
            app = App(EXE, "en_US.UTF-8", {"http_proxy": f"http://127.0.0.1:{server.port}"})
            try:
                download_and_start(app, temp_unix)
            finally:
                app.kill()
        finally:
            server.stop()
            reg_environment("TEMP", rf"C:\users\{USER}\Temp")
            shutil.rmtree(os.path.join(PREFIX, "drive_c", "users", user), ignore_errors=True)
    return case


sys.exit(run_cases("e2e_safety", [
    ("DllSearch", "PlantedDllsAreNotLoadedByTheDownloadOrAScreenReader",
     planted_dlls_are_not_loaded),
    ("TempFolder", "CyrillicUserName", temp_folder_named("\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c")),
    ("TempFolder", "PolishUserName", temp_folder_named("\u0141ukasz")),
    ("TempFolder", "GermanUserNameInTheCodePage", temp_folder_named("J\u00fcrgen")),
]))
