#!/usr/bin/env python3
"""A break that falls due during a call waits, and comes 30 s after it.

A PulseAudio server of the story's own with a null source as the
microphone; parecord records from it (the "call") from before the break
falls due. With a 1-minute work period and input every second, State turns
"waiting" with WaitingFor "call" and no break window maps; when the
recording stops the stand-in notification server hears "A break in 30
seconds", and the break window maps 30 s after the stop."""

import subprocess
import sys
import time

import harness as h


def story(session):
    h.require_tools("pulseaudio", "parecord")
    display = session.display()
    env = dict(display.env, DBUS_SESSION_BUS_ADDRESS=session.session_bus())
    prop = h.TamselBus(env).get
    notices = session.notify_standin(env)
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
    call = session.spawn("parecord", ["parecord", f"--server={server}", "--device=mic", "--raw"],
                         stdout=subprocess.DEVNULL)
    h.Activity(display, x=900, y=500).start()

    h.check(h.wait_until(lambda: "'waiting'" in prop("State"), 90), f"the break did not wait: {prop('State')}")
    h.check("'call'" in prop("WaitingFor"), f"WaitingFor: {prop('WaitingFor')}")
    h.check(not display.wait_window(h.BREAK_TITLE, 15), "a break window came during the call")
    h.Session.end(call)
    stopped = time.monotonic()
    h.check(h.wait_until(lambda: "A break in 30 seconds" in notices.read_text(), 5),
            f"no heads-up as the call ended: {notices.read_text()!r}")
    h.check(display.wait_window(h.BREAK_TITLE, 40), "no break window within 40 s of the call's end")
    delay = time.monotonic() - stopped
    h.note(f"break window {delay:.1f} s after the recording stopped")
    h.check(29 <= delay <= 33, f"the break came {delay:.1f} s after the call, not 30 s")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=170))
