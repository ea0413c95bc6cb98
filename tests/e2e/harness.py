"""Harness for Tamsel's end-to-end stories: a private Xvfb (or a headless
compositor, see compositors.py), a fresh home, the real program, input made
with xdotool, and a look at the windows from outside. Every process a story
starts is ended by its PID; a hard time-out keeps a hang from hanging the run.

By hand: TAMSEL_BIN=build/tamsel TAMSEL_TESTSERVER_BIN=build/tamsel-testserver \\
    python3 tests/e2e/test_child_lock.py   (TAMSEL_E2E_KEEP=1 keeps the logs)
"""

import ctypes
import http.server
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from contextlib import contextmanager
from pathlib import Path

USAGE_PORT = 47613  # compiled into tamsel-testserver
TOOL_TIMEOUT = 10.0
BREAK_TITLE, WELCOME_TITLE, ALERT_TITLE = "Tamsel break", "Welcome to Tamsel", "Tamsel"
PREFS_TITLE, NO_TRAY_TITLE, STATS_TITLE = "Tamsel Preferences 2.6", "Tamsel: no tray found", "Tamsel Statistics"
# The tray menu as the Down key reaches it; while paused "Resume" stands for "Pause".
TRAY_MENU = ("Preferences…", "Statistics…", "Help", "Check my desktop…", "Take a break now", "Pause", "Skip", "Quit")
PATH = os.environ.get("PATH", "/usr/bin:/bin")


class Skip(Exception):
    pass


def note(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def wait_until(predicate, timeout, interval=0.1):
    """Polls until predicate() gives a true value and returns it, or None."""
    deadline = time.monotonic() + timeout
    while not (value := predicate()) and time.monotonic() < deadline:
        time.sleep(interval)
    return value or None


def require_tools(*names):
    if missing := [n for n in names if shutil.which(n) is None]:
        raise Skip("not installed: " + ", ".join(missing))


def system_user(name):
    """A user for the tests (made once, as root, kept)."""
    try:
        return pwd.getpwnam(name)
    except KeyError:
        res = subprocess.run(["useradd", "--system", "--no-create-home", "--home-dir", "/nonexistent",
                              "--shell", "/usr/sbin/nologin", name], capture_output=True, text=True)
        if res.returncode != 0 and "already exists" not in res.stderr:
            raise Skip(f"*** the user {name} cannot be created: {res.stderr.strip()} ***")
        return pwd.getpwnam(name)


class Session:
    """Owns the temp dir and every process of one story."""

    def __init__(self, name):
        self.tmp = Path(tempfile.mkdtemp(prefix=f"tamsel-e2e-{name}-"))
        self.logs = self.tmp / "logs"
        self.logs.mkdir()
        self._procs, self._closers = [], []

    def spawn(self, label, argv, env=None, pass_fds=(), stdout=None, stdin=subprocess.DEVNULL):
        """A process kept for teardown; its output goes to logs/<label>.out/.err."""
        if shutil.which("setpriv"):  # the kernel ends it when this script dies
            argv = ["setpriv", "--pdeathsig", "KILL", "--", *argv]
        with open(self.logs / f"{label}.out", "ab") as out, open(self.logs / f"{label}.err", "ab") as err:
            proc = subprocess.Popen(argv, env=env, pass_fds=pass_fds, stdin=stdin,
                                    stdout=stdout or out, stderr=err)
        self._procs.append(proc)
        return proc

    def told(self, label, *argv):
        """Starts argv, {fd} in it replaced by a pipe's end; the first line it writes there."""
        r, w = os.pipe()
        self.spawn(label, [a.format(fd=w) for a in argv], pass_fds=(w,))
        os.close(w)
        with os.fdopen(r) as pipe:
            line = pipe.readline().strip()
        check(line, f"{label} told nothing")
        return line

    def display(self, width=1920, height=1080):
        return Display(self, width, height)

    def session_bus(self):
        require_tools("dbus-daemon")
        return self.told("dbus", "dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address={fd}")

    def notify_standin(self, env):
        """The stand-in notification server on env's bus; its log, one Notify a line."""
        require_tools("gjs")
        log = self.logs / "standin.out"
        with open(log, "wb") as out:
            self.spawn("standin", ["gjs", str(Path(__file__).with_name("notify_standin.js"))],
                       env=env, stdout=out)
        check(wait_until(lambda: "ready" in log.read_text(), 10), "the stand-in did not start")
        return log

    def on_close(self, fn):
        self._closers.append(fn)

    @staticmethod
    def end(proc):
        """TERM by PID, then KILL if it does not go."""
        for sig in (signal.SIGTERM, signal.SIGKILL):
            if proc.poll() is not None:
                break
            os.kill(proc.pid, sig)
            try:
                proc.wait(timeout=3)
            except subprocess.TimeoutExpired:
                pass
        return proc.poll()

    def close(self, failed):
        for fn in reversed(self._closers):
            fn()
        for proc in reversed(self._procs):
            self.end(proc)
        for path in sorted(self.logs.iterdir()) if failed else ():
            if lines := path.read_text(errors="replace").splitlines()[-30:]:
                print(f"---- {path.name}\n  " + "\n  ".join(lines), file=sys.stderr)
        if os.environ.get("TAMSEL_E2E_KEEP") == "1":
            print(f"kept {self.tmp}", file=sys.stderr)
        else:
            shutil.rmtree(self.tmp, ignore_errors=True)


class WinInfo:
    """What xwininfo says about one window."""

    def __init__(self, wid, text):
        num = lambda label: int(re.search(rf"{label}:\s+(-?\d+)", text).group(1))
        self.wid, self.x, self.y = wid, num("Absolute upper-left X"), num("Absolute upper-left Y")
        self.width, self.height = num("Width"), num("Height")
        self.viewable = "Map State: IsViewable" in text
        self.override_redirect = "Override Redirect State: yes" in text
        self.geometry = (self.x, self.y, self.width, self.height)

    def __repr__(self):
        return f"<{self.wid:#x} {self.geometry}>"


class Display:
    """One X server, with the tools that look at it and drive it."""

    def __init__(self, session, width=1920, height=1080):
        require_tools("Xvfb", "xdotool", "xwininfo", "xprop")
        self.session = session
        self.name = ":" + session.told("Xvfb", "Xvfb", "-displayfd", "{fd}", "-screen", "0", f"{width}x{height}x24",
                                       "-nolisten", "tcp", "-noreset")
        self.env = {"PATH": PATH, "DISPLAY": self.name, "HOME": str(session.tmp), "LANG": "C.UTF-8"}

    @classmethod
    def attach(cls, session, name, env):
        """The same tools on an X server started by someone else (XWayland)."""
        display = cls.__new__(cls)
        display.session, display.name, display.env = session, name, dict(env, DISPLAY=name)
        return display

    def run(self, *argv, check=True):
        res = subprocess.run(argv, env=self.env, capture_output=True, timeout=TOOL_TIMEOUT)
        if check and res.returncode != 0:
            raise RuntimeError(f"{' '.join(argv)}: {res.stderr.decode(errors='replace')}")
        return res.stdout.decode(errors="replace")

    def _start(self, selection, *argv):
        require_tools(argv[0])
        proc = self.session.spawn(argv[0], argv, env=self.env)
        check(wait_until(lambda: self.selection_owned(selection), 10), f"{argv[0]} did not start")
        return proc

    def start_tray(self):
        """trayer, an XEmbed tray, along the top right."""
        return self._start("_NET_SYSTEM_TRAY_S0", "trayer", "--edge", "top", "--align", "right",
                           "--widthtype", "request", "--height", "24", "--SetDockType", "true",
                           "--transparent", "false", "--expand", "true")

    def start_wm(self):
        return self._start("WM_S0", "openbox", "--sm-disable")

    def start_compositor(self):
        return self._start("_NET_WM_CM_S0", "xcompmgr")

    def selection_owned(self, selection):
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XInternAtom.restype = x11.XGetSelectionOwner.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        dpy = x11.XOpenDisplay(self.name.encode())
        try:
            return x11.XGetSelectionOwner(dpy, x11.XInternAtom(dpy, selection.encode(), 0)) != 0
        finally:
            x11.XCloseDisplay(dpy)

    def tray_icon(self):
        """Centre of our icon docked in trayer's panel, or None."""
        for wid in self.search("--class", "trayer"):
            tree = self.run("xwininfo", "-tree", "-id", hex(wid), check=False)
            for m in re.finditer(r"(0x[0-9a-f]+) .*?(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)", tree):
                w, h, x, y = (int(m.group(i)) for i in range(2, 6))
                if w >= 16 and h >= 16 and '"tamsel"' in self.run("xprop", "-id", m.group(1),
                                                                  "WM_CLASS", check=False):
                    return (x + w // 2, y + h // 2)
        return None

    def popup_menus(self):
        return [i for wid in self.search("--onlyvisible", "--classname", "tamsel")
                if (i := self.info(wid)) and i.override_redirect and i.height > 40
                and not (self.title(wid) or "").startswith("Tamsel")]

    def open_tray_menu(self, button=3):
        icon = wait_until(self.tray_icon, 5)
        check(icon, "no icon docked in the tray")
        self.click(*icon, button=button)
        check(wait_until(self.popup_menus, 3, 0.05), f"button {button} on the icon opened no menu")

    def choose_from_tray_menu(self, item, button=3):
        self.open_tray_menu(button)
        self.key(*["Down"] * (TRAY_MENU.index("Pause" if item == "Resume" else item) + 1), "Return")
        check(wait_until(lambda: not self.popup_menus(), 3, 0.05), "the tray menu stayed open")

    def search(self, *args):
        return [int(tok) for tok in self.run("xdotool", "search", *args, check=False).split()]

    def info(self, wid):
        try:
            return WinInfo(wid, self.run("xwininfo", "-id", hex(wid)))
        except (RuntimeError, AttributeError):
            return None  # gone meanwhile

    def title(self, wid):
        m = re.search(r'= "(.*)"', self.run("xprop", "-id", hex(wid), "_NET_WM_NAME", check=False))
        return m and m.group(1)

    def windows(self, title, viewable_only=True):
        return [i for wid in self.search("--name", "^" + re.escape(title) + "$")
                if self.title(wid) == title and (i := self.info(wid)) and (i.viewable or not viewable_only)]

    def _is_dialog(self, win):
        return win.height >= 200 or "_NET_WM_WINDOW_TYPE_DIALOG" in self.run(
            "xprop", "-id", hex(win.wid), "_NET_WM_WINDOW_TYPE", check=False)

    def indicators(self):
        """The progress indicator: titled "Tamsel" like the alerts, but no dialog."""
        return [w for w in self.windows(ALERT_TITLE) if not self._is_dialog(w)]

    def dialogs(self):
        return [w for w in self.windows(ALERT_TITLE) if self._is_dialog(w)]

    def new_dialog(self, seen=(), timeout=5):
        return wait_until(lambda: next((d for d in self.dialogs() if d.wid not in seen), None), timeout, 0.05)

    def wait_window(self, title, timeout, count=1):
        return wait_until(lambda: (w := self.windows(title)) and len(w) >= count and w, timeout)

    def wait_gone(self, title, timeout):
        return wait_until(lambda: not self.windows(title), timeout, 0.05)

    def key(self, *keys):
        self.run("xdotool", "key", "--delay", "60", *keys)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "40", "--", text)

    def move(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y))

    def click(self, x, y, button=1, repeat=1):
        self.run("xdotool", "mousemove", str(x), str(y), "click", "--repeat", str(repeat),
                 "--delay", "90", str(button))

    def window_under_pointer(self, x, y):
        self.move(x, y)
        return int(re.search(r"WINDOW=(\d+)", self.run("xdotool", "getmouselocation", "--shell")).group(1))

    def answer(self, win, *keys, text=None):
        """Gives the window the keyboard (as far as the WM lets it), types and presses keys."""
        self.run("xdotool", "windowactivate", str(win.wid), check=False)
        self.run("xdotool", "windowfocus", str(win.wid), check=False)
        if text is not None:
            self.type(text)
        if keys:
            self.key(*keys)

    def squares(self, win):
        """Runs of columns with dark ink on the indicator (over a compositor's plain grey)."""
        image = self.screenshot().crop(win.x, win.y, win.width, win.height)
        ink = [any(max(image.pixel(x, y)) < 100 for y in range(image.height)) for x in range(image.width)]
        return sum(1 for x, i in enumerate(ink) if i and (x == 0 or not ink[x - 1]))

    def screenshot(self):
        require_tools("import")
        return Image.from_ppm(subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "ppm:-"],
                                             env=self.env, capture_output=True, timeout=10).stdout)


class Image:
    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def from_ppm(cls, blob):
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", blob)
        check(m, "the screenshot is no 8-bit PPM")
        return cls(int(m.group(1)), int(m.group(2)), blob[m.end():])

    def crop(self, x, y, w, h):
        x0, y0, x1, y1 = max(0, x), max(0, y), min(self.width, x + w), min(self.height, y + h)
        return Image(x1 - x0, y1 - y0, b"".join(
            self.data[(r * self.width + x0) * 3:(r * self.width + x1) * 3] for r in range(y0, y1)))

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def default_settings(**overrides):
    """What a user's store holds after a first launch, with the story's changes."""
    return {"uid": 123456789, "stpWorkDuration": 30, "stpBreakDuration": 2, "lblSnooze": 1, "lblHide": 0,
            "radWhenHigh": 0, "dropdownOsdLocation": 1, "txtNewPwd": "", **overrides}


class Tamsel:
    """One run of the program with its own home, settings and display."""

    def __init__(self, session, display, settings=None, name="tamsel", binary=None, bus=None):
        self.session, self.display, self.name, self.runs = session, display, name, 0
        self.binary = binary or os.environ["TAMSEL_BIN"]
        self.home = session.tmp / name
        self.config_home = self.home / ".config"
        self.settings_path = self.config_home / "tamsel" / "tamsel.conf"
        (self.home / "run").mkdir(mode=0o700, parents=True, exist_ok=True)
        # No bus unless the story brings one: Qt would autolaunch one that outlives the test.
        self.env = dict(display.env, HOME=str(self.home), XDG_CONFIG_HOME=str(self.config_home),
                        XDG_DATA_HOME=str(self.home / ".local/share"), XDG_RUNTIME_DIR=str(self.home / "run"),
                        QT_QPA_PLATFORM="xcb", DBUS_SESSION_BUS_ADDRESS=bus or "disabled:")
        if settings:
            self.write_settings(settings)

    def write_settings(self, values):
        self.settings_path.parent.mkdir(parents=True, exist_ok=True)
        self.settings_path.write_text("[General]\n" + "".join(f"{k}={v}\n" for k, v in values.items()))

    def settings(self):
        return self.settings_path.exists() and dict(
            line.split("=", 1) for line in self.settings_path.read_text().splitlines() if "=" in line) or {}

    def start(self):
        self.runs += 1
        self.label = f"{self.name}-{self.runs}"
        self.proc = self.session.spawn(self.label, [self.binary], env=self.env)
        self.started = time.monotonic()
        return self

    def since_start(self):
        return time.monotonic() - self.started

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stdout(self):
        return (self.session.logs / f"{self.label}.out").read_text(errors="replace")

    def stderr(self):
        return (self.session.logs / f"{self.label}.err").read_text(errors="replace")

    def stop(self):
        Session.end(self.proc)

    def wait_indicator(self, timeout=5.0):
        return wait_until(lambda: (self.display.indicators() or [None])[0], timeout, 0.05)


class Activity:
    """A user at work: the pointer moves once a second until stopped."""

    def __init__(self, display, x=300, y=600, period=1.0):
        self.display, self.x, self.y, self.period, self.moves = display, x, y, period, 0
        self._stop, self._lock = threading.Event(), threading.Lock()

    def start(self):
        threading.Thread(target=self._run, daemon=True).start()
        self.display.session.on_close(self.stop)
        return self

    def _run(self):
        while not self._stop.is_set():
            with self._lock:
                try:
                    self.display.move(self.x + self.moves % 2 * 7, self.y)
                    self.moves += 1
                except (RuntimeError, subprocess.TimeoutExpired):
                    pass  # the display may be going away
            self._stop.wait(self.period)

    @contextmanager
    def paused(self):
        """Holds the pointer still, e.g. so that a double click stays one."""
        with self._lock:
            yield

    def stop(self):
        self._stop.set()


class TamselBus:
    """gdbus on Tamsel's scripting interface, on the bus in env."""

    DEST = ["--session", "--dest", "org.tamsel.Tamsel", "--object-path", "/org/tamsel/Tamsel"]

    def __init__(self, env):
        require_tools("gdbus")
        self.env = env

    def call(self, method, *args):
        """(exit status, what it printed)"""
        res = subprocess.run(["gdbus", "call", *self.DEST, "--method", method, *args], env=self.env,
                             capture_output=True, text=True, timeout=30)
        return res.returncode, (res.stdout + res.stderr).strip()

    def get(self, name):
        return self.call("org.freedesktop.DBus.Properties.Get", "org.tamsel.Tamsel", name)[1]


class UsageServer:
    """The maker's server on 127.0.0.1; records the path of each request."""

    def __init__(self, session):
        self.paths = paths = []

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                paths.append(self.path)
                body = b"2.6" if self.path == "/tsupdateosx.txt" else b"event-recorded"
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        def bind():
            try:
                return http.server.ThreadingHTTPServer(("127.0.0.1", USAGE_PORT), Handler)
            except OSError:
                return None

        http.server.ThreadingHTTPServer.allow_reuse_address = True
        server = wait_until(bind, 15, 0.5)
        check(server, f"port {USAGE_PORT} stays busy")
        threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True).start()
        session.on_close(lambda: (server.shutdown(), server.server_close()))


def run_story(story, timeout):
    """Runs story(session) under a hard time-out; returns the exit status."""
    name = Path(sys.argv[0]).stem

    def on_alarm(_signum, _frame):
        raise AssertionError(f"story still running after {timeout} s")

    signal.signal(signal.SIGALRM, on_alarm)
    signal.signal(signal.SIGTERM, lambda signum, _frame: sys.exit(128 + signum))
    session, status, started = Session(name), 1, time.monotonic()
    signal.alarm(timeout)
    try:
        story(session)
        status = 0
    except Skip as exc:
        print(f"SKIP: {exc}", flush=True)
        status = 77
    except AssertionError as exc:
        print(f"FAIL: {exc}", flush=True)
    except Exception:
        import traceback
        traceback.print_exc()
    finally:
        signal.alarm(0)
        session.close(failed=status not in (0, 77))
    note(f"{name}: {'passed' if status == 0 else 'skipped' if status == 77 else 'FAILED'}"
         f" in {time.monotonic() - started:.1f} s")
    return status
