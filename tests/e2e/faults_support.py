"""Helpers for the fault stories, on top of harness.py.

A stand-in for the maker's server that misbehaves on purpose, a tray that
can be killed and started again, the tray's message balloon, the
preferences round trip through the tray menu, and the squares on the
indicator. Python 3 standard library only.
"""

import os
import re
import signal
import socket
import struct
import threading
import time

import harness as h


# ---- a server that misbehaves ------------------------------------------------

class FaultyServer:
    """Listens where tamsel-testserver sends its usage event and answers each
    connection as the mode set when it came in:

      reset   accepts, then resets the connection without a word
      silent  reads the request and never answers
      slow    answers 200, one byte of the body every `drip` seconds
      404/500 that status, with a short page as body
      huge    200 with a body of `huge_bytes`
      binary  200 with bytes that are no text: NULs, escapes, line breaks
    """

    SLOW_BODY = b"slow-but-complete"
    PAGE = b"<html><body>%d: no such page</body></html>"
    BINARY = (b"\x00\x01bin\x00ary\x1b[31m red \x1b]0;title\x07\r\n"
              b"second line\xff\xfe\x80 end")

    def __init__(self, drip=0.4, huge_bytes=5 * 1024 * 1024):
        self.mode = "silent"
        self.drip, self.huge_bytes = drip, huge_bytes
        self.requests = []  # (monotonic time, mode, first request line)
        self._held = []  # sockets of silent connections, closed at stop()
        self._stop = threading.Event()
        deadline = time.monotonic() + 15
        while True:
            self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            try:
                self.sock.bind(("127.0.0.1", h.USAGE_PORT))
                break
            except OSError as exc:
                self.sock.close()
                if time.monotonic() > deadline:
                    raise RuntimeError(f"port {h.USAGE_PORT} stays busy: {exc}") from exc
                time.sleep(0.5)
        self.sock.listen(16)
        self.sock.settimeout(0.2)
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def requests_in(self, mode):
        return [r for r in self.requests if r[1] == mode]

    def _serve(self):
        while not self._stop.is_set():
            try:
                conn, _ = self.sock.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            threading.Thread(target=self._answer, args=(conn, self.mode), daemon=True).start()

    def _read_request(self, conn):
        conn.settimeout(5)
        data = b""
        try:
            while b"\r\n\r\n" not in data and len(data) < 65536:
                chunk = conn.recv(4096)
                if not chunk:
                    break
                data += chunk
        except OSError:
            pass
        return data.split(b"\r\n", 1)[0].decode(errors="replace")

    def _answer(self, conn, mode):
        try:
            if mode == "reset":
                self.requests.append((time.monotonic(), mode, ""))
                # SO_LINGER with a zero time-out: close() sends RST.
                conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                return
            line = self._read_request(conn)
            self.requests.append((time.monotonic(), mode, line))
            if mode == "silent":
                self._held.append(conn)
                conn = None
                return
            if mode == "slow":
                self._head(conn, 200, len(self.SLOW_BODY))
                for byte in self.SLOW_BODY:
                    if self._stop.wait(self.drip):
                        return
                    conn.sendall(bytes([byte]))
            elif mode in ("404", "500"):
                body = self.PAGE % int(mode)
                self._head(conn, int(mode), len(body))
                conn.sendall(body)
            elif mode == "huge":
                self._head(conn, 200, self.huge_bytes)
                block = b"x" * 65536
                sent = 0
                while sent < self.huge_bytes and not self._stop.is_set():
                    conn.sendall(block)
                    sent += len(block)
            elif mode == "binary":
                self._head(conn, 200, len(self.BINARY), "application/octet-stream")
                conn.sendall(self.BINARY)
        except OSError:
            pass  # the client gave up: that is its right
        finally:
            if conn is not None:
                conn.close()

    @staticmethod
    def _head(conn, status, length, kind="text/plain"):
        reason = {200: "OK", 404: "Not Found", 500: "Internal Server Error"}[status]
        conn.sendall(f"HTTP/1.1 {status} {reason}\r\nContent-Type: {kind}\r\n"
                     f"Content-Length: {length}\r\nConnection: close\r\n\r\n".encode())

    def stop(self):
        self._stop.set()
        self.sock.close()
        for conn in self._held:
            conn.close()


# ---- the tray ------------------------------------------------------------------

def start_tray(display):
    """trayer as harness starts it, but the process is returned so the story
    can end it by its PID."""
    h.require_tools("trayer")
    proc = display.session.spawn(
        "trayer", ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                   "--height", "24", "--SetDockType", "true", "--transparent", "false",
                   "--tint", "0x303030", "--expand", "true"], env=display.env)
    if not h.wait_until(lambda: display.selection_owned("_NET_SYSTEM_TRAY_S0"), 10):
        raise RuntimeError("trayer did not take the tray selection")
    return proc


def docked_icon_owner(display):
    """WM_CLASS of the largest window docked in trayer's panel, or None."""
    panel = display._tray_panel()
    if not panel:
        return None
    tree = display.run("xwininfo", "-tree", "-id", hex(panel.wid), check=False).decode()
    for m in re.finditer(r"(0x[0-9a-f]+) .*?(\d+)x(\d+)\+", tree):
        if int(m.group(2)) >= 16 and int(m.group(3)) >= 16:
            out = display.run("xprop", "-id", m.group(1), "WM_CLASS", check=False).decode()
            if '"tamsel"' in out:
                return "tamsel"
    return None


def tray_balloons(display):
    """Mapped message balloons of the program: its tool-tip windows that are
    large enough to hold a sentence."""
    found = []
    for wid in display.search("--onlyvisible", "--classname", "tamsel"):
        info = display.info(wid)
        if info and info.override_redirect and info.width >= 200 and info.height >= 40 \
                and "TOOLTIP" in display.window_types(wid):
            found.append(info)
    return found


def notices(display):
    """Mapped "Tamsel" windows that are neither the indicator nor a modal box
    the story opened: the plain notice a fault brings."""
    return display.dialogs()


# ---- the preferences, through the tray menu ---------------------------------------

def save_preferences(display):
    """Opens the preferences from the tray menu and presses Save (Return)."""
    display.choose_from_tray_menu(0)
    prefs = display.wait_window(h.PREFS_TITLE, 5)
    h.check(prefs, "the preferences did not open from the tray menu")
    display.focus(prefs[0].wid)
    display.key("Return")
    h.check(display.wait_gone(h.PREFS_TITLE, 3), "Return did not save and close the preferences")


def pass_welcome(display, timeout=5):
    """Waits for the first-launch window and presses Done; its info."""
    welcome = display.wait_window(h.WELCOME_TITLE, timeout)
    h.check(welcome, f"no welcome window within {timeout} s")
    display.focus(welcome[0].wid)
    display.key("Return")
    h.check(display.wait_gone(h.WELCOME_TITLE, 3), "Return did not close the welcome window")
    return welcome[0]


# ---- the indicator ----------------------------------------------------------------

def squares(display, win):
    """Squares on the indicator: runs of columns holding dark ink. Needs a
    compositor, so the see-through parts show the plain grey behind."""
    image = display.screenshot().crop(win.x, win.y, win.width, win.height)
    count, inside = 0, False
    for x in range(image.width):
        ink = any(max(image.pixel(x, y)) < 100 for y in range(image.height))
        if ink and not inside:
            count += 1
        inside = ink
    return count


# ---- processes ----------------------------------------------------------------------

def pause(proc):
    os.kill(proc.pid, signal.SIGSTOP)


def resume(proc):
    os.kill(proc.pid, signal.SIGCONT)


def output_lines(app):
    """Non-empty lines the program wrote to standard output."""
    return [line for line in app.stdout().splitlines() if line.strip()]


def stderr_text(app):
    return (app.session.logs / f"{app.name}-{app.runs}.err").read_text(errors="replace")
