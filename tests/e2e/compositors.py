"""Headless Wayland desktops for end-to-end stories: KWin, sway and mutter as
this machine has them, each with XWayland and input injected the way it
accepts it. A story calls start(session, "kwin" | "sway" | "mutter" |
"gnome-shell"); the session ends every process by its PID.

    desktop = compositors.start(session, "kwin")
    app = desktop.tamsel(settings)  # harness.Tamsel on XWayland, WAYLAND_DISPLAY set
    desktop.x.windows(title)        # harness.Display tools on the XWayland display
    desktop.move(x, y); desktop.click(x, y, button=1); desktop.key("Return")
    desktop.screenshot()            # harness.Image of the output (KWin, sway)
    native = desktop.native_window()  # a fullscreen native window logging its input
    desktop.indicator_box(); desktop.break_shown()  # Tamsel's overlays, whichever way shown
    desktop.stop()                  # the compositor goes away mid-story

Positions are global, on one 1920x1080 output. What each one needs
(measured, see WAYLAND-NOTES.md):
  KWin    a copy of kwin_wayland (the packaged binary has a file capability
          this container refuses) still named kwin_wayland; input through
          org_kde_kwin_fake_input, offered with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1;
          screenshots through org.kde.KWin.ScreenShot2 (tamsel-kwinshot),
          open with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1.
  sway    refuses root: runs as an unprivileged user, created when the tests
          run as root, who then lets root into its XWayland (xhost); input
          through a wlroots virtual pointer and a virtual keyboard; screenshots
          with grim.
  mutter  a private session bus; input through RemoteDesktop from one
          connection that lives as long as mutter (rdinput.js).
  gnome-shell  as mutter, plus a second private bus standing in for the
          system bus (without one it stops at start), settings in a key
          file of its home, and extensions from its home.
A desktop that cannot start at all here is a loud Skip.
"""

import os
import shutil
import subprocess
import tempfile
import threading
import time
from pathlib import Path

import harness as h

WIDTH, HEIGHT = 1920, 1080
START_TIMEOUT = 30.0
SWAY_USER = "tamsel-e2e"
# evdev codes of the keys stories press (sway takes the names).
KEYCODES = {"Escape": 1, "Tab": 15, "Return": 28, "a": 30, "space": 57}


def start(session, kind):
    desktop = {"kwin": KWin, "sway": Sway, "mutter": Mutter,
               "gnome-shell": GnomeShell}[kind](session)
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
        comm, rest = text[text.index("(") + 1:text.rindex(")")], text[text.rindex(")") + 2:]
        if comm != "Xwayland" or int(rest.split()[1]) != pid:
            continue
        display = next((a for a in args if a.startswith(":")), None)
        auth = args[args.index("-auth") + 1] if "-auth" in args else None
        if display:
            return display, auth
    return None


class Desktop:
    kind = ""

    def __init__(self, session):
        self.session = session
        self.home = session.tmp / self.kind
        self.runtime = self.home / "run"
        self.runtime.mkdir(parents=True)
        self.runtime.chmod(0o700)
        self.bus = None      # address of the desktop's session bus, if it has one
        self.socket = None   # absolute path of the Wayland socket
        self.x = None        # harness.Display on XWayland
        self.proc = None
        self._input_lock = threading.Lock()

    def base_env(self):
        return {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LANG": "C.UTF-8",
                "HOME": str(self.home), "XDG_RUNTIME_DIR": str(self.runtime)}

    def client_env(self):
        """What a client of this desktop gets: the socket by its full path."""
        env = dict(self.x.env if self.x else self.base_env(), WAYLAND_DISPLAY=str(self.socket))
        if self.bus:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus
        return env

    def stop(self):
        """Ends the compositor now (its XWayland goes with it)."""
        h.Session.end(self.proc)

    def tamsel(self, settings, name="tamsel"):
        return h.Tamsel(self.session, self.x, settings, name=name, bus=self.bus)

    def _require(self, *tools):
        try:
            h.require_tools(*tools)
        except h.Skip as exc:
            self._cannot_start(str(exc))

    def _cannot_start(self, why):
        log = self.session.logs / f"{self.kind}.err"
        tail = "\n  ".join(log.read_text(errors="replace").splitlines()[-15:]) \
            if log.exists() else ""
        raise h.Skip(f"*** {self.kind} cannot start on this machine: {why} ***\n  {tail}")

    def _wait_for(self, path, what):
        if not h.wait_until(lambda: path.exists() or self.proc.poll() is not None,
                            START_TIMEOUT):
            self._cannot_start(f"{what} after {START_TIMEOUT:.0f} s")
        if self.proc.poll() is not None:
            self._cannot_start(f"it ended with status {self.proc.returncode}")

    def _launch(self, argv, socket, **env):
        """Starts the compositor on a session bus of its own; it makes its
        XWayland. Waits for both."""
        self.bus = self.session.session_bus()
        self.proc = self.session.spawn(self.kind, argv, env=dict(
            self.base_env(), DBUS_SESSION_BUS_ADDRESS=self.bus, **env))
        self.socket = self.runtime / socket
        self._wait_for(self.socket, "no Wayland socket")
        found = h.wait_until(lambda: _xwayland_of(self.proc.pid), START_TIMEOUT, 0.2)
        if not found:
            self._cannot_start("it started no XWayland")
        self._attach_x(*found)

    def _attach_x(self, display, auth=None):
        env = dict(self.base_env(), WAYLAND_DISPLAY=str(self.socket))
        if auth:
            env["XAUTHORITY"] = auth
        self.x = h.Display.attach(self.session, display, env)
        if not h.wait_until(lambda: subprocess.run(
                ["xwininfo", "-root"], env=self.x.env, capture_output=True,
                timeout=h.TOOL_TIMEOUT).returncode == 0, START_TIMEOUT, 0.2):
            raise RuntimeError(f"{self.kind}: XWayland {display} does not answer")

    # Input: a helper that stays connected, one command a line.
    # (A helper that hangs is the story's time-out.)
    def _start_input(self, argv):
        self._input = self.session.spawn("input", argv, env=self.client_env(),
                                         stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        if self._input.stdout.readline() != b"ready\n":
            raise RuntimeError(f"{self.kind}: no input (see its log)")

    def _command(self, *words):
        line = " ".join(map(str, words))
        with self._input_lock:
            self._input.stdin.write(f"{line}\n".encode())
            self._input.stdin.flush()
            if self._input.stdout.readline() != b"ok\n":
                raise RuntimeError(f"{self.kind}: {line} failed")

    def move(self, x, y):
        self._command("move", x, y)

    def click(self, x, y, button=1):
        self._command("click", x, y, button)

    def key(self, name):
        self._command("key", KEYCODES[name])

    def native_window(self):
        return NativeWindow(self)

    # Where Tamsel shows its indicator and breaks: layer-shell surfaces on
    # KWin and sway, seen in screenshots over the native window, which must
    # be open; X11 windows on XWayland elsewhere.
    layer_shell = False

    def indicator_box(self):
        """(x0, y0, x1, y1) of the indicator's pixels, or None."""
        if not self.layer_shell:
            win = (self.x.indicators() or [None])[0]
            return win and (win.x, win.y, win.x + win.width - 1, win.y + win.height - 1)
        shot = self.screenshot()
        drawn = [(x, y) for y in range(120) for x in range(WIDTH)
                 if shot.pixel(x, y) != NativeWindow.GREEN]
        xs, ys = [x for x, _ in drawn], [y for _, y in drawn]
        return drawn and (min(xs), min(ys), max(xs), max(ys))

    def break_shown(self):
        """True while a break covers the output (its look dims the window)."""
        if not self.layer_shell:
            return bool(self.x.windows(h.BREAK_TITLE))
        return self.screenshot().pixel(WIDTH // 2, 200)[1] < 100

    def screenshot(self):
        return h.Image.from_ppm(self._screenshot())

    def _screenshot(self):
        raise h.Skip(f"*** no screenshots on {self.kind} ***")


class NativeWindow:
    """tamsel-wlwindow: a fullscreen native window, green, that logs each
    click, key and change of keyboard focus it gets, one line each."""

    GREEN, BLUE = (32, 160, 64), (32, 64, 160)  # its main and raised windows

    def __init__(self, desktop):
        self.log = desktop.session.logs / "wlwindow.out"
        with open(self.log, "wb") as out:
            self.proc = desktop.session.spawn("wlwindow", [os.environ["TAMSEL_WLWINDOW_BIN"]],
                                              env=desktop.client_env(), stdin=subprocess.PIPE,
                                              stdout=out)
        if not h.wait_until(lambda: "ready" in self.lines(), START_TIMEOUT):
            raise RuntimeError(f"{desktop.kind}: the native window did not map")

    def lines(self):
        return self.log.read_text(errors="replace").splitlines()

    def events(self, since=0, kinds=("click", "key")):
        """Its lines from number `since` on that are of these kinds, split."""
        return [line.split() for line in self.lines()[since:] if line.split()[0] in kinds]

    def ask_to_be_raised(self):
        """A new toplevel, and xdg-activation for the main one."""
        done = self.lines().count("ok") + 1
        self.proc.stdin.write(b"raise\n")
        self.proc.stdin.flush()
        if not h.wait_until(lambda: self.lines().count("ok") >= done, h.TOOL_TIMEOUT):
            raise RuntimeError("the native window does not answer")


class KWin(Desktop):
    kind = "kwin"
    layer_shell = True

    def start(self):
        self._require("kwin_wayland", "Xwayland", "dbus-daemon", "xwininfo")
        # The copy drops the file capability; the name keeps its QPA plugin.
        binary = self.home / "bin" / "kwin_wayland"
        binary.parent.mkdir()
        shutil.copy(shutil.which("kwin_wayland"), binary)
        self._launch([str(binary), "--virtual", "--xwayland", "--width", str(WIDTH), "--height",
                      str(HEIGHT), "--socket", "wayland-k", "--no-lockscreen"], "wayland-k",
                     KWIN_WAYLAND_NO_PERMISSION_CHECKS="1", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1")
        self._start_input([os.environ["TAMSEL_WLINPUT_BIN"]])

    def _screenshot(self):
        return subprocess.run([os.environ["TAMSEL_KWINSHOT_BIN"], str(WIDTH), str(HEIGHT)],
                              env=self.client_env(), capture_output=True, check=True,
                              timeout=h.TOOL_TIMEOUT).stdout


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
        return dict(super().base_env(), GSETTINGS_BACKEND="keyfile",
                    XDG_CONFIG_HOME=str(self.home / ".config"),
                    XDG_DATA_HOME=str(self.home / ".local/share"))

    def start(self, enabled=()):
        self._require("gnome-shell", "Xwayland", "dbus-daemon", "xwininfo")
        settings = self.home / ".config/glib-2.0/settings/keyfile"
        settings.parent.mkdir(parents=True, exist_ok=True)
        settings.write_text("[org/gnome/shell]\nenabled-extensions=[%s]\n"
                            % ", ".join(f"'{uuid}'" for uuid in enabled))
        self._launch(["gnome-shell", "--headless", "--wayland", "--wayland-display=wayland-g",
                      "--virtual-monitor", f"{WIDTH}x{HEIGHT}"], "wayland-g",
                     DBUS_SYSTEM_BUS_ADDRESS=self.session.session_bus())
        # What the bus starts (gnome-extensions' service) lives on this desktop.
        activation = dict(self.base_env(), WAYLAND_DISPLAY=str(self.socket))
        del activation["PATH"], activation["LANG"]
        subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                        "--object-path", "/org/freedesktop/DBus", "--method",
                        "org.freedesktop.DBus.UpdateActivationEnvironment", repr(activation)],
                       env=self.client_env(), check=True, capture_output=True,
                       timeout=h.TOOL_TIMEOUT)


class Sway(Desktop):
    kind = "sway"
    layer_shell = True

    def start(self):
        self._require("sway", "Xwayland", "xhost", "xwininfo")
        user = h.system_user(SWAY_USER) if os.geteuid() == 0 else None  # it refuses root
        # Its own folder: the story's is root's alone.
        base = Path(tempfile.mkdtemp(prefix="tamsel-e2e-sway-"))
        self.session.on_close(lambda: shutil.rmtree(base, ignore_errors=True))
        self.home, self.runtime = base, base / "run"
        self.runtime.mkdir(mode=0o700)
        ready, config = base / "ready", base / "config"
        config.write_text(f"output HEADLESS-1 resolution {WIDTH}x{HEIGHT}\nxwayland force\n"
                          f"exec sh -c 'echo $WAYLAND_DISPLAY $DISPLAY > {base}/r && "
                          f"mv {base}/r {ready}'\n")
        as_user = []
        if user:
            for path in (base, self.runtime, config):
                os.chown(path, user.pw_uid, user.pw_gid)
            as_user = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}",
                       "--clear-groups", "--pdeathsig", "KILL", "--"]
        env = dict(self.base_env(), WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                   WLR_RENDERER="pixman")
        self.proc = self.session.spawn("sway", as_user + ["sway", "-c", str(config)], env=env)
        self._wait_for(ready, "not ready")
        wayland, display = ready.read_text().split()
        self.socket = self.runtime / wayland
        if user:
            # Its XWayland lets in its own user only.
            subprocess.run(as_user + ["xhost", "+si:localuser:root"], capture_output=True,
                           env={"PATH": self.base_env()["PATH"], "DISPLAY": display},
                           timeout=h.TOOL_TIMEOUT, check=True)
        self._attach_x(display)
        self._start_input([os.environ["TAMSEL_WLINPUT_BIN"]])

    def _screenshot(self):
        h.require_tools("grim")
        return subprocess.run(["grim", "-t", "ppm", "-"], env=self.client_env(),
                              capture_output=True, check=True, timeout=h.TOOL_TIMEOUT).stdout
