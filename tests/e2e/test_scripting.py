#!/usr/bin/env python3
"""Scripts on the session bus, and a break that waits for a call.

On a private bus with a stand-in notification server, and a PulseAudio
server of the story's own whose null source is the microphone: parecord
records from it (the "call") all along. gdbus sees the interface
org.tamsel.Tamsel at /org/tamsel/Tamsel; its BreakNow brings a break window
at once, State turns "break" (and watchers hear it through
PropertiesChanged), and a second BreakNow is refused. With a 1-minute work
period and input every second, the next break falls due during the call:
State turns "waiting" with WaitingFor "call" and no break window maps; when
the recording stops the stand-in receives its one Notify, "A break in 30
seconds", and the break window maps 30 s after the stop."""

import subprocess
import sys
import time

import harness as h

MEMBERS = ("BreakNow();", "Pause(in  u seconds);", "Resume();", "Skip();", "ShowPreferences();",
           "readonly s State", "readonly i SecondsToBreak", "readonly x PausedUntil",
           "readonly u TodayActiveSeconds", "readonly u TodayBreaksTaken")


def story(session):
    h.require_tools("pulseaudio", "parecord")
    display = session.display()
    env = dict(display.env, DBUS_SESSION_BUS_ADDRESS=session.session_bus())
    tamsel = h.TamselBus(env)
    notices = session.notify_standin(env)
    notified = lambda: [line for line in notices.read_text().splitlines() if line.startswith("Notify")]
    monitor = session.logs / "monitor.out"
    with open(monitor, "wb") as out:
        session.spawn("monitor", ["gdbus", "monitor"] + tamsel.DEST[:3], env=env, stdout=out)
    folder = session.tmp / "pulse"
    folder.mkdir()
    (folder / "tamsel.pa").write_text(f"load-module module-native-protocol-unix auth-anonymous=1 "
                                      f"socket={folder}/native\nload-module module-null-source source_name=mic\n")
    session.spawn("pulseaudio", ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                 "--disable-shm=yes", "-F", str(folder / "tamsel.pa")],
                  env={"PATH": h.PATH, "HOME": str(folder), "XDG_RUNTIME_DIR": str(folder),
                       "DBUS_SESSION_BUS_ADDRESS": "disabled:"})
    h.check(h.wait_until((folder / "native").exists, 10), "pulseaudio did not start")
    server = f"unix:{folder}/native"

    app = h.Tamsel(session, display, h.default_settings(stpWorkDuration=1, stpBreakDuration=1),
                   bus=env["DBUS_SESSION_BUS_ADDRESS"])
    app.env["PULSE_SERVER"] = server
    app.start()
    h.check(app.wait_indicator(5), "no indicator")
    xml = subprocess.run(["gdbus", "introspect", *tamsel.DEST], env=env, capture_output=True, text=True,
                         timeout=30).stdout
    h.check(all(m in xml for m in MEMBERS), f"the interface lacks members:\n{xml}")
    h.check(h.wait_until(lambda: "'working'" in tamsel.get("State"), 5), f"State: {tamsel.get('State')}")
    call = session.spawn("parecord", ["parecord", f"--server={server}", "--device=mic", "--raw"],
                         stdout=subprocess.DEVNULL)
    h.Activity(display, x=900, y=500).start()

    code, out = tamsel.call("org.tamsel.Tamsel.BreakNow")
    h.check(code == 0, f"BreakNow: {out}")
    h.check(display.wait_window(h.BREAK_TITLE, 3), "no break window within 3 s of BreakNow")
    h.check("'break'" in tamsel.get("State"), f"State during the break: {tamsel.get('State')}")
    code, out = tamsel.call("org.tamsel.Tamsel.BreakNow")
    h.check(code != 0 and "org.tamsel.Tamsel.Error.Refused" in out, f"a second BreakNow: {code} {out}")
    h.check(h.wait_until(lambda: "'State': <'break'>" in monitor.read_text(), 3),
            "no PropertiesChanged with State 'break'")
    h.check(display.wait_gone(h.BREAK_TITLE, 70), "the break taken now did not end")

    h.check(h.wait_until(lambda: "'waiting'" in tamsel.get("State"), 90),
            f"the break did not wait: {tamsel.get('State')}")
    h.check("'call'" in tamsel.get("WaitingFor"), f"WaitingFor: {tamsel.get('WaitingFor')}")
    h.check(not display.wait_window(h.BREAK_TITLE, 15), "a break window came during the call")
    h.Session.end(call)
    stopped = time.monotonic()
    h.check(h.wait_until(lambda: "A break in 30 seconds" in notices.read_text(), 5),
            f"no heads-up as the call ended: {notices.read_text()!r}")
    h.check(display.wait_window(h.BREAK_TITLE, 40), "no break window within 40 s of the call's end")
    delay = time.monotonic() - stopped
    h.note(f"break window {delay:.1f} s after the recording stopped")
    h.check(29 <= delay <= 33, f"the break came {delay:.1f} s after the call, not 30 s")
    h.check(notified() == ["Notify\tTamsel\tTamsel\tA break in 30 seconds"], f"notifications: {notified()}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=230))
