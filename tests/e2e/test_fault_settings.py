#!/usr/bin/env python3
"""Settings files that are missing, damaged or cannot be written.

One desktop with a window manager and a tray; each case is a fresh home with
its own settings file. Whatever the file holds, the program starts; a file
it cannot read as settings is kept aside as "tamsel.conf.damaged" and what
could be read is kept; values typed by hand that are no numbers or out of
range start the program with sensible values, and the preferences save them
back in range. Where no file can be written at all (a plain file where the
settings folder should be; root ignores permission bits), the user is told
on screen, once: on the tray icon, or in a small "Tamsel" window where there
is no tray."""

import random
import stat
import sys
import time

import faults_support as f
import harness as h

GOOD = ("[General]\nuid=4711\nstpWorkDuration=2\nstpBreakDuration=1\nlblSnooze=0\nlblHide=0\n"
        "radWhenHigh=0\ndropdownOsdLocation=3\ntxtNewPwd=\n").encode()
WITH_NULS = (b"[General]\nuid=4711\nstpWorkDuration=2\n\x00\x00\x00garbage\x00\n"
             b"stpBreakDuration=1\n\x01\x02\nlblSnooze=0\n")
BAD_VALUES = (b"[General]\nuid=4711\nstpWorkDuration=abc\nstpBreakDuration=99999999999999999999\n"
              b"lblSnooze=yes\nlblHide=0\nradWhenHigh=0\ndropdownOsdLocation=-7\ntxtNewPwd=\n")
NOT_SAVED = "could not save the settings"


def launch(session, display, case, content):
    """A home whose settings file holds `content` (None: no file), started."""
    app = h.Tamsel(session, display, name=case)
    if content is not None:
        app.settings_path.parent.mkdir(parents=True, exist_ok=True)
        app.settings_path.write_bytes(content)
    app.start()
    return app


def damaged_copy(app):
    path = app.settings_path.with_name("tamsel.conf.damaged")
    return path.read_bytes() if path.exists() else None


def first_launch_passes(display, app, case):
    """The welcome window comes; Done leads to the preferences and the
    indicator; the eight first-launch keys are on disk, for the owner only."""
    f.pass_welcome(display)
    prefs = display.wait_window(h.PREFS_TITLE, 3)
    h.check(prefs, f"{case}: no preferences after the welcome")
    h.check(app.wait_indicator(3), f"{case}: no indicator after the welcome")
    display.focus(prefs[0].wid)
    display.key("Escape")
    h.check(display.wait_gone(h.PREFS_TITLE, 3), f"{case}: Escape left the preferences open")
    stored = app.settings() or {}
    h.check(set(h.SETTINGS_KEYS) <= set(stored), f"{case}: first-launch keys missing: {stored}")
    mode = stat.S_IMODE(app.settings_path.stat().st_mode)
    h.check(mode == 0o600, f"{case}: settings file mode {mode:o}")
    return stored


def plain_start(display, app, case):
    """No welcome: the indicator maps and the program runs."""
    win = app.wait_indicator(5)
    h.check(win, f"{case}: no indicator within 5 s")
    h.check(not display.windows(h.WELCOME_TITLE), f"{case}: the welcome window showed")
    h.check(app.running(), f"{case}: the program ended")
    return win


def story(session):
    display = session.display()
    display.start_wm()
    display.start_tray()

    # Missing and empty: a first launch, nothing set aside.
    for case, content in (("missing", None), ("empty", b"")):
        app = launch(session, display, case, content)
        stored = first_launch_passes(display, app, case)
        h.check(damaged_copy(app) is None, f"{case}: a .damaged copy was made")
        h.note(f"{case}: first launch, uid {stored['uid']} stored")
        app.stop()

    # Cut short in mid-key: what is there is kept, and no first launch.
    cut = GOOD[:GOOD.index(b"dropdownOsdLoc") + 14]
    app = launch(session, display, "truncated", cut)
    win = plain_start(display, app, "truncated")
    h.check(damaged_copy(app) == cut, "truncated: a key without value is kept aside as damaged")
    f.save_preferences(display)
    stored = app.settings()
    h.note(f"truncated: set aside, indicator at {win.geometry}; after Save: {stored}")
    h.check(set(h.SETTINGS_KEYS) <= set(stored), f"truncated: keys missing after Save: {stored}")
    h.check((stored["uid"], stored["stpWorkDuration"], stored["lblSnooze"]) == ("4711", "2", "0"),
            f"truncated: the values that were there did not survive: {stored}")
    app.stop()

    # Random bytes: set aside whole, then a fresh first launch.
    noise = random.Random(20261206).randbytes(4096)
    app = launch(session, display, "noise", noise)
    first_launch_passes(display, app, "noise")
    h.check(damaged_copy(app) == noise, "noise: the damaged copy does not hold the old bytes")
    mode = stat.S_IMODE(app.settings_path.with_name("tamsel.conf.damaged").stat().st_mode)
    h.check(mode == 0o600, f"noise: damaged copy mode {mode:o}")
    h.note("noise: set aside as tamsel.conf.damaged (0600), first launch")
    app.stop()

    # NULs amid good lines: set aside, the good lines kept, no first launch.
    app = launch(session, display, "nuls", WITH_NULS)
    plain_start(display, app, "nuls")
    h.check(damaged_copy(app) == WITH_NULS, "nuls: the damaged copy does not hold the old bytes")
    clean = app.settings_path.read_bytes()
    h.check(b"\0" not in clean and b"garbage" not in clean, f"nuls: file not clean: {clean!r}")
    stored = app.settings()
    h.note(f"nuls: set aside; kept {stored}")
    h.check((stored.get("uid"), stored.get("stpWorkDuration")) == ("4711", "2"),
            f"nuls: the readable settings were not kept: {stored}")
    app.stop()

    # Text where numbers belong, numbers out of range.
    app = launch(session, display, "values", BAD_VALUES)
    win = plain_start(display, app, "values")
    h.check(win.x + win.width == display.width and win.y + win.height == display.height,
            f"values: an unknown corner should put the indicator bottom right: {win.geometry}")
    h.check(damaged_copy(app) is None, "values: odd values are no damage")
    f.save_preferences(display)
    stored = app.settings()
    h.note(f"values: indicator at {win.geometry}; after Save: {stored}")
    expected = {"uid": "4711", "stpWorkDuration": "30", "stpBreakDuration": "60",
                "lblSnooze": "0", "dropdownOsdLocation": "5"}
    h.check(all(stored.get(k) == v for k, v in expected.items()),
            f"values: saved {stored}, expected {expected}")
    app.stop()

    # No folder can be made: told once, on the tray; nothing else changes.
    app = h.Tamsel(session, display, name="unwritable")
    app.config_home.mkdir(parents=True)
    (app.config_home / "tamsel").write_bytes(b"")
    app.start()
    f.pass_welcome(display)
    balloon = h.wait_until(lambda: f.tray_balloons(display), 5, 0.1)
    h.check(balloon, "unwritable: no message on the tray within 5 s of the welcome")
    h.check(app.wait_indicator(3), "unwritable: no indicator")
    icon = display.tray_icon()
    h.note(f"unwritable: tray message at {balloon[0].geometry}, icon at {icon}")
    h.check(icon and abs(balloon[0].x + balloon[0].width - icon[0]) < 80,
            f"unwritable: the message does not point at the icon {icon}: {balloon[0].geometry}")
    h.check(not f.notices(display), f"unwritable: a window as well: {f.notices(display)}")
    f.save_preferences(display)
    time.sleep(0.5)
    said = f.stderr_text(app).count(NOT_SAVED)
    h.check(said == 1, f"unwritable: said {said} times on stderr")
    h.check(len(f.tray_balloons(display)) <= 1, "unwritable: a second tray message")
    h.check((app.config_home / "tamsel").is_file() and
            (app.config_home / "tamsel").stat().st_size == 0, "unwritable: the blocker changed")
    h.check(app.running(), "unwritable: the program ended")
    app.stop()

    # The same without a tray: a small "Tamsel" window, even over the welcome.
    bare = session.display()
    app = h.Tamsel(session, bare, name="unwritable-no-tray")
    app.config_home.mkdir(parents=True)
    (app.config_home / "tamsel").write_bytes(b"")
    app.start()
    notice = h.wait_until(lambda: f.notices(bare), 5, 0.1)
    h.check(notice, "no tray: no notice within 5 s")
    h.check(bare.windows(h.WELCOME_TITLE), "no tray: the welcome window is not up")
    h.note(f"no tray: notice {notice[0].geometry} over the welcome window")
    f.pass_welcome(bare)
    h.check(app.wait_indicator(3), "no tray: no indicator")
    time.sleep(0.5)
    h.check(len(f.notices(bare)) == 1, f"no tray: {len(f.notices(bare))} notices")
    bare.focus(notice[0].wid)
    bare.key("Return")
    h.check(h.wait_until(lambda: not f.notices(bare), 3), "no tray: Return left the notice open")
    h.check(app.running(), "no tray: the program ended")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=100))
