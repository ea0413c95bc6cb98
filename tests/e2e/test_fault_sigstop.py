#!/usr/bin/env python3
"""The process stopped for 30 s (SIGSTOP) and let go on (SIGCONT), as a
suspended laptop or a debugger would, while the user keeps working.

Side by side on two X servers: stopped during work, the program comes back
with the work progress reset (the indicator shows one square again, at
once); stopped during a break, the break ends as soon as it runs again (the
break window unmaps within 2 s). Neither crashes or hangs."""

import sys
import threading
import time

import faults_support as f
import harness as h

STOPPED = 30.0  # s
BACK_WITHIN = 2.0  # s after SIGCONT
# 2 minutes: a bar step of 9, so three squares take 20 s of work.
WORK = h.default_settings(stpWorkDuration=2, stpBreakDuration=1, dropdownOsdLocation=3)
BREAK = h.default_settings(stpWorkDuration=1, stpBreakDuration=1)


def desktop(session):
    display = session.display()
    display.start_compositor()  # plain grey behind the squares
    display.start_tray()
    return display


def during_work(session):
    display = desktop(session)
    app = h.Tamsel(session, display, name="work")
    app.write_settings(WORK)
    app.start()
    win = app.wait_indicator(5)
    h.check(win, "work: no indicator")
    h.Activity(display, x=900, y=500).start()
    grown = h.wait_until(lambda: (n := f.squares(display, win)) >= 3 and n, 40, 1)
    h.check(grown, "work: the bar did not grow to three squares within 40 s of work")

    f.pause(app.proc)
    h.note(f"work: {grown} squares after {app.since_start():.1f} s; stopped for {STOPPED:.0f} s")
    time.sleep(STOPPED)
    f.resume(app.proc)
    resumed = time.monotonic()
    reset = h.wait_until(lambda: f.squares(display, win) == 1, BACK_WITHIN, 0.1)
    h.note(f"work: {f.squares(display, win)} square(s) {time.monotonic() - resumed:.2f} s "
           f"after SIGCONT")
    h.check(reset, f"work: {f.squares(display, win)} squares {BACK_WITHIN} s after SIGCONT, "
                   f"expected 1")
    h.check(app.running(), "work: the program ended")


def during_break(session):
    display = desktop(session)
    app = h.Tamsel(session, display, name="break")
    app.write_settings(BREAK)
    app.start()
    h.check(app.wait_indicator(5), "break: no indicator")
    h.Activity(display, x=300, y=700).start()
    shown = display.wait_window(h.BREAK_TITLE, 70)
    h.check(shown, "break: no break window within 70 s of work")
    time.sleep(2)

    f.pause(app.proc)
    h.note(f"break: window mapped at {app.since_start():.1f} s; stopped for {STOPPED:.0f} s")
    time.sleep(STOPPED)
    h.check(display.windows(h.BREAK_TITLE), "break: the window went while the program stood")
    f.resume(app.proc)
    resumed = time.monotonic()
    gone = display.wait_gone(h.BREAK_TITLE, BACK_WITHIN + 3)
    took = time.monotonic() - resumed
    h.note(f"break: window unmapped {took:.2f} s after SIGCONT")
    h.check(gone and took <= BACK_WITHIN, f"break: window still up {took:.1f} s after SIGCONT")
    h.check(app.wait_indicator(2), "break: no indicator after the break")
    h.check(app.running(), "break: the program ended")


def story(session):
    failures = []

    def run(part):
        try:
            part(session)
        except Exception as exc:  # reported by the main thread
            failures.append(exc)

    threads = [threading.Thread(target=run, args=(part,), daemon=True)
               for part in (during_work, during_break)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    if failures:
        raise failures[0]


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=150))
