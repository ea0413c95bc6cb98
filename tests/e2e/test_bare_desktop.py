#!/usr/bin/env python3
"""openbox with a top panel and no compositor. The indicator sits 20 px
below the panel, and follows when the panel goes and comes back. The break
window covers the whole screen, panel included, and paints the desktop as
the break began under its shade: 40 % of the colours dimmed, 90 % after a
double click (see-through), not solid black."""

import sys
import time

import harness as h

PANEL_H = 30
SPOTS = {"desktop": (200, 300), "panel": (1000, PANEL_H // 2)}


def story(session):
    display = session.display(1920, 1080)
    display.run("xsetroot", "-solid", "#3070c0")
    display.start_wm()

    def panel():
        return session.spawn("panel", [
            "trayer", "--edge", "top", "--widthtype", "percent", "--width", "100", "--height",
            str(PANEL_H), "--SetDockType", "true", "--SetPartialStrut", "true",
            "--transparent", "false"], env=display.env)

    def indicator_at(y):
        h.check(h.wait_until(lambda: [w for w in display.indicators() if w.y == y], 10, 0.05),
                f"indicator not at y {y}: {display.indicators()}")

    bar = panel()
    h.Tamsel(session, display, h.default_settings(stpWorkDuration=1, stpBreakDuration=1)).start()
    indicator_at(PANEL_H + 20)
    session.end(bar)
    indicator_at(20)
    panel()
    indicator_at(PANEL_H + 20)

    activity = h.Activity(display, x=300, y=700).start()
    time.sleep(1.5)  # the tray icon docks again
    before = display.screenshot()
    h.check(display.wait_window(h.BREAK_TITLE, 75), "no break within 75 s")
    time.sleep(0.6)  # placed 0.1 s after it shows, then painted
    wins = display.windows(h.BREAK_TITLE)
    h.check([w.geometry for w in wins] == [(0, -100, 1920, 1180)] and wins[0].override_redirect,
            f"break windows {wins}: expected one over the whole screen, panel included")
    with activity.paused():
        dimmed = display.screenshot()
        display.click(*SPOTS["desktop"], repeat=2)
        time.sleep(0.8)
        see_through = display.screenshot()
    for name, spot in SPOTS.items():
        was = before.pixel(*spot)
        h.note(f"{name}: {was} before, {dimmed.pixel(*spot)} dimmed, "
               f"{see_through.pixel(*spot)} see-through")
        for look, image, share in (("dimmed", dimmed, 0.4), ("see-through", see_through, 0.9)):
            seen = image.pixel(*spot)
            h.check(all(abs(s - b * share) <= 4 for s, b in zip(seen, was)),
                    f"{look} {name} {seen} is not {share:.0%} of {was}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=130))
