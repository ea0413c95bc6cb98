#!/usr/bin/env python3
"""Idle time on a real headless Wayland desktop: test_wayland_idle.py kwin|sway|mutter.

Tamsel runs on the desktop's XWayland, as it does by default there, and
must take the idle time from the compositor itself (XWayland sees no input
to native windows). It names its source on stderr at start. With a 1-minute
work period: nobody touches anything for 60 s, and no break comes; then a
second run gets input every second, and its break shows 45 s +- 5 s after
its start. On KWin and sway the indicator and the break are layer-shell
surfaces, seen in screenshots over a native window, and the break takes
Tab and Space (a snooze) from the compositor's keyboard."""

import sys
import time

import compositors
import harness as h

SOURCE = {"kwin": "ext-idle-notify-v1", "sway": "org_kde_kwin_idle",
          "mutter": "org.gnome.Mutter.IdleMonitor"}
SETTINGS = h.default_settings(stpWorkDuration=1, stpBreakDuration=1)
AWAY = 60.0          # s without input, without a break
BREAK = (40.0, 50.0)  # s after start, with input every second


def story(session, kind):
    desktop = compositors.start(session, kind)
    if desktop.layer_shell:
        desktop.native_window()

    away = desktop.tamsel(SETTINGS, name="away").start()
    h.check(h.wait_until(desktop.indicator_box, 10, 0.5), "no indicator")
    line = f"tamsel: idle time from {SOURCE[kind]}\n"
    h.check(h.wait_until(lambda: line in away.stderr(), 5),
            f"stderr does not say {line.strip()!r}: {away.stderr()!r}")
    h.note(f"{kind}: {line.strip()}")
    while away.since_start() < AWAY:
        h.check(not desktop.break_shown(),
                f"a break came {away.since_start():.1f} s after start without any input")
        time.sleep(1.0)
    h.note(f"{kind}: no break in {away.since_start():.1f} s without input")
    away.stop()

    busy = desktop.tamsel(SETTINGS, name="busy")
    activity = h.Activity(desktop, x=700, y=500)
    busy.start()
    activity.start()
    h.check(h.wait_until(desktop.indicator_box, 10, 0.5), "no indicator for the second run")
    mapped = h.wait_until(lambda: desktop.break_shown() and busy.since_start(),
                          BREAK[1] + 10, 0.2)
    h.check(mapped, f"no break within {BREAK[1] + 10:.0f} s of input every second "
                    f"({activity.moves} moves)")
    h.note(f"{kind}: break window mapped {mapped:.1f} s after start ({activity.moves} moves)")
    h.check(BREAK[0] <= mapped <= BREAK[1],
            f"break after {mapped:.1f} s, expected {BREAK[0]:.0f}-{BREAK[1]:.0f} s")
    activity.stop()
    if desktop.layer_shell:
        # The break's own keyboard: Tab to the snooze button, Space presses it.
        desktop.key("Tab")
        desktop.key("space")
        h.check(h.wait_until(lambda: not desktop.break_shown(), 3, 0.2),
                "Tab and Space on the break did not snooze it")
        h.check(busy.running(), "Tamsel ended when the break was snoozed")


if __name__ == "__main__":
    if len(sys.argv) != 2 or sys.argv[1] not in SOURCE:
        sys.exit(f"usage: {sys.argv[0]} {'|'.join(SOURCE)}")
    sys.exit(h.run_story(lambda session: story(session, sys.argv[1]), timeout=160))
