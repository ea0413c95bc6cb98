#!/usr/bin/env python3
"""Scripts on the session bus, and the heads-up before a break.

On a private bus with a stand-in notification server, a 3-minute work
period: the stand-in receives exactly one Notify ("Tamsel" / "A break in
about a minute") about a minute of work before the break. gdbus sees the
interface org.tamsel.Tamsel at /org/tamsel/Tamsel; its BreakNow brings a
break window at once, State turns "break" (and watchers hear it through
PropertiesChanged), and a second BreakNow is refused with
org.tamsel.Tamsel.Error.Refused."""

import sys
import time

import harness as h

SETTINGS = h.default_settings(stpWorkDuration=3, stpBreakDuration=1)


def story(session):
    display = session.display()
    bus = session.session_bus()
    env = dict(display.env, DBUS_SESSION_BUS_ADDRESS=bus)
    tamsel = h.TamselBus(env)
    notices = session.notify_standin(env)
    with open(session.logs / "monitor.out", "wb") as out:
        session.spawn("monitor", ["gdbus", "monitor"] + tamsel.DEST[:3], env=env, stdout=out)

    def notified():
        return [line for line in notices.read_text().splitlines() if line.startswith("Notify")]

    app = h.Tamsel(session, display, SETTINGS, bus=bus).start()
    h.check(app.wait_indicator(5), "no indicator")
    code, xml = tamsel.gdbus("introspect", *tamsel.DEST)
    h.check(code == 0 and "interface org.tamsel.Tamsel" in xml, f"introspection: {xml}")
    for member in ("BreakNow();", "Pause(in  u seconds);", "Resume();", "Skip();",
                   "ShowPreferences();", "readonly s State", "readonly i SecondsToBreak",
                   "readonly x PausedUntil", "readonly u TodayActiveSeconds",
                   "readonly u TodayBreaksTaken"):
        h.check(member in xml, f"{member!r} missing from the interface:\n{xml}")
    h.check(h.wait_until(lambda: "'working'" in tamsel.get("State"), 5),
            f"State: {tamsel.get('State')}")

    started = time.monotonic()
    h.Activity(display, x=900, y=500).start()
    h.check(h.wait_until(notified, 110, 0.5), "no notification within 110 s of work")
    h.note(f"heads-up after {time.monotonic() - started:.1f} s of work: {notified()}")
    h.check(notified() == ["Notify\tTamsel\tTamsel\tA break in about a minute"],
            f"notifications: {notified()}")
    h.check(not display.windows(h.BREAK_TITLE), "the break came with the heads-up")
    h.note(f"SecondsToBreak at the heads-up: {tamsel.get('SecondsToBreak')}")

    code, out = tamsel.call("org.tamsel.Tamsel.BreakNow")
    called = time.monotonic()
    h.check(code == 0, f"BreakNow: {out}")
    h.check(display.wait_window(h.BREAK_TITLE, 3), "no break window within 3 s of BreakNow")
    h.note(f"break window {time.monotonic() - called:.2f} s after BreakNow")
    h.check("'break'" in tamsel.get("State"), f"State during the break: {tamsel.get('State')}")
    code, out = tamsel.call("org.tamsel.Tamsel.BreakNow")
    h.check(code != 0 and "org.tamsel.Tamsel.Error.Refused" in out,
            f"a second BreakNow during the break: {code} {out}")
    heard = h.wait_until(lambda: "'State': <'break'>" in
                         (session.logs / "monitor.out").read_text(), 3)
    h.check(heard, "no PropertiesChanged with State 'break'")
    h.check(len(notified()) == 1, f"notifications: {notified()}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=170))
