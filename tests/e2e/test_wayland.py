#!/usr/bin/env python3
"""Tamsel on a real headless Wayland desktop: test_wayland.py kwin|sway|mutter.

Tamsel runs on XWayland and must take the idle time from the compositor,
and name its source on stderr. With a 1-minute work period: a first run
gets no input for 60 s and no break; a second gets input every second and
its break shows 45 s +- 5 s after its start. On KWin and sway, over a
fullscreen native window that logs the clicks and keys it gets, the
indicator and the break are layer-shell surfaces (seen in the compositor's
screenshots): the indicator sits in the top-right corner and lets a click
through; during the break clicks anywhere and typed keys reach nothing
native, even after the native window asked to be raised, and a double click
switches to the see-through look and back; the break ends on time and
leaves no surface behind."""

import sys
import time

import compositors
import harness as h

SOURCE = {"kwin": "ext-idle-notify-v1", "sway": "org_kde_kwin_idle", "mutter": "org.gnome.Mutter.IdleMonitor"}
SETTINGS = h.default_settings(stpWorkDuration=1, stpBreakDuration=1, dropdownOsdLocation=2)
GREEN, BLUE = compositors.NativeWindow.GREEN, compositors.NativeWindow.BLUE
# Clicks during the break: corners, edges, over the text; away from the snooze button.
AWAY = [(60, 60), (1860, 1020), (960, 200), (300, 900), (1700, 540)]


def story(session, kind):
    desktop = compositors.start(session, kind)
    native = desktop.layer_shell and compositors.NativeWindow(desktop)

    away = desktop.tamsel(SETTINGS, name="away").start()
    h.check(h.wait_until(desktop.indicator_box, 10, 0.5), "no indicator")
    line = f"tamsel: idle time from {SOURCE[kind]}\n"
    h.check(h.wait_until(lambda: line in away.stderr(), 5), f"stderr does not say {line!r}: {away.stderr()!r}")
    while away.since_start() < 60:
        h.check(not desktop.break_shown(), f"a break came {away.since_start():.1f} s after start without input")
        time.sleep(1.0)
    away.stop()

    app = desktop.tamsel(SETTINGS, name="busy").start()
    activity = h.Activity(desktop, x=700, y=500).start()
    box = h.wait_until(desktop.indicator_box, 15, 0.5)
    h.check(box, "no indicator for the second run")
    if native:
        h.note(f"{kind}: indicator drawn at {box}")
        h.check(box[2] >= 1920 - 12 and 20 <= box[1] <= 32 and box[3] <= 20 + 34,
                f"the indicator is not in the top-right corner, 20 below the top: {box}")
        h.check(not desktop.x.indicators(), "an X11 indicator window is mapped as well")
        at = ((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)
        with activity.paused():
            seen = len(native.lines())
            desktop.click(*at)
            got = h.wait_until(lambda: native.events(seen, ("click",)), 3)
        h.check(got and (int(got[0][1]), int(got[0][2])) == at,
                f"a click on the indicator at {at} did not reach the native window: {got}")

    shown = h.wait_until(lambda: desktop.break_shown() and app.since_start(), 60, 0.2)
    began = time.monotonic()
    activity.stop()
    h.note(f"{kind}: break {shown} s after start ({activity.moves} moves)")
    h.check(shown and 40 <= shown <= 50, f"break after {shown} s of input every second, not 40-50 s")
    if not native:
        return
    h.check(not desktop.x.windows(h.BREAK_TITLE), "an X11 break window is mapped as well")
    seen = len(native.lines())
    for (x, y) in AWAY[:3]:
        desktop.click(x, y)
    desktop.key("a")
    desktop.key("Escape")
    native.ask_to_be_raised()
    desktop.key("a")
    time.sleep(1.0)  # the raise takes effect, if the compositor grants it
    for (x, y) in AWAY[3:]:
        desktop.click(x, y)
    desktop.key("a")
    shade = lambda: desktop.screenshot().pixel(960, 200)[1]
    for clear in (True, False):  # a double click: see-through, and back
        desktop.click(400, 300)
        desktop.click(400, 300)
        h.check(h.wait_until(lambda: shade() > 130 if clear else shade() < 100, 3, 0.2), f"double click: green {shade()}")
    leaked = native.events(seen)
    h.check(not leaked, f"input reached the native windows during the break: {leaked}")
    focus = native.events(seen, ("focus", "blur"))
    h.check(not focus or focus[-1][0] == "blur", f"a native window holds the keyboard during the break: {focus}")

    back = h.wait_until(lambda: desktop.screenshot().pixel(960, 200) in (GREEN, BLUE), 70, 0.3)
    length = time.monotonic() - began
    h.note(f"{kind}: the break lasted {length:.1f} s")
    h.check(back and 57 <= length <= 65, f"the break did not end after a minute ({length:.1f} s)")
    shot = desktop.screenshot()
    left = [(x, y, shot.pixel(x, y)) for (x, y) in AWAY if shot.pixel(x, y) not in (GREEN, BLUE)]
    h.check(not left, f"something is still drawn over the native windows: {left}")
    seen = len(native.lines())
    desktop.click(960, 200)
    desktop.key("a")
    h.check(h.wait_until(lambda: len(native.events(seen)) >= 2, 3),
            f"after the break a click and a key do not reach the native window: {native.lines()[seen:]}")
    h.check("X11 windows from now on" not in app.stderr(), "Tamsel fell back to X11 windows")


if __name__ == "__main__":
    if sys.argv[1:] not in ([k] for k in SOURCE):
        sys.exit(f"usage: {sys.argv[0]} {'|'.join(SOURCE)}")
    sys.exit(h.run_story(lambda session: story(session, sys.argv[1]), timeout=260))
