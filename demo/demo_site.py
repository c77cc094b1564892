"""The demo maker site: nginx on a free loopback port, run as a process of its own from a
configuration written under the build folder (nothing goes into the system's nginx
folders, no system service is involved). The program reaches it as its proxy
(http_proxy), so requests arrive in proxy form ("GET http://host/path") and nginx picks the
site by server_name:

  the download host      the installer path behind HTTP Basic authentication: the demo
                         customer numbers with the product's download password; any other
                         number gets nginx's own 401 page
  the German sign-up     /vollversion/ (German page)
  host
  the international      /fullversion/ (English page)
  sign-up host
  any other host         both sign-up pages, so that a browser on this machine shows them
                         at http://127.0.0.1:PORT/...

Every request is logged (host, request line, status, user) to logs/access.log.
"""
import base64
import ctypes
import hashlib
import os
import shutil
import signal
import socket
import string
import subprocess
import sys
import time
import urllib.error
import urllib.parse
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from product_config import config_value  # noqa: E402

# Customer numbers the demo site accepts, and one it refuses.
DEMO_NUMBERS = ("4711000001", "4711000002", "4711000003")
REFUSED_NUMBER = "4711000099"

SIGNUP_PATHS = {"de": "/vollversion/", "en": "/fullversion/"}

# nginx as a process of its own with everything under $folder (also used by the test TLS site).
NGINX_PROCESS = """\
daemon off;
master_process off;
pid $folder/nginx.pid;
error_log $folder/logs/error.log warn;
events { worker_connections 64; }
"""
NGINX_TEMP_PATHS = """\
    client_body_temp_path $folder/temp/body;
    proxy_temp_path $folder/temp/proxy;
    fastcgi_temp_path $folder/temp/fastcgi;
    uwsgi_temp_path $folder/temp/uwsgi;
    scgi_temp_path $folder/temp/scgi;
"""

NGINX_CONF = """\
# Written by demo/demo_site.py for one run of the demo site; not a system configuration.
""" + NGINX_PROCESS + """\
http {
    types { text/html html; application/octet-stream exe; }
    default_type application/octet-stream;
    log_format demo '$$host\\t$$request\\t$$status\\t$$remote_user\\t$$body_bytes_sent';
    access_log $folder/logs/access.log demo;
""" + NGINX_TEMP_PATHS + """\
    charset utf-8;
    root $folder/html;

    server {
        listen 127.0.0.1:$port;
        server_name $download_host;
        location = $installer_path {
            auth_basic "$product download";
            auth_basic_user_file $folder/htpasswd;
            alias $installer;
            $rate_limit
        }
        location / { return 404; }
    }
    server {
        listen 127.0.0.1:$port;
        server_name $signup_host_de;
        location = /vollversion/ { try_files /vollversion/index.html =404; }
        location / { return 404; }
    }
    server {
        listen 127.0.0.1:$port;
        server_name $signup_host_en;
        location = /fullversion/ { try_files /fullversion/index.html =404; }
        location / { return 404; }
    }
    server {
        listen 127.0.0.1:$port default_server;
        server_name _;
        location = /vollversion/ { try_files /vollversion/index.html =404; }
        location = /fullversion/ { try_files /fullversion/index.html =404; }
        location / { return 404; }
    }
}
"""


def ssha_entry(user, password):
    """One htpasswd line in the salted SHA-1 scheme that nginx reads ({SSHA})."""
    salt = os.urandom(8)
    digest = hashlib.sha1(password.encode() + salt).digest()
    return f"{user}:{{SSHA}}{base64.b64encode(digest + salt).decode()}\n"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _die_with_parent():
    """In the nginx child: the kernel stops it should the script that started it die."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class DemoSite:
    """The site in `folder`; start() writes its files and starts nginx, stop() ends nginx
    by its own process id. `pace` > 0 paces the installer so that its download takes about
    that many seconds (the busy panel stays visible for a person to see)."""

    def __init__(self, folder, installer, pace=0.0):
        self.folder = os.path.abspath(folder)
        self.installer = os.path.abspath(installer)
        self.pace = pace
        self.port = None
        self.proc = None
        self.download_host = config_value("DownloadHost")
        self.installer_path = config_value("InstallerPath")
        self.password = config_value("DownloadPassword")
        self.signup_hosts = {"de": config_value("SignupHostGerman"),
                             "en": config_value("SignupHostInternational")}
        self.signup_paths = SIGNUP_PATHS
        self.signup_code = config_value("SignupCode")
        self.product = config_value("ProdName")

    @property
    def proxy(self):
        return f"http://127.0.0.1:{self.port}"

    @property
    def access_log(self):
        return os.path.join(self.folder, "logs", "access.log")

    def local_signup_address(self, language):
        """Where a browser on this machine shows the sign-up page of a language."""
        return f"{self.proxy}{SIGNUP_PATHS[language]}?l={self.signup_code}"

    def fetch(self, address):
        """GET an address through the site as the program's proxy; answers (status, body).
        An https address is asked for as http: the site plays its pages on plain HTTP."""
        parts = urllib.parse.urlsplit(address)
        plain = urllib.parse.urlunsplit(("http",) + tuple(parts[1:]))
        opener = urllib.request.build_opener(urllib.request.ProxyHandler({"http": self.proxy}))
        try:
            with opener.open(plain, timeout=10) as reply:
                return reply.status, reply.read().decode("utf-8", "replace")
        except urllib.error.HTTPError as e:
            return e.code, e.read().decode("utf-8", "replace")

    def requests(self):
        """The logged requests as (host, request line, status, user, bytes sent)."""
        if not os.path.exists(self.access_log):
            return []
        with open(self.access_log, encoding="utf-8", errors="replace") as f:
            return [tuple(line.rstrip("\n").split("\t")) for line in f if line.strip()]

    # -- files ---------------------------------------------------------------------------

    def _write(self, relative, text):
        path = os.path.join(self.folder, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def _write_files(self):
        if os.path.isdir(self.folder):
            shutil.rmtree(self.folder)
        for sub in ("logs", "temp"):
            os.makedirs(os.path.join(self.folder, sub))
        self._write("htpasswd", "".join(ssha_entry(n, self.password) for n in DEMO_NUMBERS))
        for language, path in SIGNUP_PATHS.items():
            with open(os.path.join(HERE, "pages", f"signup-{language}.html"), encoding="utf-8") as f:
                page = string.Template(f.read()).substitute(
                    product=self.product, number=DEMO_NUMBERS[0], code=self.signup_code)
            self._write(f"html{path}index.html", page)

    def _write_config(self):
        rate = ""
        if self.pace > 0:
            rate = f"limit_rate {max(1024, int(os.path.getsize(self.installer) / self.pace))};"
        conf = string.Template(NGINX_CONF).substitute(
            folder=self.folder, port=self.port, download_host=self.download_host,
            installer_path=self.installer_path, installer=self.installer, product=self.product,
            signup_host_de=self.signup_hosts["de"], signup_host_en=self.signup_hosts["en"],
            rate_limit=rate)
        return self._write("nginx.conf", conf)

    # -- process ---------------------------------------------------------------------------

    def start(self):
        if not os.path.isfile(self.installer):
            raise RuntimeError(f"no installer at {self.installer}")
        nginx = shutil.which("nginx") or "/usr/sbin/nginx"
        self._write_files()
        # A free port can be taken by someone else before nginx binds it: try a few.
        for _ in range(5):
            self.port = free_port()
            conf = self._write_config()
            error_log = os.path.join(self.folder, "logs", "error.log")
            self.proc = subprocess.Popen([nginx, "-p", self.folder, "-c", conf, "-e", error_log],
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
            if self._wait_listening():
                return self
            self.stop()
        raise RuntimeError(f"nginx did not start; see {error_log}")

    def _wait_listening(self, timeout=10):
        end = time.time() + timeout
        while time.time() < end:
            if self.proc.poll() is not None:
                return False
            try:
                with socket.create_connection(("127.0.0.1", self.port), timeout=1):
                    return True
            except OSError:
                time.sleep(0.05)
        return False

    def stop(self):
        """Ends nginx by its own process id (fast shutdown, then a kill if it lingers)."""
        if self.proc is None:
            return
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


def stop_on_signals():
    """Turns SIGTERM and SIGHUP into SystemExit, so that `finally` blocks and context
    managers stop the site on those exit paths too (Ctrl+C already raises)."""
    def leave(signum, frame):
        raise SystemExit(128 + signum)
    for s in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, leave)
