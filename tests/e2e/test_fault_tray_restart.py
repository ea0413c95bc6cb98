#!/usr/bin/env python3
"""The tray goes away and comes back, as when a panel crashes and restarts.

With trayer as the tray, the icon docks; trayer is killed; the program keeps
running and its indicator stays; a new trayer starts and the icon docks in
it by itself, and its menu still opens."""

import sys
import time

import faults_support as f
import harness as h


def story(session):
    display = session.display()
    tray = f.start_tray(display)
    app = h.Tamsel(session, display)
    app.write_settings(h.default_settings())
    app.start()
    h.check(app.wait_indicator(5), "no indicator")
    icon = h.wait_until(display.tray_icon, 5)
    h.check(icon and f.docked_icon_owner(display) == "tamsel", "the icon did not dock at start")
    h.note(f"icon docked at {icon}")

    h.Session.end(tray)
    h.check(h.wait_until(lambda: not display.selection_owned("_NET_SYSTEM_TRAY_S0"), 5),
            "the tray selection outlived trayer")
    time.sleep(2)
    h.check(app.running(), "the program ended with its tray")
    h.check(display.indicators(), "the indicator went with the tray")
    h.note("trayer ended; the program runs on")

    f.start_tray(display)
    restarted = time.monotonic()
    docked = h.wait_until(lambda: f.docked_icon_owner(display), 10, 0.1)
    h.check(docked == "tamsel", "the icon did not dock in the new tray within 10 s")
    icon = display.tray_icon()
    h.note(f"icon docked in the new tray {time.monotonic() - restarted:.2f} s after it started, "
           f"at {icon}")
    display.click(*icon, button=3)
    h.check(h.wait_until(display.popup_menus, 3, 0.05), "the icon's menu did not open")
    display.key("Escape")
    h.check(h.wait_until(lambda: not display.popup_menus(), 3), "Escape left the menu open")
    h.check(not display.windows(h.NO_TRAY_TITLE), "a no-tray notice showed")
    h.check(app.running(), "the program ended")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=60))
