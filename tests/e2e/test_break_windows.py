#!/usr/bin/env python3
"""Break windows on two monitors, their look, and the snooze.

One 3360x1080 X screen split by RandR into a 1920x1080 primary monitor and a
1440x900 one beside it, with a compositor so translucency is real. After a
1-minute work period each monitor gets a break window reaching 100 px above
it. A double click on one switches its look between dimmed and see-through
and leaves the other alone. The snooze button closes the windows at once,
and the next break follows after about one more minute of activity (the
progress restarts 60 below the work period: -15 of 45)."""

import sys
import time

import harness as h

MONITORS = [(1920, 1080, 0, 0), (1440, 900, 1920, 0)]
EXPECTED = {(0, -100, 1920, 1180), (1920, -100, 1440, 1000)}
NEXT_BREAK = (50.0, 70.0)  # s after the snooze: twelve active ticks of 5 s
SETTINGS = h.default_settings(stpWorkDuration=1, stpBreakDuration=1, lblSnooze=1, lblHide=0,
                              dropdownOsdLocation=0)
# The part of the first monitor that shows the break window's content; the
# indicator sits above it in the top-left corner.
LEFT = (0, 80, 1920, 940)
RIGHT = (1920, 80, 1440, 760)
SPOT = (200, 300)  # a point of the left break window's bare background


def bands(image, background, tolerance=40):
    """Runs of rows holding something other than the plain background:
    the controls drawn on a break window, top to bottom, as (first, last) rows."""
    runs, start = [], None
    w = image.width
    for y in range(image.height):
        row = image.data[y * w * 3:(y + 1) * w * 3]
        busy = any(abs(row[i] - background) > tolerance for i in range(0, len(row), 3))
        if busy and start is None:
            start = y
        elif not busy and start is not None:
            runs.append((start, y - 1))
            start = None
    if start is not None:
        runs.append((start, image.height - 1))
    return runs


def columns(image, first, last, background, tolerance=40):
    xs = [x for x in range(image.width) for y in range(first, last + 1)
          if abs(image.pixel(x, y)[0] - background) > tolerance]
    return min(xs), max(xs)


def story(session):
    display = session.display(3360, 1080, monitors=MONITORS)
    display.start_compositor()
    display.start_tray()  # else the notice about a missing tray lies under the break
    app = h.Tamsel(session, display)
    app.write_settings(SETTINGS)
    activity = h.Activity(display, x=300, y=700)
    app.start()
    activity.start()

    wins = display.wait_window(h.BREAK_TITLE, 70, count=2)
    h.check(wins, f"no two break windows within 70 s: {display.windows(h.BREAK_TITLE)}")
    first_break = app.since_start()
    time.sleep(1.0)  # the windows take their frames 0.1 s after they show
    wins = display.windows(h.BREAK_TITLE)
    h.note(f"first break after {first_break:.1f} s: {[w.geometry for w in wins]}")
    h.check({w.geometry for w in wins} == EXPECTED,
            f"break windows at {sorted(w.geometry for w in wins)}, expected {sorted(EXPECTED)}")

    # Double clicks switch the look of the clicked window only.
    with activity.paused():
        dimmed = display.screenshot()
        display.click(*SPOT, repeat=2)
        time.sleep(0.8)
        see_through = display.screenshot()
    left_dim, left_see = dimmed.crop(*LEFT).mean(), see_through.crop(*LEFT).mean()
    right_dim, right_see = dimmed.crop(*RIGHT).mean(), see_through.crop(*RIGHT).mean()
    h.note(f"mean brightness left {left_dim:.1f} -> {left_see:.1f}, "
           f"right {right_dim:.1f} -> {right_see:.1f} after a double click on the left")
    h.check(left_see - left_dim > 30, "a double click did not make the left window see-through "
                                      f"({left_dim:.1f} -> {left_see:.1f})")
    h.check(abs(right_see - right_dim) < 3, "a double click on the left changed the right window "
                                            f"({right_dim:.1f} -> {right_see:.1f})")

    with activity.paused():
        display.click(*SPOT, repeat=2)
        time.sleep(0.8)
        dimmed_again = display.screenshot()
    left_again = dimmed_again.crop(*LEFT).mean()
    for name, image in (("dimmed", dimmed), ("see-through", see_through),
                        ("dimmed-again", dimmed_again)):
        image.save(session.logs / f"break-{name}.ppm")  # kept with TAMSEL_E2E_KEEP=1
    h.note(f"second double click: left {left_see:.1f} -> {left_again:.1f}")
    h.check(abs(left_again - left_dim) < 3, "a second double click did not dim the window again "
                                            f"({left_dim:.1f}, then {left_again:.1f})")

    # The snooze button is the lowest control that see-through mode hides.
    background = dimmed_again.pixel(*SPOT)[0]
    shown = bands(dimmed_again.crop(*LEFT), background)
    bare = bands(see_through.crop(*LEFT), see_through.pixel(*SPOT)[0])
    h.note(f"controls (rows) dimmed {shown}, see-through {bare}")
    h.check(shown and bare and shown[-1][0] > bare[-1][1],
            "no control below the progress bar that see-through mode hides")
    top, bottom = shown[-1]
    left_x, right_x = columns(dimmed_again.crop(*LEFT), top, bottom, background)
    button = ((left_x + right_x) // 2 + LEFT[0], (top + bottom) // 2 + LEFT[1])
    h.note(f"snooze button at x {left_x}-{right_x}, y {top + LEFT[1]}-{bottom + LEFT[1]}: "
           f"clicking {button}")

    with activity.paused():
        display.click(*button)
        snoozed = time.monotonic()
        first_gone = h.wait_until(lambda: len(display.windows(h.BREAK_TITLE)) < 2, 3, 0.02)
        first_gone_after = time.monotonic() - snoozed
        all_gone = h.wait_until(lambda: not display.windows(h.BREAK_TITLE), 3, 0.02)
        all_gone_after = time.monotonic() - snoozed
    h.note(f"snooze: first window gone after {first_gone_after:.2f} s, "
           f"all gone after {all_gone_after:.2f} s")
    h.check(first_gone and first_gone_after < 0.5, "the snoozed window did not close at once")
    h.check(all_gone and all_gone_after < 1.5, "the other break window stayed after the snooze")

    again = display.wait_window(h.BREAK_TITLE, NEXT_BREAK[1] + 5, count=2)
    after = time.monotonic() - snoozed
    h.check(again, f"no break within {NEXT_BREAK[1] + 5:.0f} s after the snooze")
    time.sleep(1.0)
    again = display.windows(h.BREAK_TITLE)
    h.note(f"next break {after:.1f} s after the snooze: {[w.geometry for w in again]}")
    h.check(NEXT_BREAK[0] <= after <= NEXT_BREAK[1],
            f"next break {after:.1f} s after the snooze, expected {NEXT_BREAK[0]:.0f}-"
            f"{NEXT_BREAK[1]:.0f} s")
    h.check({w.geometry for w in again} == EXPECTED, "the next break's windows moved")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=210))
