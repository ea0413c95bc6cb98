#!/usr/bin/env python3
"""A screen goes away during a break.

One 3360x1080 X screen split by RandR into a 1920x1080 monitor on the left
and a 1440x1080 primary one on the right, where the indicator sits. A break
comes after a 1-minute work period with a window on each monitor; 5 s into
it the primary monitor is removed (`xrandr --delmonitor`), as when a laptop
leaves its dock. The program does not crash, the break still ends on time
(about 60 s after it began), and the indicator moves to the monitor that is
left, at its top centre."""

import sys
import time

import harness as h

SETTINGS = h.default_settings(stpWorkDuration=1, stpBreakDuration=1, dropdownOsdLocation=1)
BREAK_LENGTH = (57.0, 63.0)  # s
INDICATOR_WIDTH = 208


def monitors(display):
    return display.run("xrandr", "--listmonitors").decode().splitlines()[1:]


def story(session):
    h.require_tools("xrandr")
    display = session.display(3360, 1080)
    display.run("xrandr", "--setmonitor", "M0", "1920/480x1080/270+0+0", "screen")
    display.run("xrandr", "--setmonitor", "*M1", "1440/360x1080/270+1920+0", "none")
    h.note("monitors: " + " | ".join(m.strip() for m in monitors(display)))
    display.start_tray()
    app = h.Tamsel(session, display)
    app.write_settings(SETTINGS)
    app.start()
    win = app.wait_indicator(5)
    h.check(win, "no indicator")
    h.check(win.x >= 1920, f"the indicator is not on the primary monitor: {win.geometry}")
    h.note(f"indicator at {win.geometry}")

    h.Activity(display, x=300, y=700).start()
    shown = display.wait_window(h.BREAK_TITLE, 70, count=2)
    h.check(shown, "no two break windows within 70 s of work")
    mapped = time.monotonic()
    time.sleep(1)
    h.note("break windows: " + ", ".join(str(w.geometry) for w in
                                         display.windows(h.BREAK_TITLE)))

    time.sleep(4)
    display.run("xrandr", "--delmonitor", "M1")
    h.note("M1 removed 5 s into the break; left: " +
           " | ".join(m.strip() for m in monitors(display)))

    moved = h.wait_until(lambda: next((w for w in display.indicators() if w.x < 1920), None), 3)
    h.check(moved, f"the indicator stayed off the remaining monitor: {display.indicators()}")
    h.note(f"indicator re-placed at {moved.geometry} "
           f"{time.monotonic() - mapped - 5:.2f} s after the removal")
    h.check(moved.x == (1920 - INDICATOR_WIDTH) // 2 and moved.y == 20,
            f"indicator at {moved.geometry}, expected the top centre of the left monitor")

    gone = display.wait_gone(h.BREAK_TITLE, BREAK_LENGTH[1] + 3)
    lasted = time.monotonic() - mapped
    h.check(gone, f"break windows still up {lasted:.0f} s after the break began")
    h.note(f"break windows gone after {lasted:.1f} s")
    h.check(BREAK_LENGTH[0] <= lasted <= BREAK_LENGTH[1] + 1,
            f"the break lasted {lasted:.1f} s, expected about 60 s")
    h.check(app.running(), "the program ended")
    after = app.wait_indicator(2)
    h.check(after and after.geometry == moved.geometry,
            f"indicator after the break at {after and after.geometry}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=150))
