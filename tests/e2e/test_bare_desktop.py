#!/usr/bin/env python3
"""A desktop of openbox and a top panel, with no compositor.

The indicator's top-centre corner keeps 20 px below the panel, and follows
when the panel goes and comes back. The break window still covers the whole
screen, panel included, and since nothing blends it with the desktop, it
paints the desktop as the break began under its black: 40 % of the
desktop's colours when dimmed and 90 % after a double click (see-through),
not the solid black X shows for a translucent window without compositor."""

import sys
import time

import harness as h

BACKDROP = "#3070c0"
PANEL_H = 30
SPOT = (200, 300)  # bare desktop under the break window
PANEL_SPOT = (1000, PANEL_H // 2)


def indicator_top(display, want, timeout=5):
    win = h.wait_until(lambda: next((w for w in display.indicators() if w.y == want), None),
                       timeout, 0.05)
    h.check(win, f"indicator not at y {want}: {display.indicators()}")
    return win


def looks_like(seen, before, share, tolerance=4):
    return all(abs(s - b * share) <= tolerance for s, b in zip(seen, before))


def story(session):
    display = session.display(1920, 1080)
    display.run("xsetroot", "-solid", BACKDROP)
    display.start_wm()

    def panel():
        proc = session.spawn("panel", [
            "trayer", "--edge", "top", "--widthtype", "percent", "--width", "100",
            "--height", str(PANEL_H), "--SetDockType", "true", "--SetPartialStrut", "true",
            "--transparent", "false"], env=display.env)
        h.check(h.wait_until(lambda: b" 0, %d," % PANEL_H in display.run(
            "xprop", "-root", "_NET_WORKAREA", check=False), 10), "openbox kept no room for the panel")
        return proc

    bar = panel()
    app = h.Tamsel(session, display)
    app.write_settings(h.default_settings(stpWorkDuration=1, stpBreakDuration=1))
    app.start()
    win = indicator_top(display, PANEL_H + 20)
    h.check(win.override_redirect, "the indicator no longer bypasses the window manager")
    session.end(bar)
    indicator_top(display, 20)
    panel()
    indicator_top(display, PANEL_H + 20)
    h.note("indicator 20 px below the panel, at the top edge without it, below it again")

    activity = h.Activity(display, x=300, y=700).start()
    time.sleep(1.5)  # the icon docks in the panel again
    before = display.screenshot()
    wins = display.wait_window(h.BREAK_TITLE, 75)
    h.check(wins, "no break window within 75 s")
    time.sleep(0.6)  # placed 0.1 s after it shows, then painted
    wins = display.windows(h.BREAK_TITLE)
    h.check([w.geometry for w in wins] == [(0, -100, 1920, 1180)] and wins[0].override_redirect,
            f"break windows {wins}: expected one over the whole screen, panel included")

    with activity.paused():
        dimmed = display.screenshot()
        display.click(*SPOT, repeat=2)
        time.sleep(0.8)
        see_through = display.screenshot()
    for name, image in (("before", before), ("dimmed", dimmed), ("see-through", see_through)):
        image.save(session.logs / f"bare-{name}.ppm")  # kept with TAMSEL_E2E_KEEP=1
    for label, spot in (("desktop", SPOT), ("panel", PANEL_SPOT)):
        was, dim, see = before.pixel(*spot), dimmed.pixel(*spot), see_through.pixel(*spot)
        h.note(f"{label} at {spot}: {was} before, {dim} dimmed, {see} see-through")
        h.check(looks_like(dim, was, 0.4), f"dimmed {label} {dim} is not 40 % of {was}")
        h.check(looks_like(see, was, 0.9), f"see-through {label} {see} is not 90 % of {was}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=130))
