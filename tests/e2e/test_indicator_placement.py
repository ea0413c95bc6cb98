#!/usr/bin/env python3
"""The progress indicator maps within 2 s in the stored corner of a
1920x1080 screen: top positions 20 px below the top edge, bottom ones on the
bottom edge, side ones flush with the sides; an unknown corner number means
bottom right. Once more under a window manager, which must not move it.
There is no tray here, so the program also says that in its notice."""

import sys

import harness as h

SCREEN_W, SCREEN_H = 1920, 1080
MAP_LIMIT = 2.0


def expected_origin(corner, w, hgt):
    x = {0: 0, 1: (SCREEN_W - w) / 2, 2: SCREEN_W - w,
         3: 0, 4: (SCREEN_W - w) / 2}.get(corner, SCREEN_W - w)
    y = 20 if corner in (0, 1, 2) else SCREEN_H - hgt
    return x, y


def place(session, display, corner, label, tray_notice=False):
    app = h.Tamsel(session, display, name=f"corner{corner}-{label}")
    app.write_settings(h.default_settings(dropdownOsdLocation=corner))
    app.start()
    win = app.wait_indicator(timeout=MAP_LIMIT + 3)
    mapped_after = app.since_start()
    h.check(win is not None, f"corner {corner} ({label}): no indicator within {MAP_LIMIT + 3} s")
    ex, ey = expected_origin(corner, win.width, win.height)
    h.note(f"corner {corner} ({label}): mapped after {mapped_after:.2f} s at {win.geometry}, "
           f"expected origin ({ex}, {ey})")
    h.check(mapped_after <= MAP_LIMIT,
            f"corner {corner}: indicator mapped after {mapped_after:.2f} s (limit {MAP_LIMIT} s)")
    # A centred window of odd width sits half a pixel off; anything more is wrong.
    h.check(abs(win.x - ex) <= 0.5 and win.y == ey,
            f"corner {corner}: indicator at ({win.x}, {win.y}), expected ({ex}, {ey})")
    h.check(0 < win.width <= 600 and 0 < win.height <= 120,
            f"corner {corner}: indicator of implausible size {win.width}x{win.height}")
    h.check(len(display.indicators()) == 1, f"corner {corner}: more than one indicator mapped")
    if tray_notice:
        # No tray on this display: the program says so and runs on.
        notice = display.wait_window(h.NO_TRAY_TITLE, 3)
        h.check(notice, f"no window titled {h.NO_TRAY_TITLE!r} without a tray")
        h.note(f"tray notice at {notice[0].geometry}")
    app.stop()
    h.check(display.wait_gone(h.INDICATOR_TITLE, 3), f"corner {corner}: indicator outlived its run")
    return win


def story(session):
    display = session.display(SCREEN_W, SCREEN_H)
    sizes = set()
    for corner in (0, 1, 2, 3, 4, 5, 9):
        sizes.add(place(session, display, corner, "no WM", tray_notice=corner == 0).width)
    # The size is the view's own and must not depend on the corner.
    h.check(len(sizes) == 1, f"indicator width changes with the corner: {sorted(sizes)}")

    display.start_wm()
    for corner in (1, 5):
        place(session, display, corner, "openbox")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=50))
