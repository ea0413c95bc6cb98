#!/usr/bin/env python3
"""Scripts on the session bus, and the heads-up before a break.

On a private bus with a stand-in notification server, a 3-minute work
period: the stand-in receives exactly one Notify ("Tamsel" / "A break in
about a minute") about a minute before the break. gdbus sees the interface
org.tamsel.Tamsel at /org/tamsel/Tamsel; its BreakNow brings a break window
at once, State turns "break" (and watchers hear it through
PropertiesChanged), and a second BreakNow is refused."""

import subprocess
import sys
import time

import harness as h

MEMBERS = ("BreakNow();", "Pause(in  u seconds);", "Resume();", "Skip();", "ShowPreferences();",
           "readonly s State", "readonly i SecondsToBreak", "readonly x PausedUntil",
           "readonly u TodayActiveSeconds", "readonly u TodayBreaksTaken")


def story(session):
    display = session.display()
    env = dict(display.env, DBUS_SESSION_BUS_ADDRESS=session.session_bus())
    tamsel = h.TamselBus(env)
    notices = session.notify_standin(env)
    monitor = session.logs / "monitor.out"
    with open(monitor, "wb") as out:
        session.spawn("monitor", ["gdbus", "monitor"] + tamsel.DEST[:3], env=env, stdout=out)
    notified = lambda: [line for line in notices.read_text().splitlines() if line.startswith("Notify")]

    app = h.Tamsel(session, display, h.default_settings(stpWorkDuration=3, stpBreakDuration=1),
                   bus=env["DBUS_SESSION_BUS_ADDRESS"]).start()
    h.check(app.wait_indicator(5), "no indicator")
    xml = subprocess.run(["gdbus", "introspect", *tamsel.DEST], env=env, capture_output=True, text=True,
                         timeout=30).stdout
    h.check(all(m in xml for m in MEMBERS), f"the interface lacks members:\n{xml}")
    h.check(h.wait_until(lambda: "'working'" in tamsel.get("State"), 5), f"State: {tamsel.get('State')}")

    started = time.monotonic()
    h.Activity(display, x=900, y=500).start()
    h.check(h.wait_until(notified, 110, 0.5), "no notification within 110 s of work")
    h.note(f"heads-up after {time.monotonic() - started:.1f} s of work")
    h.check(notified() == ["Notify\tTamsel\tTamsel\tA break in about a minute"], f"notifications: {notified()}")
    h.check(not display.windows(h.BREAK_TITLE), "the break came with the heads-up")

    code, out = tamsel.call("org.tamsel.Tamsel.BreakNow")
    h.check(code == 0, f"BreakNow: {out}")
    h.check(display.wait_window(h.BREAK_TITLE, 3), "no break window within 3 s of BreakNow")
    h.check("'break'" in tamsel.get("State"), f"State during the break: {tamsel.get('State')}")
    code, out = tamsel.call("org.tamsel.Tamsel.BreakNow")
    h.check(code != 0 and "org.tamsel.Tamsel.Error.Refused" in out, f"a second BreakNow: {code} {out}")
    h.check(h.wait_until(lambda: "'State': <'break'>" in monitor.read_text(), 3),
            "no PropertiesChanged with State 'break'")
    h.check(len(notified()) == 1, f"notifications: {notified()}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=170))
