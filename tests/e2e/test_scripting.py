#!/usr/bin/env python3
"""Scripts on the session bus, and the heads-up before a break.

On a private bus with a stand-in notification server, a 3-minute work
period: the stand-in receives exactly one Notify ("Tamsel" / "A break in
about a minute") about a minute of work before the break. gdbus sees the
interface org.tamsel.Tamsel at /org/tamsel/Tamsel; its BreakNow brings a
break window at once, State turns "break" (and watchers hear it through
PropertiesChanged), and a second BreakNow is refused with
org.tamsel.Tamsel.Error.Refused."""

import os
import subprocess
import sys
import time

import harness as h

SETTINGS = h.default_settings(stpWorkDuration=3, stpBreakDuration=1)
DEST = ["--session", "--dest", "org.tamsel.Tamsel", "--object-path", "/org/tamsel/Tamsel"]


def story(session):
    h.require_tools("gdbus")
    display = session.display()
    bus = session.session_bus()
    env = dict(display.env, DBUS_SESSION_BUS_ADDRESS=bus)
    notices = session.logs / "standin.out"
    with open(notices, "wb") as out:
        session.spawn("standin", [os.environ["TAMSEL_NOTIFY_STANDIN"]], env=env, stdout=out)
    h.check(h.wait_until(lambda: "ready" in notices.read_text(), 10), "the stand-in did not start")
    with open(session.logs / "monitor.out", "wb") as out:
        session.spawn("monitor", ["gdbus", "monitor"] + DEST[:3], env=env, stdout=out)

    def gdbus(*args):
        res = subprocess.run(["gdbus"] + list(args), env=env, capture_output=True, text=True,
                             timeout=30)
        return res.returncode, (res.stdout + res.stderr).strip()

    def state():
        return gdbus("call", *DEST, "--method", "org.freedesktop.DBus.Properties.Get",
                     "org.tamsel.Tamsel", "State")[1]

    def notified():
        return [line for line in notices.read_text().splitlines() if line.startswith("Notify")]

    app = h.Tamsel(session, display, bus=bus)
    app.write_settings(SETTINGS)
    app.start()
    h.check(app.wait_indicator(5), "no indicator")
    code, xml = gdbus("introspect", *DEST)
    h.check(code == 0 and "interface org.tamsel.Tamsel" in xml, f"introspection: {xml}")
    for member in ("BreakNow();", "Pause(in  u seconds);", "Resume();", "Skip();",
                   "ShowPreferences();", "readonly s State", "readonly i SecondsToBreak",
                   "readonly x PausedUntil", "readonly u TodayActiveSeconds",
                   "readonly u TodayBreaksTaken"):
        h.check(member in xml, f"{member!r} missing from the interface:\n{xml}")
    h.check(h.wait_until(lambda: "'working'" in state(), 5), f"State: {state()}")

    started = time.monotonic()
    h.Activity(display, x=900, y=500).start()
    h.check(h.wait_until(notified, 110, 0.5), "no notification within 110 s of work")
    h.note(f"heads-up after {time.monotonic() - started:.1f} s of work: {notified()}")
    h.check(notified() == ["Notify\tTamsel\tTamsel\tA break in about a minute"],
            f"notifications: {notified()}")
    h.check(not display.windows(h.BREAK_TITLE), "the break came with the heads-up")
    _, left = gdbus("call", *DEST, "--method", "org.freedesktop.DBus.Properties.Get",
                    "org.tamsel.Tamsel", "SecondsToBreak")
    h.note(f"SecondsToBreak at the heads-up: {left}")

    code, out = gdbus("call", *DEST, "--method", "org.tamsel.Tamsel.BreakNow")
    called = time.monotonic()
    h.check(code == 0, f"BreakNow: {out}")
    h.check(display.wait_window(h.BREAK_TITLE, 3), "no break window within 3 s of BreakNow")
    h.note(f"break window {time.monotonic() - called:.2f} s after BreakNow")
    h.check("'break'" in state(), f"State during the break: {state()}")
    code, out = gdbus("call", *DEST, "--method", "org.tamsel.Tamsel.BreakNow")
    h.check(code != 0 and "org.tamsel.Tamsel.Error.Refused" in out,
            f"a second BreakNow during the break: {code} {out}")
    heard = h.wait_until(lambda: "'State': <'break'>" in
                         (session.logs / "monitor.out").read_text(), 3)
    h.check(heard, "no PropertiesChanged with State 'break'")
    h.check(len(notified()) == 1, f"notifications: {notified()}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=170))
