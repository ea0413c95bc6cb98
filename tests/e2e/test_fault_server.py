#!/usr/bin/env python3
"""The maker's server misbehaves while a first launch sends its usage event.

Each case is a fresh store on its own X server: the welcome window comes, Done
brings the preferences and the indicator at once, and the program goes on
while the request is out. The only trace of the server is one line on
standard output: "logFunc <error>" or the reply's body as one line of plain
ASCII. Cases: nothing listening, a connection reset, no answer ever (the
program gives up after its 30 s time-out), a slow answer, 404, 500, five
megabytes, and bytes that are no text. The slow and silent cases stay out
while the others run, so the story takes about 40 s."""

import re
import sys
import time

import faults_support as f
import harness as h

GET_TIMEOUT = 30.0  # s, the program's limit for a usage event's reply
EXPECTED = {
    "down": re.compile(r"^logFunc .*refused", re.I),
    "reset": re.compile(r"^logFunc .*(closed|reset)", re.I),
    "silent": re.compile(r"^logFunc no reply within 30 s$"),
    "slow": re.compile("^" + f.FaultyServer.SLOW_BODY.decode() + "$"),
    "404": re.compile(r"^<html><body>404: no such page</body></html>$"),
    "500": re.compile(r"^<html><body>500: no such page</body></html>$"),
    "huge": re.compile(r"^logFunc reply too large$"),
    "binary": re.compile(r"^\?\?bin\?ary\?\[31m red \?\]0;title\? second line\?+ end$"),
}


def first_launch(session, case, server=None):
    """A fresh store through the welcome window; the program and its Done
    time. Once the request is out, the program still answers the user: Escape
    closes the preferences."""
    display = session.display()
    app = h.Tamsel(session, display, name=case, binary=h.testserver_binary())
    app.start()
    f.pass_welcome(display)
    done = time.monotonic()
    prefs = display.wait_window(h.PREFS_TITLE, 3)
    h.check(prefs, f"{case}: no preferences within 3 s of Done")
    h.check(app.wait_indicator(3), f"{case}: no indicator within 3 s of Done")
    shown = time.monotonic() - done
    request = ""
    if server:
        h.check(h.wait_until(lambda: server.requests_in(case), 5), f"{case}: no request came")
        request = server.requests_in(case)[0][2]
    display.focus(prefs[0].wid)
    display.key("Escape")
    h.check(display.wait_gone(h.PREFS_TITLE, 3),
            f"{case}: the preferences did not close while the request was out")
    h.note(f"{case}: preferences and indicator {shown:.2f} s after Done; {request!r}")
    return app, done


def settle(case, app, done, deadline):
    """Waits for the one line; checks it and that the program still runs."""
    line = h.wait_until(lambda: f.output_lines(app), deadline - (time.monotonic() - done), 0.1)
    took = time.monotonic() - done
    h.check(line, f"{case}: nothing on standard output {deadline:.0f} s after Done")
    time.sleep(0.3)  # a second line would come right after the first
    lines = f.output_lines(app)
    h.note(f"{case}: {lines!r} {took:.1f} s after Done")
    h.check(len(lines) == 1, f"{case}: expected one line, got {lines!r}")
    h.check(EXPECTED[case].search(lines[0]), f"{case}: unexpected line {lines[0]!r}")
    h.check(all(32 <= ord(c) < 127 for c in lines[0]), f"{case}: not plain ASCII: {lines[0]!r}")
    h.check(app.running(), f"{case}: the program ended")
    stored = app.settings() or {}
    h.check(set(h.SETTINGS_KEYS) <= set(stored), f"{case}: first-launch settings missing: {stored}")
    return took


def story(session):
    # Nobody listens: the kernel refuses the connection.
    app, done = first_launch(session, "down")
    settle("down", app, done, 5)
    app.stop()

    server = f.FaultyServer()
    session.on_close(server.stop)
    pending = {}
    for case in ("silent", "slow", "reset", "404", "500", "huge", "binary"):
        server.mode = case
        app, done = first_launch(session, case, server)
        pending[case] = (app, done)
        if case not in ("silent", "slow"):
            settle(case, app, done, 5)
            app.stop()

    app, done = pending["slow"]
    settle("slow", app, done, 15)
    app, done = pending["silent"]
    took = settle("silent", app, done, GET_TIMEOUT + 5)
    h.check(GET_TIMEOUT - 1 <= took <= GET_TIMEOUT + 3,
            f"silent: gave up after {took:.1f} s, expected about {GET_TIMEOUT:.0f} s")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=110))
