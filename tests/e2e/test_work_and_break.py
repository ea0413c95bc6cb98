#!/usr/bin/env python3
"""A 1-minute work period and a 1-minute break, in real time.

Two screens side by side in time, each on its own X server: on the first a
user moves the pointer once a second, and a break window covering the whole
screen and reaching 100 px above it (1920x1180 at y = -100) must map 45 to
55 s after the start and go again about 60 s later. The history on disk
then holds that one completed break, and the statistics window, opened from
the tray menu, marks it on today's bar. On the second screen nobody touches
anything, and no break may come at all in the same time."""

import sqlite3
import sys
import time

import harness as h

# s after start: 9 or 10 active ticks of 5 s. Qt's coarse timers may move a
# tick up to 5 % (250 ms) early to land on a whole second.
FIRST_BREAK = (44.5, 55.0)
BREAK_LENGTH = (57.0, 63.0)  # s the break window stays: 60 countdown ticks
IDLE_WATCH = 65.0            # s the idle screen must stay free of breaks at least
SETTINGS = h.default_settings(stpWorkDuration=1, stpBreakDuration=1, lblHide=0)
MENU_STATISTICS = 1
TAKEN_GREEN = (0x2e, 0x8b, 0x57)  # the chart's mark for a break taken


def history(app):
    """The kinds of moment the program's history holds, oldest first."""
    path = app.home / ".local/share/tamsel/history.sqlite"
    db = sqlite3.connect(path)
    try:
        return [row[0] for row in db.execute("SELECT kind FROM events ORDER BY id")], path
    finally:
        db.close()


def story(session):
    busy_display = session.display()
    busy_display.start_tray()
    idle_display = session.display()
    busy = h.Tamsel(session, busy_display, name="busy")
    idle = h.Tamsel(session, idle_display, name="idle")
    busy.write_settings(SETTINGS)
    idle.write_settings(SETTINGS)

    activity = h.Activity(busy_display)
    busy.start()
    activity.start()
    idle.start()
    h.check(busy.wait_indicator(5) and idle.wait_indicator(5), "an indicator did not map")

    idle_breaks = []

    def idle_has_break():
        if not idle_breaks and idle_display.windows(h.BREAK_TITLE):
            idle_breaks.append(round(idle.since_start(), 1))

    # Wait for the busy screen's break, glancing at the idle one meanwhile.
    windows, mapped_at = None, None
    deadline = time.monotonic() + FIRST_BREAK[1] + 10
    while time.monotonic() < deadline:
        windows = busy_display.windows(h.BREAK_TITLE)
        if windows:
            mapped_at = busy.since_start()
            break
        idle_has_break()
        time.sleep(0.2)
    h.check(mapped_at is not None,
            f"no break window within {FIRST_BREAK[1] + 10:.0f} s of steady input "
            f"({activity.moves} pointer moves)")
    time.sleep(1.0)  # the window takes its frame 0.1 s after it shows
    windows = busy_display.windows(h.BREAK_TITLE)
    h.note(f"break mapped {mapped_at:.1f} s after start, geometry {windows[0].geometry}, "
           f"{len(windows)} window(s)")
    h.check(FIRST_BREAK[0] <= mapped_at <= FIRST_BREAK[1],
            f"break mapped after {mapped_at:.1f} s, expected {FIRST_BREAK[0]:.1f}-"
            f"{FIRST_BREAK[1]:.0f} s")
    h.check(len(windows) == 1, f"one screen but {len(windows)} break windows")
    h.check(windows[0].geometry == (0, -100, 1920, 1180),
            f"break window at {windows[0].geometry}, expected (0, -100, 1920, 1180)")

    # The break runs its minute while the user keeps working, then goes.
    gone_at = None
    deadline = time.monotonic() + BREAK_LENGTH[1] + 8
    while time.monotonic() < deadline:
        if not busy_display.windows(h.BREAK_TITLE):
            gone_at = busy.since_start()
            break
        idle_has_break()
        time.sleep(0.2)
    h.check(gone_at is not None, f"break window still mapped {BREAK_LENGTH[1] + 8:.0f} s on")
    lasted = gone_at - mapped_at
    h.note(f"break window unmapped {gone_at:.1f} s after start: shown for {lasted:.1f} s")
    h.check(BREAK_LENGTH[0] <= lasted <= BREAK_LENGTH[1],
            f"break lasted {lasted:.1f} s, expected {BREAK_LENGTH[0]:.0f}-{BREAK_LENGTH[1]:.0f} s")
    h.check(busy.running(), "the program ended during the break")
    # A closed break window is released, not just hidden (about 9 MB each).
    h.check(h.wait_until(lambda: not busy_display.windows(h.BREAK_TITLE, viewable_only=False), 3),
            "the break window still exists, unmapped, after the break")
    h.check(busy.wait_indicator(2), "the indicator is gone after the break")

    kinds, path = history(busy)
    h.note(f"history after the break: {kinds}")
    h.check(kinds == ["break_started_due", "break_completed"],
            f"the history holds {kinds}, expected the break's start and completion")
    modes = {p.name: oct(p.stat().st_mode & 0o777) for p in [path.parent] + sorted(
        path.parent.glob("history.sqlite*"))}
    h.check(set(modes.values()) <= {"0o700", "0o600"} and modes[path.parent.name] == "0o700",
            f"history files not owner-only: {modes}")
    activity.stop()
    busy_display.choose_from_tray_menu(MENU_STATISTICS)
    stats = busy_display.wait_window(h.STATS_TITLE, 5)
    h.check(stats, "Statistics… opened no window within 5 s")
    time.sleep(0.5)
    shot = busy_display.screenshot().crop(*stats[0].geometry)
    green = sum(1 for y in range(shot.height) for x in range(shot.width)
                if all(abs(a - b) <= 3 for a, b in zip(shot.pixel(x, y), TAKEN_GREEN)))
    h.note(f"statistics window at {stats[0].geometry}: {green} px of the taken mark's green")
    h.check(green >= 40, "the statistics window marks no break taken today")

    # The idle screen: watched for at least IDLE_WATCH s, without a break.
    while idle.since_start() < IDLE_WATCH:
        idle_has_break()
        time.sleep(0.2)
    idle_has_break()
    h.note(f"idle screen watched for {idle.since_start():.1f} s: "
           f"{f'break at {idle_breaks[0]} s' if idle_breaks else 'no break'}")
    h.check(not idle_breaks, f"a break came without any input, {idle_breaks} s after start")
    h.check(idle.running(), "the idle program ended by itself")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=210))
