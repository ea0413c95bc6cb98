#!/usr/bin/env python3
"""One Tamsel per user, the tray menu, and start at login.

A second `tamsel` of the same user ends with status 0 within 3 s, leaves
the settings alone, and the first one shows its preferences. There, "Start
Tamsel when I log in" and Save write the XDG autostart file; unticked (the
preferences opened from the menu's first item) Save removes it. The menu's
Pause pauses for 30 minutes through its submenu; then Resume stands in its
place and brings the squares back; Quit is the last item. As root, another
user cannot reach the single-instance socket, even with the folders open."""

import os
import shutil
import subprocess
import sys
import time

import harness as h

PEER_CLIENT = """
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.settimeout(3)
try:
    s.connect(sys.argv[1])
except PermissionError:
    print("denied"); sys.exit()
try:
    s.sendall(b"show-preferences\\n")
    print("answer:", s.recv(64) or "none")
except ConnectionError:
    print("answer: cut off")
"""


def save_preferences_with_login_box(display, how):
    prefs = display.wait_window(h.PREFS_TITLE, 5)
    h.check(prefs, f"no preferences after {how}")
    display.answer(prefs[0])
    time.sleep(0.5)  # the window takes the keyboard a moment after it maps
    display.key("alt+l")
    time.sleep(0.3)  # a mnemonic clicks its box 100 ms after the key
    display.key("Return")
    h.check(h.wait_until(lambda: not display.windows(h.PREFS_TITLE), 3), "Save did not close")


def another_user_is_refused(session, display, app):
    if os.geteuid() != 0 or not shutil.which("useradd"):
        return h.note("not root: the other user's part is left out")
    peer = h.system_user("tamsel-e2e-peer")
    socket = app.home / "run" / "tamsel.socket"
    says = lambda: subprocess.run(["setpriv", f"--reuid={peer.pw_uid}", f"--regid={peer.pw_gid}", "--clear-groups",
                                   sys.executable, "-c", PEER_CLIENT, str(socket)],
                                  capture_output=True, text=True, timeout=10).stdout.strip()
    h.check((said := says()) == "denied", f"another user reached the socket's folder: {said}")
    folders = (session.tmp, app.home, app.home / "run")
    for path in folders:
        path.chmod(0o711)
    socket.chmod(0o777)
    h.check((said := says()) in ("answer: cut off", "answer: none"), f"another user was heard: {said}")
    time.sleep(1)
    h.check(not display.windows(h.PREFS_TITLE), "another user's request opened the preferences")
    for path in folders:
        path.chmod(0o700)


def story(session):
    display = session.display()
    display.start_wm()
    display.start_compositor()  # the squares are counted against its plain grey
    display.start_tray()
    app = h.Tamsel(session, display, h.default_settings(dropdownOsdLocation=3)).start()
    win = app.wait_indicator(5)
    h.check(win, "no indicator")
    stored = app.settings_path.read_bytes()
    autostart = app.config_home / "autostart" / "tamsel.desktop"

    begun = time.monotonic()
    second = subprocess.run([app.binary], env=app.env, capture_output=True, timeout=10)
    h.check(second.returncode == 0 and time.monotonic() - begun < 3,
            f"the second launch did not end with 0 within 3 s: {second.returncode}")
    h.check(app.settings_path.read_bytes() == stored, "the second launch touched the settings")
    save_preferences_with_login_box(display, "a second launch")
    h.check(f"Exec={app.binary}\n" in (autostart.exists() and autostart.read_text() or ""),
            "Save with the box ticked wrote no autostart entry")
    display.choose_from_tray_menu("Preferences…")
    save_preferences_with_login_box(display, "the menu's first item")
    h.check(not autostart.exists(), "Save with the box cleared left the autostart file")

    display.open_tray_menu()
    display.key(*["Down"] * (h.TRAY_MENU.index("Pause") + 1), "Right", "Return")  # Pause > For 30 minutes
    paused = h.wait_until(lambda: int(app.settings().get("pausedUntil", 0)), 3)
    h.check(paused and abs(paused - time.time() - 1800) < 10, f"pausedUntil: {paused}")
    h.check(h.wait_until(lambda: display.squares(win) > 1, 3), "the squares still show")
    display.choose_from_tray_menu("Resume")
    h.check(h.wait_until(lambda: app.settings().get("pausedUntil") == "0", 3), "not resumed")
    h.check(h.wait_until(lambda: display.squares(win) == 1, 3), "no square after Resume")

    another_user_is_refused(session, display, app)
    display.choose_from_tray_menu("Quit")
    h.check(app.wait_exit(5) == 0, "Quit, the last item, did not end Tamsel with status 0")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=110))
