#!/usr/bin/env python3
"""A first launch and two breaks on a desktop with two monitors, in real time.

One 3360x1080 X screen split by RandR into a 1920x1080 monitor on the left
and a 1440x900 primary one on its right, with openbox, a compositor, trayer
and the maker's server on 127.0.0.1. The welcome window comes first; Return
brings the preferences, the indicator and the first-launch usage event. The
preferences, worked with the keyboard, save a 1-minute work period and
break and the bottom-left corner: the indicator moves there at once and
lets clicks through. Steady input brings a break window on each monitor;
the snooze button closes both. Skip from the tray menu restarts the period.
In the next break the primary monitor goes away: the indicator moves to the
other one, and the break still ends a minute after it began. The history
holds the completed break and the statistics window marks it taken. Quit
ends the program with 0."""

import os
import sqlite3
import sys
import time

import harness as h

TAKEN_GREEN = (0x2e, 0x8b, 0x57)  # the statistics chart's mark for a break taken


def story(session):
    display = session.display(3360, 1080)
    h.require_tools("xrandr")
    # The primary is the virtual one, so that it can go away later.
    display.run("xrandr", "--setmonitor", "M0", "1920/480x1080/270+0+0", "screen")
    display.run("xrandr", "--setmonitor", "*M1", "1440/360x900/225+1920+0", "none")
    display.start_wm()
    display.start_compositor()
    display.start_tray()
    server = h.UsageServer(session)
    app = h.Tamsel(session, display, binary=os.environ["TAMSEL_TESTSERVER_BIN"]).start()

    welcome = display.wait_window(h.WELCOME_TITLE, 5)
    h.check(welcome, "no welcome window within 5 s")
    h.check(not display.indicators() and not server.paths, "the launch went on meanwhile")
    display.answer(welcome[0], "Return")
    h.check(display.wait_gone(h.WELCOME_TITLE, 3), "Return did not close the welcome window")
    prefs = display.wait_window(h.PREFS_TITLE, 5)
    h.check(prefs and app.wait_indicator(3), "no preferences and indicator after the welcome")
    h.check(h.wait_until(lambda: any("evtval=firstlaunch" in p for p in server.paths), 5),
            f"no first-launch event within 5 s: {server.paths}")
    h.check(h.wait_until(lambda: "event-recorded" in app.stdout(), 3), "the server's reply was not printed")

    display.answer(prefs[0], "alt+w", "Next", "Next", "Next", "alt+b", "Down",
                   "alt+p", "Home", "Down", "Down", "Down", "alt+d", "Return")
    ind = h.wait_until(lambda: (w := app.wait_indicator(0)) and w.x == 1920 and w.y == 900 - w.height and w, 3, 0.02)
    h.check(ind, f"indicator not bottom left of the primary monitor: {display.indicators()}")
    stored = app.settings()
    h.check([stored.get(k) for k in ("stpWorkDuration", "stpBreakDuration", "dropdownOsdLocation")]
            == ["1", "1", "3"], f"saved {stored}")
    h.check(display.window_under_pointer(ind.x + ind.width // 2, ind.y + ind.height // 2) != ind.wid,
            "the indicator takes clicks")

    activity = h.Activity(display, 300, 700).start()
    h.check(display.wait_window(h.BREAK_TITLE, 70, count=2), "no two break windows within 70 s of work")
    time.sleep(1)  # the windows take their frames 0.1 s after they show
    wins = display.windows(h.BREAK_TITLE)
    h.check({w.geometry for w in wins} == {(1920, -100, 1440, 1000), (0, -100, 1920, 1180)},
            f"break windows at {wins}")
    display.answer(next(w for w in wins if w.x == 1920), "Tab", "space")  # the main screen's has the keys
    h.check(display.wait_gone(h.BREAK_TITLE, 1.5), "the snooze button did not close both windows")

    time.sleep(1.5)  # the countdown ends the snoozed break at its next tick
    with activity.paused():
        display.choose_from_tray_menu("Skip", button=1)
    time.sleep(0.5)
    h.check(not display.dialogs(), "Skip was refused")

    h.check(display.wait_window(h.BREAK_TITLE, 70, count=2), "no second break")
    began = time.monotonic()
    time.sleep(3)
    display.run("xrandr", "--delmonitor", "M1")
    moved = h.wait_until(lambda: (w := app.wait_indicator(0)) and w.x == 0 and w.y == 1080 - w.height and w, 3)
    h.check(moved, f"the indicator stayed off the remaining monitor: {display.indicators()}")
    h.check(display.wait_gone(h.BREAK_TITLE, 65), "the break windows outlived the break")
    lasted = time.monotonic() - began
    h.note(f"second break lasted {lasted:.1f} s")
    h.check(57 <= lasted <= 64, f"the break lasted {lasted:.1f} s, not a minute")
    h.check(not display.windows(h.BREAK_TITLE, viewable_only=False), "break windows not released")

    db = sqlite3.connect(app.home / ".local/share/tamsel/history.sqlite")
    kinds = [row[0] for row in db.execute("SELECT kind FROM events ORDER BY id")]
    db.close()
    h.check(kinds.count("break_completed") == 1 and kinds[-1] == "break_completed", f"the history holds {kinds}")
    with activity.paused():
        display.choose_from_tray_menu("Statistics…")
        stats = display.wait_window(h.STATS_TITLE, 5)
        h.check(stats, "Statistics… opened no window within 5 s")
        time.sleep(0.5)
        shot = display.screenshot().crop(*stats[0].geometry)
        green = sum(1 for y in range(shot.height) for x in range(shot.width)
                    if all(abs(a - b) <= 3 for a, b in zip(shot.pixel(x, y), TAKEN_GREEN)))
        h.check(green >= 40, f"the statistics window marks no break taken ({green} px)")
        display.choose_from_tray_menu("Quit")
        h.check(app.wait_exit(5) == 0, "Quit did not end the program with 0")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=280))
