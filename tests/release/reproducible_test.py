"""The same sources build to the same bytes. The release preset is built in the project's
folder, then again from a copy of the sources in another folder (so another source and build
folder), later, in another time zone and language, with SOURCE_DATE_EPOCH naming another
time and without the compiler cache, which could hand back objects of the first build. The
two programs must be identical; a difference is reported by the header field or section it
falls in. Prints how long the second build took (the test's cost in CI)."""
import os
import shutil
import struct
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from wineapp import run_cases  # noqa: E402

PROGRAM = os.path.join("build", "release", "assistant", "UpgradeAssistant.exe")
WORK = os.path.join(ROOT, "build", "reproduce")


def build_release(src, env=None):
    for args in (["--preset", "release"], ["--build", "--preset", "release"]):
        r = subprocess.run(["cmake", *args], cwd=src, env=env, capture_output=True, text=True)
        if r.returncode != 0:
            raise RuntimeError(f"cmake {' '.join(args)} in {src} failed:\n{r.stdout[-3000:]}"
                               f"{r.stderr[-3000:]}")
    with open(os.path.join(src, PROGRAM), "rb") as f:
        return f.read()


def copy_sources(dest):
    """The source tree without its build folder and repository data."""
    def skip(folder, names):
        if os.path.samefile(folder, ROOT):
            return {"build", ".git"}
        return {"__pycache__"}
    shutil.rmtree(WORK, ignore_errors=True)
    shutil.copytree(ROOT, dest, ignore=skip, symlinks=True)


def region(data, offset):
    """Where in a PE file an offset lies: a header field or a section."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    coff, optional = pe + 4, pe + 24
    optional_size = struct.unpack_from("<H", data, coff + 16)[0]
    sections = optional + optional_size
    count = struct.unpack_from("<H", data, coff + 2)[0]
    fields = {coff + 4: "time stamp", optional + 64: "checksum"}
    for field, name in fields.items():
        if field <= offset < field + 4:
            return f"header {name}"
    if offset < sections + 40 * count:
        return "headers"
    for i in range(count):
        entry = sections + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
        size, start = struct.unpack_from("<II", data, entry + 16)
        if start <= offset < start + size:
            return f"section {name}"
    return "outside the sections"


def describe_difference(a, b):
    if len(a) != len(b):
        return f"sizes differ: {len(a)} and {len(b)} bytes"
    places = {}
    for offset in (i for i in range(len(a)) if a[i] != b[i]):
        places.setdefault(region(a, offset), []).append(offset)
    return "; ".join(f"{name}: {len(offs)} bytes from 0x{offs[0]:x}"
                     for name, offs in places.items())


def same_bytes_from_another_folder_and_time():
    first = build_release(ROOT)
    src = os.path.join(WORK, "elsewhere")
    copy_sources(src)
    env = dict(os.environ)
    for name in ("CMAKE_C_COMPILER_LAUNCHER", "CMAKE_CXX_COMPILER_LAUNCHER"):
        env.pop(name, None)
    env.update({"CCACHE_DISABLE": "1", "TZ": "Pacific/Kiritimati", "LC_ALL": "de_DE.UTF-8",
                "SOURCE_DATE_EPOCH": "2000000000"})
    started = time.monotonic()
    second = build_release(src, env)
    print(f"second release build: {time.monotonic() - started:.0f} s")
    assert first == second, "the two builds differ: " + describe_difference(first, second)
    shutil.rmtree(WORK, ignore_errors=True)


sys.exit(run_cases("release_reproducible", [
    ("Reproducible", "SameBytesFromAnotherFolderAndTime",
     same_bytes_from_another_folder_and_time),
]))
