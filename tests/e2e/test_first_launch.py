#!/usr/bin/env python3
"""First launch on a fresh store, with a tray and a window manager.

The welcome window comes first, with the eight first-launch settings
already stored and nothing sent yet; Return closes it; then the preferences
window shows and the server gets exactly one usage event carrying the stored
uid, whose reply the program prints. A second launch on the same store sends
nothing, writes nothing and shows neither window."""

import re
import stat
import sys
import time

import harness as h

FIRST_LAUNCH_VALUES = {"stpWorkDuration": "30", "stpBreakDuration": "2", "lblSnooze": "1",
                       "lblHide": "0", "radWhenHigh": "0", "dropdownOsdLocation": "1",
                       "txtNewPwd": ""}
EVENT = re.compile(r"^/logistics/ln\.php\?cat=tamsel&evtname=macapp&evtval=firstlaunch"
                   r"&notes=app-false&uid=([1-9][0-9]{0,8})$")
QUIET = 5.0  # s of silence that must follow, to see that nothing more is sent


def usage_events(server):
    return server.paths("/logistics/")


def story(session):
    server = session.usage_server()
    display = session.display()
    display.start_wm()
    display.start_tray()
    app = h.Tamsel(session, display, binary=h.testserver_binary(),
                   bus=session.session_bus())
    h.check(app.settings() is None, "the store is not fresh")

    app.start()
    welcome = display.wait_window(h.WELCOME_TITLE, 5)
    h.check(welcome, "no welcome window within 5 s")
    h.note(f"welcome window mapped after {app.since_start():.2f} s at {welcome[0].geometry}")

    # While it is up: settings written, nothing else has happened yet.
    stored = app.settings() or {}
    h.note(f"stored while welcome shows: {stored}")
    h.check(set(h.SETTINGS_KEYS) <= set(stored),
            f"missing first-launch keys: {set(h.SETTINGS_KEYS) - set(stored)}")
    for key, value in FIRST_LAUNCH_VALUES.items():
        h.check(stored[key] == value, f"{key} stored as {stored[key]!r}, expected {value!r}")
    uid = stored["uid"]
    h.check(re.fullmatch(r"[1-9][0-9]{0,8}", uid), f"uid {uid!r} is not a number 1-999999999")
    mode = stat.S_IMODE(app.settings_path.stat().st_mode)
    h.check(mode & 0o077 == 0, f"settings file is readable by others (mode {mode:o})")
    h.check(not display.windows(h.PREFS_TITLE), "preferences shown before the welcome closed")
    h.check(not display.indicators(), "indicator shown before the welcome closed")
    h.check(not usage_events(server), "usage event sent before the welcome closed")

    # Return presses Done, once the window has the keyboard.
    display.focus(welcome[0].wid)
    display.key("Return")
    closed = display.wait_gone(h.WELCOME_TITLE, 3)
    h.check(closed, "Return did not close the welcome window")
    pressed_at = time.monotonic()

    prefs = display.wait_window(h.PREFS_TITLE, 5)
    h.check(prefs, f"no window titled {h.PREFS_TITLE!r} after the welcome")
    h.note(f"preferences mapped {time.monotonic() - pressed_at:.2f} s after Return")
    h.check(app.wait_indicator(3), "no indicator after the welcome")

    h.check(h.wait_until(lambda: usage_events(server), 5), "no usage event within 5 s")
    first_seen = time.monotonic() - pressed_at
    time.sleep(QUIET)
    events = usage_events(server)
    h.note(f"usage events ({first_seen:.2f} s after Return, then {QUIET:.0f} s quiet): {events}")
    h.check(len(events) == 1, f"expected exactly one usage event, got {events}")
    m = EVENT.match(events[0])
    h.check(m, f"usage event does not have the expected form: {events[0]}")
    h.check(m.group(1) == uid, f"event carries uid {m.group(1)}, the store holds {uid}")
    h.check(h.wait_until(lambda: server.USAGE_REPLY.decode() in app.stdout(), 3),
            f"the server's reply was not printed; stdout: {app.stdout()!r}")

    after_first = app.settings_path.read_bytes()
    app.stop()

    # Second launch: same store, same server.
    before = len(server.requests)
    app.start()
    h.wait_until(lambda: display.indicators() or display.windows(h.WELCOME_TITLE), 5, 0.05)
    h.check(not display.windows(h.WELCOME_TITLE), "second launch shows the welcome window")
    h.check(display.indicators(), "second launch: no indicator")
    h.note(f"second launch: indicator after {app.since_start():.2f} s")
    time.sleep(QUIET)
    h.check(not display.windows(h.WELCOME_TITLE), "second launch shows the welcome window")
    h.check(not display.windows(h.PREFS_TITLE), "second launch shows the preferences")
    later = [p for _t, p in server.requests[before:]]
    h.check(not later, f"second launch sent {later}")
    h.check(app.settings_path.read_bytes() == after_first, "second launch rewrote the settings")
    h.check(app.running(), "second launch ended by itself")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=80))
