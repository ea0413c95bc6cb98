#!/usr/bin/env python3
"""The indicator and a break as layer-shell surfaces on a real headless
desktop, over a native window: test_layer_shell.py kwin|sway.

Tamsel runs on XWayland as usual, a fullscreen native Wayland window (green)
logs every click and key it gets, and the pictures come from the compositor
(grim on sway, KWin's ScreenShot2). With a 1-minute work period, a 1-minute
break and input every second:
  * the indicator is drawn in the top-right corner, 20 points below the top
    and flush with the right edge, and no X11 indicator is mapped;
  * a click on it reaches the native window;
  * the break dims the whole output and holds the keyboard; clicks anywhere
    and typed keys reach nothing native, not even after the native window
    asked to be raised (a new window, xdg-activation); a double click
    switches to the see-through look and back;
  * the break ends on time and leaves no surface behind: the output is the
    native window's again and takes clicks and keys."""

import sys
import time

import compositors
import harness as h

SETTINGS = h.default_settings(stpWorkDuration=1, stpBreakDuration=1, dropdownOsdLocation=2)
GREEN, BLUE = compositors.NativeWindow.GREEN, compositors.NativeWindow.BLUE
BREAK_AFTER = 60.0  # s of input before the break must have come
BREAK_LENGTH = (57.0, 65.0)
# Places a click may go during the break: corners, edges, over the text;
# away from the snooze button (below the centre).
AWAY = [(60, 60), (1860, 1020), (960, 200), (300, 900), (1700, 540)]


def story(session, kind):
    desktop = compositors.start(session, kind)
    native = desktop.native_window()
    app = desktop.tamsel(SETTINGS)
    activity = h.Activity(desktop, x=700, y=500)
    app.start()
    activity.start()

    # The indicator, in its corner of the screenshot, and on no X11 window.
    box = h.wait_until(desktop.indicator_box, 15, 0.5)
    h.check(box, "no indicator drawn")
    h.note(f"{kind}: indicator drawn at x {box[0]}-{box[2]}, y {box[1]}-{box[3]}")
    h.check(box[2] >= 1920 - 12 and 20 <= box[1] <= 32 and box[3] <= 20 + 34,
            f"the indicator is not in the top-right corner, 20 below the top: {box}")
    h.check(not desktop.x.indicators(), "an X11 indicator window is mapped as well")

    # Click-through: the click lands in the native window.
    at = ((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)
    with activity.paused():
        seen = len(native.lines())
        desktop.click(*at)
        got = h.wait_until(lambda: native.events(seen, ("click",)), 3)
    h.check(got and (int(got[0][1]), int(got[0][2])) == at,
            f"a click on the indicator at {at} did not reach the native window: {got}")

    # The break dims the whole output, over the fullscreen native window.
    def shade():
        return desktop.screenshot().pixel(960, 200)[1]

    time.sleep(max(0.0, 35.0 - app.since_start()))
    dimmed = h.wait_until(lambda: desktop.break_shown() and app.since_start(),
                          BREAK_AFTER - 35, 0.3)
    h.check(dimmed, f"no break dimmed the output within {BREAK_AFTER:.0f} s")
    began = time.monotonic()
    activity.stop()
    h.note(f"{kind}: the break showed {dimmed:.1f} s after start")
    h.check(not desktop.x.windows(h.BREAK_TITLE), "an X11 break window is mapped as well")
    seen = len(native.lines())

    for (x, y) in AWAY[:3]:
        desktop.click(x, y)
    desktop.key("a")
    desktop.key("Escape")
    native.ask_to_be_raised()
    desktop.key("a")
    time.sleep(1.0)
    for (x, y) in AWAY[3:]:
        desktop.click(x, y)
    desktop.key("a")
    # A double click on the background: see-through, and back.
    desktop.click(400, 300)
    desktop.click(400, 300)
    clear = h.wait_until(lambda: (g := shade()) > 130 and g, 3, 0.2)
    h.check(clear, f"a double click did not switch to the see-through look: green {shade()}")
    desktop.click(400, 300)
    desktop.click(400, 300)
    h.check(h.wait_until(lambda: shade() < 100, 3, 0.2), "a second double click did not dim again")
    leaked = native.events(seen)
    h.check(not leaked, f"input reached the native windows during the break: {leaked}")
    focus = native.events(seen, ("focus", "blur"))
    h.check(not focus or focus[-1][0] == "blur",
            f"a native window holds the keyboard during the break: {focus}")
    h.note(f"{kind}: during the break nothing reached the native windows "
           f"(focus lines: {native.events(seen, ('focus', 'blur'))})")

    # The end: the output is the native windows' again.
    back = h.wait_until(lambda: desktop.screenshot().pixel(960, 200) in (GREEN, BLUE),
                        BREAK_LENGTH[1] + 5, 0.3)
    length = time.monotonic() - began
    h.check(back, "the break did not end")
    h.note(f"{kind}: the break lasted {length:.1f} s")
    h.check(BREAK_LENGTH[0] <= length <= BREAK_LENGTH[1], f"the break lasted {length:.1f} s")
    shot = desktop.screenshot()
    left = [(x, y, shot.pixel(x, y)) for (x, y) in AWAY if shot.pixel(x, y) not in (GREEN, BLUE)]
    h.check(not left, f"something is still drawn over the native windows: {left}")
    seen = len(native.lines())
    desktop.click(960, 200)
    desktop.key("a")
    h.check(h.wait_until(lambda: len(native.events(seen)) >= 2, 3),
            f"after the break a click and a key do not reach the native window: "
            f"{native.lines()[seen:]}")
    h.check("X11 windows from now on" not in app.stderr(), "Tamsel fell back to X11 windows")


if __name__ == "__main__":
    if len(sys.argv) != 2 or sys.argv[1] not in ("kwin", "sway"):
        sys.exit(f"usage: {sys.argv[0]} kwin|sway")
    sys.exit(h.run_story(lambda session: story(session, sys.argv[1]), timeout=170))
