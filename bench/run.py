#!/usr/bin/env python3
"""Footprint benchmark: Tamsel against the floor, side by side in one run.

Each program gets its own Xvfb with a tray (trayer), its own D-Bus session
bus and a fresh HOME; Tamsel gets prepared settings (not a first launch).
Measured per program:
  - start-up: exec to the first mapped window or tray icon (median of N);
  - resident memory (VmRSS) after two minutes;
  - CPU time and context switches per minute, idle and under input;
  - helper processes started on its behalf;
  - memory over 100 break cycles, run in time lapse by tamsel-timelapse
    (the same program with its clock, timers and idle time 60x faster);
  - during those breaks, memory and the time from a break window's creation
    to its mapping, without a compositor (where each break takes a picture
    of the screen) and, in a shorter run, with xcompmgr;
  - how much its history database grows over those break cycles, and what
    keeping the history costs (a build that keeps none, side by side).
Prints one Markdown table with both columns, the ratios and PASS/FAIL.

  python3 bench/run.py [--build DIR] [--results bench/RESULTS.md]

Standard library only. Everything started here is ended by PID.
"""

import argparse
import ctypes
import datetime
import os
import platform
import select
import shutil
import signal
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import uuid

HERE = os.path.dirname(os.path.abspath(__file__))
CLK_TCK = os.sysconf("SC_CLK_TCK")

SETTINGS = """[General]
uid=424242
stpWorkDuration=30
stpBreakDuration=2
lblSnooze=1
lblHide=0
radWhenHigh=0
dropdownOsdLocation=1
txtNewPwd=
lblWaitCall=1
lblWaitFullScreen=1
lblWaitDnd=1
"""
# The same Tamsel with every wait for the right moment off: its sources
# (camera, microphone, full screen, do-not-disturb) then hold nothing open.
NOWAIT_SETTINGS = SETTINGS.replace("lblWaitCall=1", "lblWaitCall=0") \
    .replace("lblWaitFullScreen=1", "lblWaitFullScreen=0").replace("lblWaitDnd=1", "lblWaitDnd=0")
# The most the waiting sources may add while the user is idle.
WAIT_SOURCES_LIMIT_MS = 1.0
# The most keeping the history may move the idle and active rows.
HISTORY_LIMIT = 1.05

# One minute of work, one minute of break, no snooze: 1.75 s a cycle at 60x.
CYCLE_SETTINGS = SETTINGS.replace("stpWorkDuration=30", "stpWorkDuration=1") \
    .replace("stpBreakDuration=2", "stpBreakDuration=1").replace("lblSnooze=1", "lblSnooze=0")
BREAK_TITLE = "Tamsel break"
GROWTH_LIMIT_KB = 2 * 1024
# Without a compositor a break holds a picture of the 1920x1080 screen
# (7.9 MiB): at most half as much again for everything else it costs.
PICTURE_LIMIT_KB = 1920 * 1080 * 4 * 3 // 2 // 1024
RETURN_LIMIT_KB = 1024  # left over after a break, against a compositor's run
MAP_LIMIT_MS = 100
HISTORY_GROWTH_LIMIT = 64 * 1024  # bytes over the measured break cycles
SAMPLE_DELAY = 0.3  # s after a break window unmaps

# ---- a little Xlib, enough to find mapped windows ---------------------------


class XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int),
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong),
        ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
        ("screen", ctypes.c_void_p),
    ]


IS_VIEWABLE = 2
XA_CARDINAL = 6
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
# Windows come and go while we look; an X error must not end the script.
_ignore_errors = _ERROR_HANDLER(lambda display, event: 0)


class X11:
    def __init__(self, display_name):
        lib = ctypes.CDLL("libX11.so.6")
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XDefaultRootWindow.restype = ctypes.c_ulong
        lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XQueryTree.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
            ctypes.POINTER(ctypes.c_uint)]
        lib.XGetWindowAttributes.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
        lib.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        lib.XGetSelectionOwner.restype = ctypes.c_ulong
        lib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        lib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                   ctypes.POINTER(ctypes.c_char_p)]
        lib.XFree.argtypes = [ctypes.c_void_p]
        lib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        lib.XConnectionNumber.argtypes = [ctypes.c_void_p]
        lib.XPending.argtypes = [ctypes.c_void_p]
        lib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        lib.XSetErrorHandler(_ignore_errors)
        self.lib = lib
        self.dpy = lib.XOpenDisplay(display_name.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display_name}")
        self.root = lib.XDefaultRootWindow(self.dpy)
        self.net_wm_pid = lib.XInternAtom(self.dpy, b"_NET_WM_PID", 0)

    def close(self):
        if self.dpy:
            self.lib.XCloseDisplay(self.dpy)
            self.dpy = None

    def children(self, window):
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        kids, n = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.lib.XQueryTree(self.dpy, window, ctypes.byref(root), ctypes.byref(parent),
                                   ctypes.byref(kids), ctypes.byref(n)):
            return []
        out = [kids[i] for i in range(n.value)]
        if kids:
            self.lib.XFree(kids)
        return out

    def pid_of(self, window):
        actual, fmt = ctypes.c_ulong(), ctypes.c_int()
        nitems, after, prop = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = self.lib.XGetWindowProperty(
            self.dpy, window, self.net_wm_pid, 0, 1, 0, XA_CARDINAL, ctypes.byref(actual),
            ctypes.byref(fmt), ctypes.byref(nitems), ctypes.byref(after), ctypes.byref(prop))
        pid = None
        if status == 0 and prop.value:
            if nitems.value == 1 and fmt.value == 32:
                pid = ctypes.cast(prop, ctypes.POINTER(ctypes.c_ulong))[0]
            self.lib.XFree(prop)
        return pid

    def viewable(self, window):
        attrs = XWindowAttributes()
        if not self.lib.XGetWindowAttributes(self.dpy, window, ctypes.byref(attrs)):
            return False
        return attrs.map_state == IS_VIEWABLE

    def name(self, window):
        text = ctypes.c_char_p()
        if self.lib.XFetchName(self.dpy, window, ctypes.byref(text)) and text.value is not None:
            return text.value.decode(errors="replace")
        return ""

    def mapped_window_of(self, pid):
        """A viewable window carrying this _NET_WM_PID, anywhere in the tree
        (the tray icon lives inside the tray's window), and what it is."""
        stack = [(self.root, None)]
        while stack:
            window, parent = stack.pop()
            if window != self.root and self.pid_of(window) == pid and self.viewable(window):
                if parent != self.root:
                    return window, "tray icon"
                return window, f'window "{self.name(window)}"'
            stack.extend((child, window) for child in self.children(window))
        return None, None

    def count_viewable(self, title):
        """Viewable top-level windows with exactly this name."""
        return sum(1 for w in self.children(self.root)
                   if self.viewable(w) and self.name(w) == title)

    def has_selection_owner(self, name):
        atom = self.lib.XInternAtom(self.dpy, name.encode(), 0)
        return self.lib.XGetSelectionOwner(self.dpy, atom) != 0


# ---- one private desktop per program ----------------------------------------


def wait_for(predicate, timeout, step=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(step)
    return predicate()


class Desktop:
    """Xvfb + private session bus + tray + fresh HOME, for one program."""

    def __init__(self, label, run_id, settings, compositor=False):
        self.label = label
        self.compositor = compositor
        self.marker = f"{run_id}-{label}"
        self.procs = []
        self.home = tempfile.mkdtemp(prefix=f"tamsel-bench-{label}-")
        self.x = None
        try:
            self._start(settings)
        except BaseException:
            self.close()
            raise

    def _spawn(self, argv, **kw):
        p = subprocess.Popen(argv, stdin=subprocess.DEVNULL, start_new_session=True, **kw)
        self.procs.append(p)
        return p

    def _start(self, settings):
        runtime = os.path.join(self.home, "runtime")
        config = os.path.join(self.home, ".config")
        os.makedirs(runtime, mode=0o700)
        if settings:
            os.makedirs(os.path.join(config, "tamsel"), mode=0o700)
            path = os.path.join(config, "tamsel", "tamsel.conf")
            with open(path, "w") as f:
                f.write(settings)
            os.chmod(path, 0o600)

        read_fd, write_fd = os.pipe()
        self.xvfb = self._spawn(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1920x1080x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "USER": os.environ.get("USER", "root"),
            "LANG": "C.UTF-8",
            "DISPLAY": self.display,
            "XDG_CONFIG_HOME": config,
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_RUNTIME_DIR": runtime,
            "XDG_SESSION_TYPE": "x11",
            # Marks every process started for this desktop, so helpers that a
            # program starts (or has started) can be told from anyone else's.
            "TAMSEL_BENCH": self.marker,
        }
        self.dbus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        address = self.dbus.stdout.readline().decode().strip()
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

        self.x = X11(self.display)
        self.trayer = self._spawn(
            ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
             "--height", "24", "--SetDockType", "true", "--expand", "true"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: self.x.has_selection_owner("_NET_SYSTEM_TRAY_S0"), 15):
            raise RuntimeError("trayer did not take the tray selection")
        self.infrastructure = {self.xvfb.pid, self.dbus.pid, self.trayer.pid}
        if self.compositor:
            xcompmgr = self._spawn(["xcompmgr"], env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
            if not wait_for(lambda: self.x.has_selection_owner("_NET_WM_CM_S0"), 15):
                raise RuntimeError("xcompmgr did not start compositing")
            self.infrastructure.add(xcompmgr.pid)
        # A sound server at the usual place, as on a desktop: the microphone
        # source keeps a connection to it.
        if shutil.which("pulseaudio"):
            script = os.path.join(self.home, "tamsel.pa")
            with open(script, "w") as f:
                f.write("load-module module-native-protocol-unix\n"
                        "load-module module-null-sink\nload-module module-null-source\n")
            self.pulse = self._spawn(
                ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                 "--use-pid-file=no", "--disable-shm=yes", "-F", script],
                env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            socket = os.path.join(runtime, "pulse", "native")
            if not wait_for(lambda: os.path.exists(socket), 15):
                raise RuntimeError("pulseaudio did not start")
            self.infrastructure.add(self.pulse.pid)

    def launch(self, exe):
        return subprocess.Popen([exe], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                start_new_session=True)

    def move_pointer(self, step):
        x = 700 + step % 2
        # Without the marker: the input tool is ours, not a helper.
        env = {k: v for k, v in self.env.items() if k != "TAMSEL_BENCH"}
        subprocess.run(["xdotool", "mousemove", str(x), str(x)], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=5,
                       check=False)

    def close(self):
        if self.x:
            self.x.close()
        for p in reversed(self.procs):
            stop(p)
        # Whatever a program left running on this desktop ends with it.
        marker = f"TAMSEL_BENCH={self.marker}".encode()
        for pid in process_table():
            if marker in read(f"/proc/{pid}/environ").split(b"\0"):
                try:
                    os.kill(pid, signal.SIGTERM)
                except OSError:
                    pass
        shutil.rmtree(self.home, ignore_errors=True)


def stop(p, grace=3):
    if p.poll() is not None:
        return
    try:
        p.terminate()
        p.wait(grace)
    except subprocess.TimeoutExpired:
        p.kill()
        p.wait(grace)
    except ProcessLookupError:
        pass


# ---- what /proc says about a process -----------------------------------------


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


def tasks(pid):
    try:
        return os.listdir(f"/proc/{pid}/task")
    except OSError:
        return []


def cpu_ns(pid):
    """CPU time of all threads in ns (schedstat), or None where the kernel
    keeps no such count."""
    total = 0
    for tid in tasks(pid):
        fields = read(f"/proc/{pid}/task/{tid}/schedstat").split()
        if not fields:
            return None
        total += int(fields[0])
    return total


def cpu_ticks(pid):
    """utime + stime from /proc/PID/stat, in clock ticks."""
    stat = read(f"/proc/{pid}/stat").decode()
    fields = stat.rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def status_fields(pid, tid=None):
    path = f"/proc/{pid}/status" if tid is None else f"/proc/{pid}/task/{tid}/status"
    out = {}
    for line in read(path).decode(errors="replace").splitlines():
        key, _, value = line.partition(":")
        out[key] = value.strip()
    return out


def switches(pid):
    """(voluntary, involuntary) context switches, summed over all threads."""
    voluntary = involuntary = 0
    for tid in tasks(pid):
        s = status_fields(pid, tid)
        voluntary += int(s.get("voluntary_ctxt_switches", 0))
        involuntary += int(s.get("nonvoluntary_ctxt_switches", 0))
    return voluntary, involuntary


def memory_kb(pid):
    rss = int(status_fields(pid).get("VmRSS", "0 kB").split()[0])
    pss = None
    for line in read(f"/proc/{pid}/smaps_rollup").decode().splitlines():
        if line.startswith("Pss:"):
            pss = int(line.split()[1])
    return rss, pss


def peak_kb(pid):
    """The highest VmRSS since the last reset_peak (or the start)."""
    return int(status_fields(pid).get("VmHWM", "0 kB").split()[0])


def reset_peak(pid):
    try:
        with open(f"/proc/{pid}/clear_refs", "w") as f:
            f.write("5")  # VmHWM back to the current VmRSS
    except OSError:
        pass


def process_table():
    table = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        stat = read(f"/proc/{entry}/stat").decode(errors="replace")
        if not stat:
            continue
        name = stat[stat.find("(") + 1:stat.rfind(")")]
        ppid = int(stat.rsplit(")", 1)[1].split()[1])
        table[int(entry)] = (name, ppid)
    return table


def helpers_of(desktop, pid):
    """Processes started on the program's behalf: its children, services the
    private bus activated for it, and anything else carrying the desktop's
    marker (an autolaunched bus, an accessibility bus)."""
    found = {}
    marker = f"TAMSEL_BENCH={desktop.marker}".encode()
    for other, (name, ppid) in process_table().items():
        if other == pid or other in desktop.infrastructure:
            continue
        if ppid in (pid, desktop.dbus.pid) or marker in read(f"/proc/{other}/environ").split(b"\0"):
            found[other] = name
    return found


# ---- the measurements ----------------------------------------------------------


def time_to_first_window(desktop, exe, timeout=20.0, poll=0.005):
    start = time.monotonic()
    p = desktop.launch(exe)
    try:
        while time.monotonic() - start < timeout:
            window, what = desktop.x.mapped_window_of(p.pid)
            if window:
                elapsed = time.monotonic() - start
                return elapsed, what, helpers_of(desktop, p.pid)
            if p.poll() is not None:
                err = p.stderr.read().decode(errors="replace").strip()
                raise RuntimeError(f"{exe} ended with status {p.returncode} before any window"
                                   f" showed: {err[-500:]}")
            time.sleep(poll)
        raise RuntimeError(f"{exe}: no window within {timeout:.0f} s")
    finally:
        stop(p)


class Counters:
    def __init__(self, pid):
        self.pid = pid
        self.t = time.monotonic()
        self.ns = cpu_ns(pid)
        self.ticks = cpu_ticks(pid)
        self.switches = switches(pid)

    def per_minute_since(self, earlier):
        minutes = (self.t - earlier.t) / 60
        ns = None if self.ns is None or earlier.ns is None else self.ns - earlier.ns
        return {
            "cpu_ms": (ns / 1e6 if ns is not None
                       else (self.ticks - earlier.ticks) * 1000 / CLK_TCK) / minutes,
            "cpu_ticks_ms": (self.ticks - earlier.ticks) * 1000 / CLK_TCK / minutes,
            "switches": (sum(self.switches) - sum(earlier.switches)) / minutes,
            # The program's own wake-ups: involuntary switches follow the
            # machine's other load.
            "wakeups": (self.switches[0] - earlier.switches[0]) / minutes,
        }


def sleep_watching(seconds, runs, helpers, every=10):
    """Waits, looking for helper processes now and then."""
    deadline = time.monotonic() + seconds
    while True:
        for label, (desktop, p) in runs.items():
            helpers[label].update(helpers_of(desktop, p.pid))
            if p.poll() is not None:
                raise RuntimeError(f"{label} ended during the run (status {p.returncode})")
        left = deadline - time.monotonic()
        if left <= 0:
            return
        time.sleep(min(every, left))


def measure(args, programs, settings):
    run_id = uuid.uuid4().hex[:8]
    desktops = {}
    launched = []
    results = {label: {} for label in programs}
    try:
        for label in programs:
            desktops[label] = Desktop(label, run_id, settings.get(label))
        helpers = {label: {} for label in programs}

        # Start-up, one program at a time so neither slows the other; the
        # order alternates from round to round.
        timed = ("tamsel", "floor")
        starts = {label: [] for label in timed}
        order = list(timed)
        for round_ in range(args.starts):
            for label in (order if round_ % 2 == 0 else order[::-1]):
                seconds, window, found = time_to_first_window(desktops[label], programs[label])
                starts[label].append(seconds)
                helpers[label].update(found)
                print(f"  start {round_ + 1}/{args.starts} {label}: {seconds * 1000:.0f} ms"
                      f" ({window})", flush=True)
                time.sleep(0.5)
        for label in timed:
            results[label]["start_ms"] = statistics.median(starts[label]) * 1000
            results[label]["start_range"] = (min(starts[label]) * 1000,
                                             max(starts[label]) * 1000)

        # The long run: all at once, each on its own desktop.
        runs = {}
        for label in programs:
            runs[label] = (desktops[label], desktops[label].launch(programs[label]))
            launched.append(runs[label][1])
        print(f"  both running; memory after {args.settle:.0f} s", flush=True)
        sleep_watching(args.settle, runs, helpers)
        for label, (_, p) in runs.items():
            rss, pss = memory_kb(p.pid)
            results[label].update(rss_kb=rss, pss_kb=pss, threads=len(tasks(p.pid)))

        print(f"  idle for {args.idle:.0f} s", flush=True)
        before = {label: Counters(p.pid) for label, (_, p) in runs.items()}
        sleep_watching(args.idle, runs, helpers)
        for label, (_, p) in runs.items():
            results[label]["idle"] = Counters(p.pid).per_minute_since(before[label])

        print(f"  pointer moving every second for {args.active:.0f} s", flush=True)
        before = {label: Counters(p.pid) for label, (_, p) in runs.items()}
        deadline = time.monotonic() + args.active
        step = 0
        while time.monotonic() < deadline:
            tick = time.monotonic()
            for desktop, _ in runs.values():
                desktop.move_pointer(step)
            step += 1
            if step % 10 == 0:
                sleep_watching(0, runs, helpers)
            time.sleep(max(0.0, 1.0 - (time.monotonic() - tick)))
        for label, (_, p) in runs.items():
            results[label]["active"] = Counters(p.pid).per_minute_since(before[label])
        sleep_watching(0, runs, helpers)
        for label, (_, p) in runs.items():
            results[label]["helpers"] = helpers[label]
            stop(p)
    finally:
        for p in launched:
            stop(p)
        for desktop in desktops.values():
            desktop.close()
    return results


class Input:
    """Continuous pointer motion: one xdotool at a time, moving every 30 ms
    (under 2 s of idle time at 60x, well below the 5 s that counts as away)."""

    def __init__(self, desktop):
        self.env = {k: v for k, v in desktop.env.items() if k != "TAMSEL_BENCH"}
        self.proc = None

    def keep_going(self):
        if self.proc is None or self.proc.poll() is not None:
            chain = []
            for i in range(500):
                chain += ["mousemove", str(600 + i % 2), "600", "sleep", "0.03"]
            self.proc = subprocess.Popen(["xdotool"] + chain, env=self.env,
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL, start_new_session=True)

    def stop(self):
        if self.proc:
            stop(self.proc)


class MapWatch:
    """Times each break window from its creation to its mapping, as the X
    server reports them (CreateNotify, MapNotify on the root window), on a
    connection and a thread of its own."""

    CREATE_NOTIFY, MAP_NOTIFY = 16, 19
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

    def __init__(self, display_name):
        self.x = X11(display_name)
        self.x.lib.XSelectInput(self.x.dpy, self.x.root, self.SUBSTRUCTURE_NOTIFY_MASK)
        self.delays = []  # seconds
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()

    def _run(self):
        lib, dpy = self.x.lib, self.x.dpy
        fd = lib.XConnectionNumber(dpy)
        event = ctypes.create_string_buffer(192)  # sizeof(XEvent)
        created = {}
        while not self._stop.is_set():
            if not lib.XPending(dpy):
                select.select([fd], [], [], 0.1)
                continue
            lib.XNextEvent(dpy, event)
            now = time.monotonic()
            kind = ctypes.c_int.from_buffer(event, 0).value & 0x7F
            window = ctypes.c_ulong.from_buffer(event, 40).value  # both events' window
            if kind == self.CREATE_NOTIFY:
                created[window] = now
            elif kind == self.MAP_NOTIFY and window in created:
                if self.x.name(window) == BREAK_TITLE:
                    self.delays.append(now - created[window])
                del created[window]

    def close(self):
        self._stop.set()
        self._thread.join(5)
        self.x.close()


def history_size(home):
    """The history database's bytes with its write-ahead log folded in, and
    the moments it holds."""
    path = os.path.join(home, ".local", "share", "tamsel", "history.sqlite")
    db = sqlite3.connect(path, timeout=2)
    try:
        db.execute("PRAGMA wal_checkpoint(PASSIVE)")
        moments = db.execute("SELECT count(*) FROM events").fetchone()[0]
    finally:
        db.close()
    return os.path.getsize(path), moments


def break_cycles(args, run_id, count, compositor=False):
    """Runs tamsel-timelapse through `count` breaks under steady input.
    VmRSS (kB) right after each break window unmaps, by cycle number; the
    peak VmRSS of each cycle (its break); each break window's time from
    creation to mapping; the history's size after the warm-up and the last
    cycle."""
    exe = os.path.join(args.build, "tamsel-timelapse")
    desktop = Desktop("timelapse", run_id, CYCLE_SETTINGS, compositor)
    p = None
    input_ = Input(desktop)
    watch = MapWatch(desktop.display)
    rss, peak, history = {}, {}, {}
    try:
        p = desktop.launch(exe)
        started = time.monotonic()
        on_break, cycles, sample_at = False, 0, None
        # A cycle takes under 2 s; ten times that without one is a hang.
        deadline = started + 20
        while cycles < count or sample_at:
            input_.keep_going()
            if p.poll() is not None:
                err = p.stderr.read().decode(errors="replace").strip()
                raise RuntimeError(f"tamsel-timelapse ended with {p.returncode}: {err[-500:]}")
            now = time.monotonic()
            if now > deadline:
                raise RuntimeError(f"no break cycle within 20 s (after {cycles} cycles)")
            shown = desktop.x.count_viewable(BREAK_TITLE) > 0
            if shown and not on_break:
                on_break = True
            elif on_break and not shown:
                on_break = False
                cycles += 1
                deadline = now + 20
                # Read once the closed windows are released (from the event
                # loop), still early in the next work period (0.75 s).
                sample_at = now + SAMPLE_DELAY
            if sample_at and now >= sample_at:
                sample_at = None
                rss[cycles] = memory_kb(p.pid)[0]
                peak[cycles] = peak_kb(p.pid)
                reset_peak(p.pid)
                if cycles in (args.warmup, count):
                    history[cycles] = history_size(desktop.home)
                if cycles in (1, args.warmup) or cycles % 10 == 0:
                    print(f"  break cycle {cycles}: VmRSS {rss[cycles] / 1024:.1f} MB, "
                          f"peak {peak[cycles] / 1024:.1f} MB, "
                          f"after {now - started:.0f} s", flush=True)
            time.sleep(0.01)
        return {"rss": rss, "peak": peak, "map_s": list(watch.delays), "history": history,
                "seconds": time.monotonic() - started}
    finally:
        watch.close()
        input_.stop()
        if p:
            stop(p)
        desktop.close()


METHOD = """How it was measured: each program runs on its own Xvfb with trayer as
the tray, a private dbus-daemon and a fresh HOME; tamsel has the settings of
a second launch (30-minute work period, indicator top centre). Start-up is
the time from exec to the first viewable X window carrying the program's
_NET_WM_PID (its tray icon or a window), polled every 5 ms, one program at a
time, alternating which goes first. For the rest all programs run at once:
tamsel with its three waits for the right moment on (call, full screen and
do-not-disturb), the same tamsel with the three off, tamsel-nohistory
(the same program built to keep no history) and the floor; every
desktop has a PulseAudio server with a null sink and a null source at the
usual socket, so the microphone source stays connected to it, and /dev
holds no camera. "Added by the waiting sources" is the first tamsel's idle
CPU minus the second's. The history rows compare the first tamsel with
tamsel-nohistory; they count voluntary switches only (the program's own
waits), as the involuntary ones follow the machine's other load.
CPU time is the run time of all threads from /proc/PID/task/*/schedstat (ns);
utime+stime from /proc/PID/stat is shown too, but at 10 ms per tick it cannot
resolve a few milliseconds a minute. Context switches are voluntary plus
involuntary, summed over all threads. "Active" means xdotool moves the
pointer every second. Helpers are the program's children, services its
private bus started, and any process carrying its desktop's marker variable.
The floor is bench/floor.cpp. The machine is shared with other work, so
absolute start-up times vary between runs; each ratio compares one run.
Break cycles: tamsel-timelapse is the same program built with its clock,
timers and idle time 60 times faster (TAMSEL_TIME_SCALE=60); with a 1-minute
work period, a 1-minute break and no snooze, and xdotool moving the pointer
every 30 ms, a cycle takes under 2 s. A cycle ends when the break window
unmaps; VmRSS is read 0.3 s later (18 s into the next work period). The growth is measured from the end of
a warm-up cycle (the first breaks load fonts and styles once) to the last.
These breaks run with no compositor, so each takes a picture of the screen
as it begins; a second, shorter run with xcompmgr compares. The peak of a
cycle is VmHWM when VmRSS is read, reset then (clear_refs 5) for the next
one: the most the break held, copies made while taking the picture
included. A thread on its own X connection times each break window from
the server's CreateNotify to its MapNotify (the picture is taken between
the two, as the window shows).
The history database is measured at the same two moments, its write-ahead
log first folded into it (a passive checkpoint from a second connection).
"""


# ---- the table -------------------------------------------------------------------


def ratio(value, floor):
    if floor == 0:
        return 1.0 if value == 0 else float("inf")
    return value / floor


def table(results, args):
    t, f = results["tamsel"], results["floor"]
    rows = []

    def judged(name, unit, tv, fv, limit, fmt="{:.1f}"):
        r = ratio(tv, fv)
        rows.append((name, f"{fmt.format(tv)} {unit}".strip(), f"{fmt.format(fv)} {unit}".strip(),
                     "—" if r == float("inf") else f"{r:.2f}×", f"≤ {limit}× floor",
                     "PASS" if r <= limit else "FAIL"))

    judged(f"Start-up to first window (median of {args.starts})", "ms",
           t["start_ms"], f["start_ms"], 1.5, "{:.0f}")
    judged(f"Resident memory after {args.settle / 60:g} min (VmRSS)", "MB",
           t["rss_kb"] / 1024, f["rss_kb"] / 1024, 1.25)
    judged("CPU time per minute, idle", "ms", t["idle"]["cpu_ms"], f["idle"]["cpu_ms"], 1.5,
           "{:.2f}")
    judged("CPU time per minute, active", "ms", t["active"]["cpu_ms"],
           f["active"]["cpu_ms"], 1.5, "{:.2f}")
    judged("Context switches per minute, idle", "", t["idle"]["switches"],
           f["idle"]["switches"], 1.5)
    judged("Context switches per minute, active", "", t["active"]["switches"],
           f["active"]["switches"], 1.5)
    cycles = results.get("cycles")
    if cycles:
        first, last = cycles["rss"][args.warmup], cycles["rss"][args.cycles]
        growth = last - first
        rows.append((f"Memory growth over break cycles {args.warmup}→{args.cycles} (VmRSS)",
                     f"{growth / 1024:+.2f} MiB ({first / 1024:.1f} → {last / 1024:.1f})",
                     "—", "—", "≤ 2 MiB", "PASS" if growth <= GROWTH_LIMIT_KB else "FAIL"))
        (b0, m0), (b1, m1) = cycles["history"][args.warmup], cycles["history"][args.cycles]
        rows.append((f"History database growth over break cycles {args.warmup}→{args.cycles}",
                     f"+{b1 - b0} bytes ({b0} → {b1}; +{m1 - m0} moments)", "—", "—",
                     f"≤ {HISTORY_GROWTH_LIMIT // 1024} KiB",
                     "PASS" if b1 - b0 <= HISTORY_GROWTH_LIMIT else "FAIL"))
    n = results["tamsel-nowait"]
    added = t["idle"]["cpu_ms"] - n["idle"]["cpu_ms"]
    rows.append(("CPU time per minute, idle, added by the waiting sources", f"{added:+.2f} ms",
                 "—", "—", f"≤ {WAIT_SOURCES_LIMIT_MS:g} ms",
                 "PASS" if added <= WAIT_SOURCES_LIMIT_MS else "FAIL"))
    h = results["tamsel-nohistory"]
    for what, key, fmt in (("CPU time per minute", "cpu_ms", "{:.2f} ms"),
                           ("Voluntary context switches per minute", "wakeups", "{:.1f}")):
        for phase in ("idle", "active"):
            r = ratio(t[phase][key], h[phase][key])
            rows.append((f"{what}, {phase}, with the history against without",
                         f"{fmt.format(t[phase][key])} against {fmt.format(h[phase][key])}",
                         "—", f"{r:.2f}×", f"≤ {HISTORY_LIMIT:g}×",
                         "PASS" if r <= HISTORY_LIMIT else "FAIL"))
    th, fh = t["helpers"], f["helpers"]
    rows.append(("Helper processes started", describe(th), describe(fh), "—", "none",
                 "PASS" if not th else "FAIL"))

    lines = ["| Measure | tamsel | floor | ratio | target | result |",
             "|---|---|---|---|---|---|"]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    lines.append("")
    lines.append("Not judged:")
    lines.append("")
    lines.append("| Measure | tamsel | floor |")
    lines.append("|---|---|---|")
    lines.append(f"| Start-up range | {t['start_range'][0]:.0f}–{t['start_range'][1]:.0f} ms "
                 f"| {f['start_range'][0]:.0f}–{f['start_range'][1]:.0f} ms |")
    if t["pss_kb"] is not None and f["pss_kb"] is not None:
        lines.append(f"| Proportional memory (PSS), same moment | {t['pss_kb'] / 1024:.1f} MB "
                     f"| {f['pss_kb'] / 1024:.1f} MB |")
    lines.append(f"| Threads | {t['threads']} | {f['threads']} |")
    for phase in ("idle", "active"):
        lines.append(f"| tamsel with the waits off: CPU per minute, {phase} "
                     f"| {n[phase]['cpu_ms']:.2f} ms (with them {t[phase]['cpu_ms']:.2f} ms) | — |")
    lines.append(f"| tamsel with the waits off: context switches per minute, idle "
                 f"| {n['idle']['switches']:.1f} (with them {t['idle']['switches']:.1f}) | — |")
    for phase in ("idle", "active"):
        lines.append(f"| Voluntary context switches per minute, {phase} "
                     f"| {t[phase]['wakeups']:.1f} | {f[phase]['wakeups']:.1f} |")
    lines.append(f"| tamsel with the waits off: VmRSS after {args.settle / 60:g} min "
                 f"| {n['rss_kb'] / 1024:.1f} MB | — |")
    for phase in ("idle", "active"):
        lines.append(f"| CPU per minute, {phase}, utime+stime (10 ms ticks) "
                     f"| {t[phase]['cpu_ticks_ms']:.0f} ms | {f[phase]['cpu_ticks_ms']:.0f} ms |")
    if cycles:
        marks = sorted({1, args.warmup, args.cycles // 4, args.cycles // 2,
                        3 * args.cycles // 4, args.cycles} - {0})
        lines.append(f"| VmRSS after break cycle " + ", ".join(map(str, marks)) + " | " +
                     ", ".join(f"{cycles['rss'][m] / 1024:.1f}" for m in marks) + " MB | — |")
        lines.append(f"| {args.cycles} break cycles in time lapse took | "
                     f"{cycles['seconds']:.0f} s | — |")
    composited = results.get("composited")
    if cycles and composited:
        rows += breaks_table(lines, cycles, composited, args)
    failed = any(row[-1] == "FAIL" for row in rows)
    return "\n".join(lines), failed


def breaks_table(lines, bare, composited, args):
    """Memory and time to map of breaks without a compositor (each takes a
    picture of the screen) and with one; appended to lines, judged rows
    returned."""
    def after_warmup(by_cycle):
        return statistics.median(v for k, v in by_cycle.items() if k > args.warmup)

    peaks = (after_warmup(bare["peak"]), after_warmup(composited["peak"]))
    after = (after_warmup(bare["rss"]), after_warmup(composited["rss"]))
    maps = [sorted(run["map_s"][args.warmup:]) for run in (bare, composited)]
    rows = [
        ("Peak VmRSS of a break (median; VmHWM, reset after each)",
         *(f"{kb / 1024:.1f} MB" for kb in peaks),
         f"≤ {PICTURE_LIMIT_KB / 1024:.1f} MiB more",
         "PASS" if peaks[0] - peaks[1] <= PICTURE_LIMIT_KB else "FAIL"),
        ("VmRSS after a break (median, 0.3 s after it unmaps)",
         *(f"{kb / 1024:.1f} MB" for kb in after), f"≤ {RETURN_LIMIT_KB / 1024:.0f} MiB more",
         "PASS" if after[0] - after[1] <= RETURN_LIMIT_KB else "FAIL"),
        ("Break window created → mapped (median; slowest)",
         *(f"{statistics.median(m) * 1000:.0f} ms; {m[-1] * 1000:.0f} ms" for m in maps),
         f"≤ {MAP_LIMIT_MS} ms", "PASS" if statistics.median(maps[0]) * 1000 <= MAP_LIMIT_MS
         else "FAIL"),
    ]
    lines += ["", f"Breaks without and with a compositor (tamsel-timelapse, cycles after the "
              f"{args.warmup} of warm-up; {len(bare['peak'])} and "
              f"{len(composited['peak'])} breaks):", "",
              "| Measure | no compositor | xcompmgr | target | result |", "|---|---|---|---|---|"]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    return rows


def describe(helpers):
    if not helpers:
        return "none"
    return ", ".join(f"{name} ({pid})" for pid, name in sorted(helpers.items()))


def machine():
    model = "unknown CPU"
    for line in read("/proc/cpuinfo").decode(errors="replace").splitlines():
        if line.startswith("model name"):
            model = line.split(":", 1)[1].strip()
            break
    debian = read("/etc/debian_version").decode().strip()
    qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libqt6core6"],
                        capture_output=True, text=True, check=False).stdout.strip()
    pulse = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "pulseaudio"],
                           capture_output=True, text=True, check=False).stdout.strip()
    return (f"{model}, {os.cpu_count()} cores, Linux {platform.release()}, "
            f"Debian {debian or '?'}, Qt {qt or '?'}, Xvfb 1920×1080×24 with trayer, no WM, "
            f"PulseAudio {pulse or '?'}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build"),
                        help="build folder holding tamsel and tamsel-floor")
    parser.add_argument("--starts", type=int, default=7, help="start-ups per program (≥ 5)")
    parser.add_argument("--settle", type=float, default=120, help="seconds before memory")
    parser.add_argument("--idle", type=float, default=180, help="seconds of the idle phase")
    parser.add_argument("--active", type=float, default=180, help="seconds of the input phase")
    parser.add_argument("--cycles", type=int, default=100,
                        help="break cycles in time lapse (0: none)")
    parser.add_argument("--compositor-cycles", type=int, default=20,
                        help="break cycles with xcompmgr, to compare (0: none)")
    parser.add_argument("--warmup", type=int, default=3,
                        help="break cycles before the memory growth is counted")
    parser.add_argument("--results", help="also write the table to this Markdown file")
    parser.add_argument("--strict", action="store_true", help="exit 1 when a target is missed")
    args = parser.parse_args()

    programs = {"tamsel": os.path.join(args.build, "tamsel"),
                "tamsel-nowait": os.path.join(args.build, "tamsel"),
                "tamsel-nohistory": os.path.join(args.build, "tamsel-nohistory"),
                "floor": os.path.join(args.build, "tamsel-floor")}
    for exe in programs.values():
        if not os.access(exe, os.X_OK):
            sys.exit(f"{exe} not found: build first (make build)")
    missing = [tool for tool in ("Xvfb", "trayer", "dbus-daemon", "xdotool", "xcompmgr")
               if not shutil.which(tool)]
    if missing:
        sys.exit("missing tools: " + ", ".join(missing) + " (make deps installs them)")
    if args.starts < 1:
        sys.exit("--starts must be at least 1")
    if not os.access(programs["tamsel-nohistory"], os.X_OK):
        sys.exit("tamsel-nohistory not found: cmake --build BUILD --target tamsel-nohistory")
    if args.cycles and not os.access(os.path.join(args.build, "tamsel-timelapse"), os.X_OK):
        sys.exit("tamsel-timelapse not found: cmake --build BUILD --target tamsel-timelapse")
    if args.cycles and not 1 <= args.warmup < args.cycles:
        sys.exit("--warmup must be at least 1 and below --cycles")

    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    when = datetime.datetime.now().astimezone()
    print(f"Tamsel footprint benchmark, {when:%Y-%m-%d %H:%M %Z}", flush=True)
    results = measure(args, programs, {"tamsel": SETTINGS, "tamsel-nowait": NOWAIT_SETTINGS,
                                       "tamsel-nohistory": SETTINGS})
    if args.cycles:
        print(f"  {args.cycles} break cycles in time lapse", flush=True)
        results["cycles"] = break_cycles(args, uuid.uuid4().hex[:8], args.cycles)
        if args.compositor_cycles > args.warmup:
            print(f"  {args.compositor_cycles} break cycles with xcompmgr", flush=True)
            results["composited"] = break_cycles(args, uuid.uuid4().hex[:8],
                                                 args.compositor_cycles, compositor=True)
    text, failed = table(results, args)
    print()
    print(text)
    if args.results:
        with open(args.results, "w") as f:
            f.write("# Footprint benchmark results\n\n")
            f.write(f"Run on {when:%Y-%m-%d %H:%M %Z} with `bench/run.py` "
                    f"(start-ups: {args.starts}, memory after {args.settle:.0f} s, "
                    f"idle {args.idle:.0f} s, active {args.active:.0f} s, "
                    f"{args.cycles} break cycles).\n\n")
            f.write(f"Machine: {machine()}.\n\n")
            f.write(text + "\n\n")
            f.write(METHOD)
    sys.exit(1 if failed and args.strict else 0)


if __name__ == "__main__":
    main()
