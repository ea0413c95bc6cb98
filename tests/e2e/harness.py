"""Harness for Tamsel's end-to-end stories.

Each story gets a private X server (Xvfb picks a free display itself, so
stories can run side by side), a fresh home with a prepared settings file,
the real program, input made with xdotool, and a look at the windows from
outside with xwininfo, xprop and screenshots. Whatever happens, every process
a story started is ended by its PID when the story ends, and a hard time-out
per story keeps a hung program from hanging the whole run.

Python 3 standard library only. By hand:
    TAMSEL_BIN=build/tamsel TAMSEL_TESTSERVER_BIN=build/tamsel-testserver \
        python3 tests/e2e/test_child_lock.py
TAMSEL_E2E_KEEP=1 keeps the story's temp dir (logs, screenshots) afterwards.
"""

import ctypes
import http.server
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from contextlib import contextmanager
from pathlib import Path

SKIP_RETURN_CODE = 77
USAGE_PORT = 47613  # compiled into tamsel-testserver
TOOL_TIMEOUT = 10.0  # no single xdotool/xwininfo call may take longer

BREAK_TITLE = "Tamsel break"
INDICATOR_TITLE = "Tamsel"
WELCOME_TITLE = "Welcome to Tamsel"
PREFS_TITLE = "Tamsel Preferences 2.6"
ALERT_TITLE = "Tamsel"
NO_TRAY_TITLE = "Tamsel: no tray found"
STATS_TITLE = "Tamsel Statistics"

SETTINGS_KEYS = ("uid", "stpWorkDuration", "stpBreakDuration", "lblSnooze", "lblHide",
                 "radWhenHigh", "dropdownOsdLocation", "txtNewPwd")


class Skip(Exception):
    """The story cannot run here because a tool it needs is not installed."""


class StoryTimeout(Exception):
    pass


def note(message):
    """A measured figure or a step, on the test's output for the record."""
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_until(predicate, timeout, interval=0.1):
    """Polls until predicate() gives a true value and returns it, or None."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def require_tools(*names):
    missing = [n for n in names if shutil.which(n) is None]
    if missing:
        raise Skip("not installed: " + ", ".join(missing))


def _binary(variable):
    path = os.environ.get(variable)
    if not path or not os.access(path, os.X_OK):
        raise RuntimeError(f"{variable} must name the built program (got {path!r})")
    return path


def tamsel_binary():
    return _binary("TAMSEL_BIN")


def testserver_binary():
    return _binary("TAMSEL_TESTSERVER_BIN")


# ---- processes ----------------------------------------------------------------

# setpriv makes the kernel kill a child when this script dies, even by
# SIGKILL, so nothing survives a killed test run.
_SETPRIV = shutil.which("setpriv")


class Session:
    """Owns the temp dir and every process of one story; close() ends them."""

    def __init__(self, name):
        self.name = name
        self.tmp = Path(tempfile.mkdtemp(prefix=f"tamsel-e2e-{name}-"))
        self._procs = []  # (label, Popen), in start order
        self._closers = []
        self.logs = self.tmp / "logs"
        self.logs.mkdir()

    def spawn(self, label, argv, env=None, pass_fds=(), stdout=None, stderr=None,
              stdin=subprocess.DEVNULL):
        """Starts a long-lived process and keeps it for teardown."""
        if _SETPRIV:
            argv = [_SETPRIV, "--pdeathsig", "KILL", "--"] + list(argv)
        log = None
        if stdout is None or stderr is None:
            log = open(self.logs / f"{label}.log", "ab")
        proc = subprocess.Popen(argv, env=env, pass_fds=pass_fds, stdin=stdin,
                                stdout=stdout if stdout is not None else log,
                                stderr=stderr if stderr is not None else log)
        if log:
            log.close()
        self._procs.append((label, proc))
        return proc

    def on_close(self, fn):
        self._closers.append(fn)

    @staticmethod
    def end(proc, grace=3.0):
        """Ends one process by its PID: TERM, then KILL if it does not go."""
        if proc.poll() is not None:
            return proc.returncode
        try:
            os.kill(proc.pid, signal.SIGTERM)
            return proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            os.kill(proc.pid, signal.SIGKILL)
            return proc.wait(timeout=grace)
        except ProcessLookupError:
            return proc.wait(timeout=grace)

    def close(self, keep=False):
        for fn in reversed(self._closers):
            try:
                fn()
            except Exception as exc:  # teardown goes on whatever failed
                print(f"teardown: {exc}", file=sys.stderr)
        for _label, proc in reversed(self._procs):
            try:
                self.end(proc)
            except Exception as exc:
                print(f"teardown: {exc}", file=sys.stderr)
        if keep:
            print(f"kept {self.tmp}", file=sys.stderr)
        else:
            shutil.rmtree(self.tmp, ignore_errors=True)

    def dump_logs(self, lines=40):
        for path in sorted(self.logs.glob("*.log")) + sorted(self.logs.glob("*.out")) + \
                sorted(self.logs.glob("*.err")):
            text = path.read_text(errors="replace").splitlines()
            if not text:
                continue
            print(f"---- {path.name} (last {min(lines, len(text))} lines)", file=sys.stderr)
            for line in text[-lines:]:
                print("  " + line, file=sys.stderr)

    # -- shared services -------------------------------------------------------

    def display(self, width=1920, height=1080, monitors=None):
        return Display(self, width, height, monitors)

    def usage_server(self):
        server = UsageServer()
        self.on_close(server.stop)
        return server

    def session_bus(self):
        """A private D-Bus session bus for this story; its address."""
        require_tools("dbus-daemon")
        r, w = os.pipe()
        self.spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                            f"--print-address={w}"], pass_fds=(w,))
        os.close(w)
        address = _read_line(r, 10.0, "dbus-daemon gave no address")
        return address


def _read_line(fd, timeout, failure):
    data = b""
    deadline = time.monotonic() + timeout
    try:
        while not data.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise RuntimeError(failure)
            chunk = os.read(fd, 256)
            if not chunk:
                raise RuntimeError(failure)
            data += chunk
    finally:
        os.close(fd)
    return data.decode().strip()


# ---- the X server and what can be seen on it ---------------------------------

class WinInfo:
    """What xwininfo says about one window, in X coordinates."""

    def __init__(self, wid, text):
        self.wid = wid

        def num(label):
            m = re.search(rf"{label}:\s+(-?\d+)", text)
            return int(m.group(1)) if m else None

        self.x = num("Absolute upper-left X")
        self.y = num("Absolute upper-left Y")
        self.width = num("Width")
        self.height = num("Height")
        self.viewable = "Map State: IsViewable" in text
        self.override_redirect = "Override Redirect State: yes" in text

    @property
    def geometry(self):
        return (self.x, self.y, self.width, self.height)

    def __repr__(self):
        return f"<{self.wid:#x} {self.width}x{self.height}{self.x:+d}{self.y:+d}" \
               f"{' viewable' if self.viewable else ''}>"


class Display:
    """One private Xvfb, with the tools that look at it and drive it."""

    def __init__(self, session, width, height, monitors=None):
        require_tools("Xvfb", "xdotool", "xwininfo", "xprop")
        self.session = session
        self.width, self.height = width, height
        r, w = os.pipe()
        self.proc = session.spawn(
            "Xvfb", ["Xvfb", "-displayfd", str(w), "-screen", "0", f"{width}x{height}x24",
                     "-nolisten", "tcp", "-noreset"], pass_fds=(w,))
        os.close(w)
        self.name = ":" + _read_line(r, 15.0, "Xvfb did not report a display")
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": self.name,
                    "HOME": str(session.tmp), "LANG": "C.UTF-8"}
        note(f"Xvfb {self.name} {width}x{height}")
        if monitors:
            self.set_monitors(monitors)

    @classmethod
    def attach(cls, session, name, env, width=1920, height=1080):
        """The same tools on an X server started by someone else (XWayland)."""
        display = cls.__new__(cls)
        display.session, display.name, display.proc = session, name, None
        display.width, display.height = width, height
        display.env = dict(env, DISPLAY=name)
        return display

    def run(self, *argv, check=True, timeout=TOOL_TIMEOUT):
        """Runs one short X tool against this display; its standard output."""
        res = subprocess.run(argv, env=self.env, capture_output=True, timeout=timeout)
        if check and res.returncode != 0:
            raise RuntimeError(f"{' '.join(argv)}: {res.stderr.decode(errors='replace')}")
        return res.stdout

    def set_monitors(self, monitors):
        """Splits the screen into RandR monitors: [(w, h, x, y), ...], first primary."""
        require_tools("xrandr")
        for i, (w, h, x, y) in enumerate(monitors):
            # The first monitor takes over the output; the others are virtual.
            name, output = ("*M0", "screen") if i == 0 else (f"M{i}", "none")
            self.run("xrandr", "--setmonitor", name, f"{w}/{w // 4}x{h}/{h // 4}+{x}+{y}", output)
        listed = self.run("xrandr", "--listmonitors").decode()
        note("monitors: " + " | ".join(line.strip() for line in listed.splitlines()[1:]))

    # -- helpers a story may want running on this display ---------------------

    def start_tray(self):
        """trayer, an XEmbed tray, in a panel along the top right."""
        require_tools("trayer")
        self.session.spawn("trayer", ["trayer", "--edge", "top", "--align", "right",
                                      "--widthtype", "request", "--height", "24",
                                      "--SetDockType", "true", "--transparent", "false",
                                      "--tint", "0x303030", "--expand", "true"],
                           env=self.env)
        if not wait_until(lambda: self.selection_owned("_NET_SYSTEM_TRAY_S0"), 10):
            raise RuntimeError("trayer did not take the tray selection")

    def start_wm(self):
        require_tools("openbox")
        self.session.spawn("openbox", ["openbox", "--sm-disable"], env=self.env)
        # openbox is ready once it owns the window manager selection.
        if not wait_until(lambda: self.selection_owned("WM_S0"), 10):
            raise RuntimeError("openbox did not take the screen")

    def start_compositor(self):
        require_tools("xcompmgr")
        self.session.spawn("xcompmgr", ["xcompmgr"], env=self.env)
        if not wait_until(lambda: self.selection_owned("_NET_WM_CM_S0"), 10):
            raise RuntimeError("xcompmgr did not start compositing")

    def selection_owned(self, selection):
        """True while some client owns the X selection (WM, compositor, tray)."""
        return _selection_owner(self.name, selection) != 0

    def _tray_panel(self):
        for wid in self.search("--class", "trayer"):
            info = self.info(wid)
            if info and self.run("xprop", "-id", hex(wid), "WM_NAME", check=False) \
                    .decode().strip().endswith('"panel"'):
                return info
        return None

    def tray_icon(self):
        """Centre of the icon docked in trayer's panel, or None."""
        panel = self._tray_panel()
        if not panel:
            return None
        tree = self.run("xwininfo", "-tree", "-id", hex(panel.wid), check=False).decode()
        best = None
        for m in re.finditer(r"(0x[0-9a-f]+) .*?(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)",
                             tree):
            w, h, x, y = int(m.group(2)), int(m.group(3)), int(m.group(4)), int(m.group(5))
            if w >= 16 and h >= 16 and (best is None or w * h > best[0] * best[1]):
                best = (w, h, x, y)
        if best is None:
            return None
        w, h, x, y = best
        return (x + w // 2, y + h // 2)

    def popup_menus(self):
        """Mapped pop-up menus of the program: its untitled top-level windows
        that bypass the window manager (Qt marks them no further)."""
        menus = []
        for wid in self.search("--onlyvisible", "--maxdepth", "1", "--classname", "tamsel"):
            info = self.info(wid)
            if info and info.override_redirect and not (self.title(wid) or "").startswith("Tamsel"):
                menus.append(info)
        return menus

    def choose_from_tray_menu(self, position):
        """Opens the tray icon's menu and chooses its item at `position` (0 first)."""
        icon = wait_until(self.tray_icon, 5)
        if not icon:
            raise AssertionError("no icon docked in the tray")
        self.click(*icon, button=3)
        if not wait_until(self.popup_menus, 3, 0.05):
            raise AssertionError("a right click on the tray icon opened no menu")
        self.key(*(["Down"] * (position + 1)), "Return")
        if not wait_until(lambda: not self.popup_menus(), 3, 0.05):
            raise AssertionError("the tray menu stayed open")

    # -- windows -----------------------------------------------------------------

    def search(self, *args):
        out = self.run("xdotool", "search", *args, check=False).decode()
        return [int(tok) for tok in out.split()]

    def info(self, wid):
        try:
            text = self.run("xwininfo", "-id", hex(wid)).decode()
        except RuntimeError:
            return None  # gone meanwhile
        return WinInfo(wid, text)

    def windows(self, title, viewable_only=True):
        """Top-level windows whose title is exactly `title`."""
        found = []
        for wid in self.search("--name", "^" + re.escape(title) + "$"):
            if self.title(wid) != title:
                continue
            info = self.info(wid)
            if info and (info.viewable or not viewable_only):
                found.append(info)
        return found

    def title(self, wid):
        out = self.run("xprop", "-id", hex(wid), "_NET_WM_NAME", "WM_NAME", check=False)
        m = re.search(r'= "(.*)"', out.decode(errors="replace"))
        return m.group(1) if m else None

    def window_types(self, wid):
        out = self.run("xprop", "-id", hex(wid), "_NET_WM_WINDOW_TYPE", check=False).decode()
        return set(re.findall(r"_NET_WM_WINDOW_TYPE_(\w+)", out))

    def _is_indicator(self, win):
        # Alerts and the password box share the title; they are dialogs.
        return "DIALOG" not in self.window_types(win.wid) and win.height < 200

    def indicators(self):
        """Mapped progress indicators: titled "Tamsel" but not a dialog."""
        return [w for w in self.windows(INDICATOR_TITLE) if self._is_indicator(w)]

    def dialogs(self):
        """Mapped alerts and password boxes, titled "Tamsel" too."""
        return [w for w in self.windows(ALERT_TITLE) if not self._is_indicator(w)]

    def wait_window(self, title, timeout, count=1):
        """Waits until `count` windows titled `title` are mapped; their infos."""
        def enough():
            found = self.windows(title)
            return found if len(found) >= count else None
        return wait_until(enough, timeout)

    def wait_gone(self, title, timeout):
        return wait_until(lambda: not self.windows(title), timeout, interval=0.05)

    # -- input -------------------------------------------------------------------

    def key(self, *keys):
        """Presses keys (xdotool names, e.g. "alt+p") on the focused window."""
        self.run("xdotool", "key", "--delay", "60", *keys)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "40", "--", text)

    def move(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y))

    def click(self, x, y, button=1, repeat=1):
        self.run("xdotool", "mousemove", str(x), str(y), "click", "--repeat",
                 str(repeat), "--delay", "90", str(button))

    def focus(self, wid):
        """Gives the window the keyboard, as far as the window manager lets it.
        Keys that go astray then show as a missing effect in the story."""
        self.run("xdotool", "windowactivate", str(wid), check=False)
        try:
            self.run("xdotool", "windowfocus", "--sync", str(wid), check=False, timeout=2)
        except subprocess.TimeoutExpired:
            pass

    # -- pictures ----------------------------------------------------------------

    def screenshot(self):
        require_tools("import")
        return Image.from_ppm(
            self.run("import", "-silent", "-window", "root", "-depth", "8", "ppm:-"))


def _selection_owner(display_name, selection):
    """The window owning an X selection, 0 if none; asked through libX11."""
    x11 = _libx11()
    dpy = x11.XOpenDisplay(display_name.encode())
    if not dpy:
        raise RuntimeError(f"cannot open display {display_name}")
    try:
        atom = x11.XInternAtom(dpy, selection.encode(), False)
        return x11.XGetSelectionOwner(dpy, atom)
    finally:
        x11.XCloseDisplay(dpy)


_X11 = None


def _libx11():
    global _X11
    if _X11 is None:
        lib = ctypes.CDLL("libX11.so.6")
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XGetSelectionOwner.restype = ctypes.c_ulong
        lib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        _X11 = lib
    return _X11


# ---- pictures ------------------------------------------------------------------

class Image:
    """An RGB picture from a screenshot, enough to compare looks."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def from_ppm(cls, blob):
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", blob)
        if not m:
            raise RuntimeError("screenshot is no binary PPM")
        width, height, maxval = int(m.group(1)), int(m.group(2)), int(m.group(3))
        if maxval != 255:
            raise RuntimeError(f"screenshot has {maxval} levels, expected 255")
        data = blob[m.end():m.end() + width * height * 3]
        return cls(width, height, data)

    def crop(self, x, y, w, h):
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        rows = [self.data[(r * self.width + x0) * 3:(r * self.width + x1) * 3]
                for r in range(y0, y1)]
        return Image(x1 - x0, y1 - y0, b"".join(rows))

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def mean(self):
        """Mean of all channels, 0 to 255."""
        return sum(self.data) / max(1, len(self.data))

    def save(self, path):
        with open(path, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (self.width, self.height) + self.data)


# ---- the program under test ------------------------------------------------------

def default_settings(**overrides):
    """What a user's store holds after a first launch, with the story's changes."""
    values = {"uid": 123456789, "stpWorkDuration": 30, "stpBreakDuration": 2, "lblSnooze": 1,
              "lblHide": 0, "radWhenHigh": 0, "dropdownOsdLocation": 1, "txtNewPwd": ""}
    values.update(overrides)
    return values


class Tamsel:
    """One run of the program with its own home, settings and display."""

    def __init__(self, session, display, name="tamsel", binary=None, bus=None):
        self.session, self.display, self.name = session, display, name
        self.binary = binary or tamsel_binary()
        self.home = session.tmp / name
        self.config_home = self.home / ".config"
        self.settings_path = self.config_home / "tamsel" / "tamsel.conf"
        runtime = self.home / "run"
        runtime.mkdir(parents=True, exist_ok=True)
        runtime.chmod(0o700)
        self.env = dict(display.env)
        self.env.update({
            "HOME": str(self.home), "XDG_CONFIG_HOME": str(self.config_home),
            "XDG_DATA_HOME": str(self.home / ".local/share"),
            "XDG_CACHE_HOME": str(self.home / ".cache"), "XDG_RUNTIME_DIR": str(runtime),
            "QT_QPA_PLATFORM": "xcb",
            # No bus unless the story brings one: Qt would autolaunch a
            # daemon that outlives the test.
            "DBUS_SESSION_BUS_ADDRESS": bus or "disabled:",
        })
        self.proc = None
        self.started = None
        self.runs = 0

    def write_settings(self, values):
        self.settings_path.parent.mkdir(parents=True, exist_ok=True)
        lines = ["[General]"] + [f"{k}={v}" for k, v in values.items()]
        self.settings_path.write_text("\n".join(lines) + "\n")

    def settings(self):
        """The stored settings as text values, or None without a file."""
        if not self.settings_path.exists():
            return None
        values, section = {}, None
        for line in self.settings_path.read_text().splitlines():
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1]
            elif "=" in line and section == "General":
                k, v = line.split("=", 1)
                values[k.strip()] = v.strip()
        return values

    def start(self):
        self.runs += 1
        label = f"{self.name}-{self.runs}"
        self.stdout_path = self.session.logs / f"{label}.out"
        with open(self.stdout_path, "wb") as out, \
                open(self.session.logs / f"{label}.err", "wb") as err:
            self.proc = self.session.spawn(label, [self.binary], env=self.env, stdout=out,
                                           stderr=err)
        self.started = time.monotonic()
        return self

    def since_start(self):
        return time.monotonic() - self.started

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, timeout):
        """The exit status, or None if the program still runs after timeout."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stdout(self):
        return self.stdout_path.read_text(errors="replace")

    def stop(self):
        if self.proc:
            Session.end(self.proc)

    def wait_indicator(self, timeout=5.0):
        return wait_until(lambda: (self.display.indicators() or [None])[0], timeout, 0.05)


class Activity:
    """A user at work: the pointer moves once a second until stopped."""

    def __init__(self, display, x=300, y=600, period=1.0):
        self.display, self.x, self.y, self.period = display, x, y, period
        self.moves = 0
        self._stop = threading.Event()
        self._lock = threading.Lock()
        self._thread = threading.Thread(target=self._run, daemon=True)

    def start(self):
        self._thread.start()
        self.display.session.on_close(self.stop)
        return self

    def _run(self):
        step = 0
        while not self._stop.is_set():
            with self._lock:
                step ^= 1
                try:
                    self.display.move(self.x + step * 7, self.y)
                    self.moves += 1
                except (RuntimeError, subprocess.TimeoutExpired):
                    pass  # the display may be going away at teardown
            self._stop.wait(self.period)

    @contextmanager
    def paused(self):
        """Holds the pointer still, e.g. so a double click stays one."""
        with self._lock:
            yield

    def stop(self):
        self._stop.set()
        if self._thread.is_alive():
            self._thread.join(timeout=TOOL_TIMEOUT + 1)


# ---- the maker's server, played on 127.0.0.1 ------------------------------------

class UsageServer:
    """Serves the version file and the usage endpoint; records each request."""

    VERSION_TEXT = b"2.6"  # the running version: no offer to update
    USAGE_REPLY = b"event-recorded"

    def __init__(self):
        self.requests = []  # (monotonic time, path with query)
        recorder = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                recorder.requests.append((time.monotonic(), self.path))
                if self.path == "/tsupdateosx.txt":
                    body, status = recorder.VERSION_TEXT, 200
                elif self.path.startswith("/logistics/ln.php"):
                    body, status = recorder.USAGE_REPLY, 200
                else:
                    body, status = b"not here", 404
                self.send_response(status)
                self.send_header("Content-Type", "text/plain")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        http.server.ThreadingHTTPServer.allow_reuse_address = True
        deadline = time.monotonic() + 15
        while True:
            try:
                self.server = http.server.ThreadingHTTPServer(("127.0.0.1", USAGE_PORT), Handler)
                break
            except OSError as exc:
                if time.monotonic() > deadline:
                    raise RuntimeError(f"port {USAGE_PORT} stays busy: {exc}") from exc
                time.sleep(0.5)
        self.server.daemon_threads = True
        self._thread = threading.Thread(target=self.server.serve_forever,
                                        kwargs={"poll_interval": 0.1}, daemon=True)
        self._thread.start()

    def paths(self, prefix=""):
        return [p for _t, p in self.requests if p.startswith(prefix)]

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


# ---- running a story ---------------------------------------------------------------

def run_story(story, timeout):
    """Runs story(session) under a hard time-out; returns the exit status."""
    name = Path(sys.argv[0]).stem

    def on_alarm(_signum, _frame):
        raise StoryTimeout(f"story still running after {timeout} s")

    def on_term(signum, _frame):
        raise SystemExit(128 + signum)

    signal.signal(signal.SIGALRM, on_alarm)
    signal.signal(signal.SIGTERM, on_term)
    signal.signal(signal.SIGINT, on_term)
    session = None
    status = 1
    started = time.monotonic()
    signal.alarm(timeout)
    try:
        session = Session(name)
        story(session)
        status = 0
    except Skip as exc:
        print(f"SKIP: {exc}", flush=True)
        status = SKIP_RETURN_CODE
    except AssertionError as exc:
        print(f"FAIL: {exc}", flush=True)
    except StoryTimeout as exc:
        print(f"FAIL (time-out): {exc}", flush=True)
    except Exception as exc:
        import traceback
        traceback.print_exc()
        print(f"ERROR: {exc}", flush=True)
    finally:
        signal.alarm(0)
        if session is not None:
            if status not in (0, SKIP_RETURN_CODE):
                session.dump_logs()
            session.close(keep=os.environ.get("TAMSEL_E2E_KEEP") == "1")
    note(f"{name}: {'passed' if status == 0 else 'skipped' if status == 77 else 'FAILED'}"
         f" in {time.monotonic() - started:.1f} s")
    return status


def check(condition, message):
    """Like assert, but never optimised away and always with the figures."""
    if not condition:
        raise AssertionError(message)
