#!/usr/bin/env python3
"""Takes docs/welcome.png, docs/preferences.png, docs/password.png,
docs/no-tray.png, docs/tray-menu.png, docs/paused.png, docs/waiting.png
and docs/setup-check.png on a private Xvfb with openbox (window frames) and
trayer (the tray); and docs/statistics.png and docs/statistics-dark.png at
twice the scale, light and dark, from the Qt tests' seeded statistics window
on the offscreen platform.

    TAMSEL_BIN=build/tamsel TAMSEL_TESTSERVER_BIN=build/tamsel-testserver \\
        python3 docs/take_screenshots.py [welcome password no-tray menu waiting
        setup-check statistics]

Names limit the run to those pictures (welcome takes preferences.png too).

Look at the pictures afterwards: a window that was still drawing shows up
half-painted, and then it is simply taken again."""

import os
import subprocess
import sys
import time
from pathlib import Path

DOCS = Path(__file__).resolve().parent
sys.path.insert(0, str(DOCS.parent / "tests" / "e2e"))

import harness as h  # noqa: E402

BACKGROUND = "#4a5866"


def desktop(session, tray):
    display = session.display()
    display.run("xsetroot", "-solid", BACKGROUND)
    display.start_wm()
    if tray:
        display.start_tray()
    return display


def grab(display, *argv):
    """A picture from ImageMagick's import, as bytes (display.run gives text)."""
    return subprocess.run(["import", "-silent", *argv, "png:-"], env=display.env,
                          capture_output=True, check=True, timeout=h.TOOL_TIMEOUT).stdout


def window_with_frame(display, win, path):
    """The window as the user sees it, title bar and border included."""
    time.sleep(0.5)  # openbox draws the frame a moment after the map
    path.write_bytes(grab(display, "-frame", "-window", hex(win.wid)))


def welcome_and_preferences(session):
    display = desktop(session, tray=True)
    app = h.Tamsel(session, display, name="welcome")  # no settings: a first launch
    app.start()
    welcome = display.wait_window(h.WELCOME_TITLE, 5)
    h.check(welcome, "no welcome window")
    window_with_frame(display, welcome[0], DOCS / "welcome.png")
    display.focus(welcome[0].wid)
    display.key("Return")
    prefs = display.wait_window(h.PREFS_TITLE, 5)
    h.check(prefs, "no preferences after the welcome")
    window_with_frame(display, prefs[0], DOCS / "preferences.png")
    app.stop()


def password_box(session):
    display = desktop(session, tray=True)
    app = h.Tamsel(session, display, name="password")
    app.write_settings(h.default_settings(txtNewPwd="open Sesame 7"))
    app.start()
    box = h.wait_until(lambda: (display.dialogs() or [None])[0], 5)
    h.check(box, "no password box")
    # A click into the field, as a user would: xdotool's own focus call
    # leaves openbox drawing the frame as inactive.
    time.sleep(0.5)
    display.click(box.x + box.width // 3, box.y + box.height // 2)
    display.type("opens")
    window_with_frame(display, box, DOCS / "password.png")
    app.stop()


def no_tray_notice(session):
    display = desktop(session, tray=False)
    app = h.Tamsel(session, display, name="no-tray")
    app.write_settings(h.default_settings())
    app.start()
    notice = display.wait_window(h.NO_TRAY_TITLE, 5)
    h.check(notice, "no notice")
    window_with_frame(display, notice[0], DOCS / "no-tray.png")
    app.stop()


def tray_menu(session):
    display = desktop(session, tray=True)
    app = h.Tamsel(session, display, name="menu")
    app.write_settings(h.default_settings(dropdownOsdLocation=3))
    app.start()
    icon = h.wait_until(display.tray_icon, 5)
    h.check(icon, "no icon in the tray")
    display.click(*icon, button=3)
    menus = h.wait_until(display.popup_menus, 3, 0.05)
    h.check(menus, "no menu")
    display.key(*["Down"] * 6, "Right")  # Pause, its submenu open
    h.check(h.wait_until(lambda: len(display.popup_menus()) == 2, 3, 0.05), "no submenu")
    time.sleep(0.5)
    shown = display.popup_menus()
    # The menus with the panel and the icon above them, and some desktop.
    left = min(m.x for m in shown) - 40
    width = display.width - left
    height = max(m.y + m.height for m in shown) + 40
    shot = grab(display, "-window", "root", "-crop", f"{width}x{height}+{left}+0", "+repage")
    (DOCS / "tray-menu.png").write_bytes(shot)
    display.key("Return")  # For 30 minutes: the indicator says until when
    win = app.wait_indicator()
    time.sleep(1)
    indicator_shot(display, win, DOCS / "paused.png")
    app.stop()


def indicator_shot(display, win, path):
    """The indicator with some desktop around it, twice as large."""
    left, top = max(0, win.x - 20), max(0, win.y - 10)
    shot = grab(display, "-window", "root", "-crop",
                f"{win.width + 40}x{win.height + 20}+{left}+{top}", "+repage")
    big = subprocess.run(["convert", "png:-", "-scale", "200%", "png:-"], input=shot,
                         capture_output=True, check=True).stdout
    path.write_bytes(big)


def waiting(session):
    """A break due while parecord records from the story's own sound server."""
    from test_waiting_call import sound_server
    h.require_tools("pulseaudio", "parecord")
    display = desktop(session, tray=True)
    server = sound_server(session)
    app = h.Tamsel(session, display, name="waiting")
    app.env["PULSE_SERVER"] = server
    app.write_settings(h.default_settings(stpWorkDuration=1))
    app.start()
    session.spawn("parecord", ["parecord", f"--server={server}", "--device=mic", "--raw"],
                  stdout=subprocess.DEVNULL)
    h.Activity(display, x=900, y=700).start()
    win = app.wait_indicator()
    time.sleep(70)  # 45 s of counted work, and some
    indicator_shot(display, win, DOCS / "waiting.png")
    app.stop()


def setup_check(session):
    # No session bus and a fresh home: no notifications, no start at login.
    display = desktop(session, tray=True)
    app = h.Tamsel(session, display, name="check")
    app.write_settings(h.default_settings())
    app.start()
    display.choose_from_tray_menu("Check my desktop…")
    check = display.wait_window("Tamsel: setup check", 5)
    h.check(check, "no setup check")
    window_with_frame(display, check[0], DOCS / "setup-check.png")
    app.stop()


def statistics():
    tests = Path(h.tamsel_binary()).parent / "tests" / "qt" / "tamsel_qt_tests"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_SCALE_FACTOR="2",
               TAMSEL_SHOTS=str(DOCS), LANG="C.UTF-8")
    subprocess.run([str(tests), "--gtest_also_run_disabled_tests",
                    "--gtest_filter=StatsOverQt.DISABLED_Screenshots"], env=env, check=True,
                   capture_output=True)


SHOTS = {"welcome": welcome_and_preferences, "password": password_box,
         "no-tray": no_tray_notice, "menu": tray_menu, "waiting": waiting,
         "setup-check": setup_check,
         "statistics": lambda session: statistics()}


def story(session):
    h.require_tools("import", "xsetroot", "openbox", "trayer")
    for name, take in SHOTS.items():
        if not sys.argv[1:] or name in sys.argv[1:]:
            take(session)
    for name in ("welcome.png", "preferences.png", "password.png", "no-tray.png",
                 "tray-menu.png", "paused.png", "waiting.png", "setup-check.png",
                 "statistics.png", "statistics-dark.png"):
        size = subprocess.run(["identify", "-format", "%wx%h", str(DOCS / name)],
                              capture_output=True, text=True, check=False).stdout
        h.note(f"docs/{name}: {size}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=150))
