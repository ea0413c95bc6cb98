#!/usr/bin/env python3
"""The tray menu's Skip and Quit, with trayer as the tray and a session bus.

After some work the indicator shows several squares; Skip puts it back to
one square at once, and a second Skip right after is refused with an alert.
Quit ends the program with status 0."""

import sys
import time

import harness as h
from faults_support import squares

# A 3-minute period has a bar step of 13: the tick that Skip runs at once
# (+5) and the next one, still active from the menu's keys (+5), both leave
# one square.
SETTINGS = h.default_settings(stpWorkDuration=3, stpBreakDuration=1, dropdownOsdLocation=3)
MENU_SKIP, MENU_QUIT = 5, 6  # Preferences…, Statistics…, Help, Take a break now, Pause, Skip, Quit


def story(session):
    display = session.display()
    display.start_compositor()  # the compositor's plain grey shows behind the squares
    display.start_tray()
    app = h.Tamsel(session, display, bus=session.session_bus())
    app.write_settings(SETTINGS)
    app.start()
    win = app.wait_indicator(5)
    h.check(win, "no indicator")
    time.sleep(0.5)
    start_count = squares(display, win)
    h.note(f"indicator at {win.geometry}: {start_count} square(s) at start")
    h.check(start_count == 1, f"{start_count} squares at start, expected 1")
    h.check(display.tray_icon(), "no icon docked in the tray")
    h.check(not display.windows(h.NO_TRAY_TITLE), "the no-tray notice shows although a tray runs")

    activity = h.Activity(display, x=900, y=500).start()
    def three_or_more():
        n = squares(display, win)
        return n if n >= 3 else None
    grown = h.wait_until(three_or_more, 50, 1)
    h.check(grown, "the bar did not grow to three squares within 50 s of work")
    h.note(f"{grown} squares after {app.since_start():.1f} s of work")
    activity.stop()

    display.choose_from_tray_menu(MENU_SKIP)
    chosen = time.monotonic()
    reset = h.wait_until(lambda: squares(display, win) == 1, 3, 0.1)
    h.note(f"Skip: one square again after {time.monotonic() - chosen:.2f} s")
    h.check(reset, f"Skip left {squares(display, win)} squares")
    h.check(not display.dialogs(), "the first Skip was refused")

    # Within 3000 s of the last skip, no second one.
    display.choose_from_tray_menu(MENU_SKIP)
    alert = h.wait_until(display.dialogs, 3, 0.05)
    h.check(alert, "a second Skip right after the first brought no alert")
    h.note(f"second Skip refused with an alert at {alert[0].geometry}")
    display.focus(alert[0].wid)
    display.key("Return")
    h.check(h.wait_until(lambda: not display.dialogs(), 3), "Return did not close the alert")

    display.choose_from_tray_menu(MENU_QUIT)
    chosen = time.monotonic()
    status = app.wait_exit(5)
    h.check(status is not None, "Quit did not end the program within 5 s")
    h.note(f"Quit: exit status {status} after {time.monotonic() - chosen:.2f} s")
    h.check(status == 0, f"Quit ended the program with status {status}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=110))
