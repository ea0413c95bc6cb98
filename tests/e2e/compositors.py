"""Headless Wayland desktops for the stories, each with XWayland and input
injected the way it accepts it (measured, see WAYLAND-NOTES.md):
  KWin    a copy of kwin_wayland (the packaged one has a file capability this
          container refuses) still named so; fake_input and ScreenShot2 opened
          by KWIN_*_NO_PERMISSION_CHECKS.
  sway    refuses root: runs as an unprivileged user who lets root into its
          XWayland; wlroots virtual pointer and keyboard; grim.
  mutter  input through RemoteDesktop from one lasting connection (rdinput.js).
  gnome-shell  as mutter, plus a bus standing in for the system bus, key-file
          settings and extensions in its home.
Positions are global, on one 1920x1080 output. A desktop that cannot start
here is a loud Skip.
"""

import json
import os
import shutil
import subprocess
import tempfile
import threading
from pathlib import Path

import harness as h

WIDTH, HEIGHT = 1920, 1080
START_TIMEOUT = 30.0
KEYCODES = {"Escape": 1, "Return": 28, "a": 30}  # evdev
# KWin's ScreenShot2 answers, then writes the pixels to the pipe it was given.
KWIN_SHOT = """const {Gio, GLib} = imports.gi;
const b = v => new GLib.Variant('b', v);
const [reply] = Gio.DBus.session.call_with_unix_fd_list_sync('org.kde.KWin', '/org/kde/KWin/ScreenShot2',
    'org.kde.KWin.ScreenShot2', 'CaptureArea', new GLib.Variant('(iiuua{sv}h)', [0, 0, %d, %d,
    {'native-resolution': b(true), 'include-cursor': b(false)}, 0]), null, 0, 5000,
    Gio.UnixFDList.new_from_array([Number(ARGV[0])]), null);
print(JSON.stringify(reply.recursiveUnpack()[0]));""" % (WIDTH, HEIGHT)


def start(session, kind):
    desktop = {"kwin": KWin, "sway": Sway, "mutter": Mutter}[kind](session)
    desktop.start()
    h.note(f"{kind}: Wayland {desktop.socket}, XWayland {desktop.x.name}")
    return desktop


def _xwayland_of(pid):
    """(display, auth file or None) of the Xwayland that process pid started."""
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            text = stat.read_text()
            args = stat.with_name("cmdline").read_bytes().decode(errors="replace").split("\0")
        except OSError:
            continue
        if text[text.index("(") + 1:text.rindex(")")] == "Xwayland" and \
                int(text[text.rindex(")") + 2:].split()[1]) == pid:
            display = next((a for a in args if a.startswith(":")), None)
            if display:
                return display, args[args.index("-auth") + 1] if "-auth" in args else None
    return None


class Desktop:
    kind, layer_shell, bus, x = "", False, None, None

    def __init__(self, session):
        self.session = session
        self.home = session.tmp / self.kind
        self.runtime = self.home / "run"
        self.runtime.mkdir(mode=0o700, parents=True)
        self._input_lock = threading.Lock()

    def base_env(self):
        return {"PATH": h.PATH, "LANG": "C.UTF-8", "HOME": str(self.home), "XDG_RUNTIME_DIR": str(self.runtime)}

    def client_env(self):
        env = dict(self.x.env if self.x else self.base_env(), WAYLAND_DISPLAY=str(self.socket))
        return dict(env, DBUS_SESSION_BUS_ADDRESS=self.bus) if self.bus else env

    def tamsel(self, settings, name="tamsel"):
        return h.Tamsel(self.session, self.x, settings, name=name, bus=self.bus)

    def _require(self, *tools):
        if missing := [t for t in tools if shutil.which(t) is None]:
            self._cannot_start("not installed: " + ", ".join(missing))

    def _cannot_start(self, why):
        log = self.session.logs / f"{self.kind}.err"
        tail = "\n  ".join(log.read_text(errors="replace").splitlines()[-15:]) if log.exists() else ""
        raise h.Skip(f"*** {self.kind} cannot start on this machine: {why} ***\n  {tail}")

    def _wait_for(self, path):
        h.wait_until(lambda: path.exists() or self.proc.poll() is not None, START_TIMEOUT)
        if self.proc.poll() is not None or not path.exists():
            self._cannot_start(f"no {path.name} after {START_TIMEOUT:.0f} s, status {self.proc.poll()}")

    def _launch(self, argv, socket, **env):
        """The compositor on a session bus of its own, and its XWayland."""
        self.bus = self.session.session_bus()
        self.proc = self.session.spawn(self.kind, argv, env=dict(self.base_env(), DBUS_SESSION_BUS_ADDRESS=self.bus, **env))
        self.socket = self.runtime / socket
        self._wait_for(self.socket)
        found = h.wait_until(lambda: _xwayland_of(self.proc.pid), START_TIMEOUT, 0.2)
        if not found:
            self._cannot_start("it started no XWayland")
        self._attach_x(*found)

    def _attach_x(self, display, auth=None):
        env = dict(self.base_env(), WAYLAND_DISPLAY=str(self.socket), **({"XAUTHORITY": auth} if auth else {}))
        self.x = h.Display.attach(self.session, display, env)
        h.check(h.wait_until(lambda: subprocess.run(["xwininfo", "-root"], env=self.x.env, capture_output=True,
                                                    timeout=h.TOOL_TIMEOUT).returncode == 0, START_TIMEOUT, 0.2),
                f"{self.kind}: XWayland {display} does not answer")

    def _start_input(self, argv):
        """A helper that stays connected: one command a line, "ok" for each."""
        self._input = self.session.spawn("input", argv, env=self.client_env(), stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE)
        h.check(self._input.stdout.readline() == b"ready\n", f"{self.kind}: no input (see its log)")

    def _command(self, *words):
        line = " ".join(map(str, words))
        with self._input_lock:
            self._input.stdin.write(f"{line}\n".encode())
            self._input.stdin.flush()
            h.check(self._input.stdout.readline() == b"ok\n", f"{self.kind}: {line} failed")

    def move(self, x, y):
        self._command("move", x, y)

    def click(self, x, y, button=1):
        self._command("click", x, y, button)

    def key(self, name):
        self._command("key", KEYCODES[name])

    # On KWin and sway Tamsel's indicator and breaks are layer-shell
    # surfaces, seen in screenshots over the native window; elsewhere X11 windows.
    def indicator_box(self):
        """(x0, y0, x1, y1) of the indicator's pixels, or None."""
        if not self.layer_shell:
            win = (self.x.indicators() or [None])[0]
            return win and (win.x, win.y, win.x + win.width - 1, win.y + win.height - 1)
        shot = self.screenshot()
        drawn = [(x, y) for y in range(120) for x in range(WIDTH) if shot.pixel(x, y) != NativeWindow.GREEN]
        return drawn and (min(x for x, _ in drawn), min(y for _, y in drawn),
                          max(x for x, _ in drawn), max(y for _, y in drawn))

    def break_shown(self):
        """True while a break covers the output (it dims the native window)."""
        if not self.layer_shell:
            return bool(self.x.windows(h.BREAK_TITLE))
        return self.screenshot().pixel(WIDTH // 2, 200)[1] < 100

    def screenshot(self):
        return h.Image.from_ppm(subprocess.run(self.SHOT, env=self.client_env(), capture_output=True,
                                               check=True, timeout=h.TOOL_TIMEOUT).stdout)


class NativeWindow:
    """tamsel-wlwindow: a fullscreen green native window that logs each click,
    key and change of keyboard focus it gets, one line each."""

    GREEN, BLUE = (32, 160, 64), (32, 64, 160)  # its main and raised windows

    def __init__(self, desktop):
        self.log = desktop.session.logs / "wlwindow.out"
        with open(self.log, "wb") as out:
            self.proc = desktop.session.spawn("wlwindow", [os.environ["TAMSEL_WLWINDOW_BIN"]],
                                              env=desktop.client_env(), stdin=subprocess.PIPE, stdout=out)
        h.check(h.wait_until(lambda: "ready" in self.lines(), START_TIMEOUT), "the native window did not map")

    def lines(self):
        return self.log.read_text(errors="replace").splitlines()

    def events(self, since=0, kinds=("click", "key")):
        return [line.split() for line in self.lines()[since:] if line.split()[0] in kinds]

    def ask_to_be_raised(self):
        """A new toplevel, and xdg-activation for the main one."""
        done = self.lines().count("ok") + 1
        self.proc.stdin.write(b"raise\n")
        self.proc.stdin.flush()
        h.check(h.wait_until(lambda: self.lines().count("ok") >= done, h.TOOL_TIMEOUT),
                "the native window does not answer")


class KWin(Desktop):
    kind, layer_shell = "kwin", True

    def start(self):
        self._require("kwin_wayland", "Xwayland", "dbus-daemon", "xwininfo", "gjs")
        binary = self.home / "bin" / "kwin_wayland"  # the copy drops the capability
        binary.parent.mkdir()
        shutil.copy(shutil.which("kwin_wayland"), binary)
        self._launch([str(binary), "--virtual", "--xwayland", "--width", str(WIDTH), "--height", str(HEIGHT),
                      "--socket", "wayland-k", "--no-lockscreen"], "wayland-k",
                     KWIN_WAYLAND_NO_PERMISSION_CHECKS="1", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1")
        self._start_input([os.environ["TAMSEL_WLINPUT_BIN"]])

    def screenshot(self):
        r, w = os.pipe()
        try:
            info = json.loads(subprocess.run(["gjs", "-c", KWIN_SHOT, str(w)], pass_fds=(w,), env=self.client_env(),
                                             capture_output=True, check=True, timeout=h.TOOL_TIMEOUT).stdout)
        finally:
            os.close(w)
        with os.fdopen(r, "rb") as pipe:
            data = pipe.read()
        width, height, stride = info["width"], info["height"], info["stride"]
        h.check(info["format"] in (4, 5, 6), f"a screenshot in QImage format {info['format']}")  # (A)RGB32
        rows = b"".join(data[y * stride:y * stride + width * 4] for y in range(height))
        rgb = bytearray(width * height * 3)
        for c in range(3):  # B, G, R, A in memory
            rgb[c::3] = rows[2 - c::4]
        return h.Image(width, height, bytes(rgb))


class Mutter(Desktop):
    kind = "mutter"

    def start(self):
        self._require("mutter", "Xwayland", "dbus-daemon", "xwininfo", "gjs")
        self._launch(["mutter", "--headless", "--wayland", "--wayland-display=wayland-m",
                      "--virtual-monitor", f"{WIDTH}x{HEIGHT}"], "wayland-m")
        self._start_input(["gjs", str(Path(__file__).with_name("rdinput.js"))])


class GnomeShell(Desktop):
    kind = "gnome-shell"

    def extensions(self):
        """Where it finds the user's extensions; fill before start()."""
        folder = self.home / ".local/share/gnome-shell/extensions"
        folder.mkdir(parents=True, exist_ok=True)
        return folder

    def base_env(self):
        return dict(super().base_env(), GSETTINGS_BACKEND="keyfile", XDG_CONFIG_HOME=str(self.home / ".config"),
                    XDG_DATA_HOME=str(self.home / ".local/share"))

    def start(self, enabled=()):
        self._require("gnome-shell", "Xwayland", "dbus-daemon", "xwininfo")
        settings = self.home / ".config/glib-2.0/settings/keyfile"
        settings.parent.mkdir(parents=True, exist_ok=True)
        settings.write_text("[org/gnome/shell]\nenabled-extensions=[%s]\n" % ", ".join(f"'{u}'" for u in enabled))
        self._launch(["gnome-shell", "--headless", "--wayland", "--wayland-display=wayland-g",
                      "--virtual-monitor", f"{WIDTH}x{HEIGHT}"], "wayland-g",
                     DBUS_SYSTEM_BUS_ADDRESS=self.session.session_bus())
        # What the bus starts (gnome-extensions' service) lives on this desktop.
        activation = dict(self.base_env(), WAYLAND_DISPLAY=str(self.socket))
        del activation["PATH"], activation["LANG"]
        subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                        "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.UpdateActivationEnvironment",
                        repr(activation)], env=self.client_env(), check=True, capture_output=True,
                       timeout=h.TOOL_TIMEOUT)


class Sway(Desktop):
    kind, layer_shell = "sway", True
    SHOT = ["grim", "-t", "ppm", "-"]

    def start(self):
        self._require("sway", "Xwayland", "xhost", "xwininfo", "grim")
        user = h.system_user("tamsel-e2e") if os.geteuid() == 0 else None
        base = Path(tempfile.mkdtemp(prefix="tamsel-e2e-sway-"))  # the story's folder is root's alone
        self.session.on_close(lambda: shutil.rmtree(base, ignore_errors=True))
        self.home, self.runtime = base, base / "run"
        self.runtime.mkdir(mode=0o700)
        ready, config = base / "ready", base / "config"
        config.write_text(f"output HEADLESS-1 resolution {WIDTH}x{HEIGHT}\nxwayland force\n"
                          f"exec sh -c 'echo $WAYLAND_DISPLAY $DISPLAY > {base}/r && mv {base}/r {ready}'\n")
        as_user = []
        if user:
            for path in (base, self.runtime, config):
                os.chown(path, user.pw_uid, user.pw_gid)
            as_user = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--clear-groups",
                       "--pdeathsig", "KILL", "--"]
        self.proc = self.session.spawn("sway", as_user + ["sway", "-c", str(config)], env=dict(
            self.base_env(), WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman"))
        self._wait_for(ready)
        wayland, display = ready.read_text().split()
        self.socket = self.runtime / wayland
        if user:  # its XWayland lets in its own user only
            subprocess.run(as_user + ["xhost", "+si:localuser:root"], capture_output=True, check=True,
                           env={"PATH": h.PATH, "DISPLAY": display}, timeout=h.TOOL_TIMEOUT)
        self._attach_x(display)
        self._start_input([os.environ["TAMSEL_WLINPUT_BIN"]])
