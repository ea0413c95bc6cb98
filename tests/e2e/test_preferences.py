#!/usr/bin/env python3
"""Preferences, opened from the tray menu and worked with the keyboard.

A Save with two different passwords is refused with an alert and changes
nothing. Once corrected, Save stores every value and moves the indicator to
the chosen corner at once."""

import sys
import time

import harness as h

SETTINGS = h.default_settings(uid=4242, stpWorkDuration=30, dropdownOsdLocation=1)
MENU_PREFERENCES = 0


def story(session):
    display = session.display()
    display.start_wm()
    display.start_tray()
    app = h.Tamsel(session, display)
    app.write_settings(SETTINGS)
    app.start()
    before = app.wait_indicator(5)
    h.check(before, "no indicator")
    h.check(before.y == 20, f"indicator not at the top to begin with: {before.geometry}")
    stored = app.settings_path.read_bytes()

    display.choose_from_tray_menu(MENU_PREFERENCES)
    prefs = display.wait_window(h.PREFS_TITLE, 5)
    h.check(prefs, f"no window titled {h.PREFS_TITLE!r}")
    prefs = prefs[0]
    h.note(f"preferences at {prefs.geometry}")
    display.focus(prefs.wid)

    # Position: Bottom Left (index 3); work period 30 -> 35 minutes; bar only
    # when a break is near; breaks start see-through.
    display.key("alt+p", "Home", "Down", "Down", "Down")
    display.key("alt+w", "Up", "Up", "Up", "Up", "Up")
    display.key("alt+o", "alt+t")
    # A password typed once only.
    display.key("alt+d")
    display.type("abc")
    display.key("Return")
    alert = h.wait_until(display.dialogs, 3, 0.05)
    h.check(alert, "Save with different passwords brought no alert")
    h.note(f"password mismatch alert at {alert[0].geometry}")
    h.check(app.settings_path.read_bytes() == stored, "a refused Save changed the settings")
    h.check(display.indicators()[0].geometry == before.geometry,
            "a refused Save moved the indicator")
    display.focus(alert[0].wid)
    display.key("Return")
    h.check(h.wait_until(lambda: not display.dialogs(), 3), "Return did not close the alert")
    h.check(display.windows(h.PREFS_TITLE), "the preferences closed after the refused Save")

    # Clear the password again and save.
    display.focus(prefs.wid)
    display.key("alt+d", "ctrl+a", "BackSpace", "Return")
    saved = time.monotonic()

    def moved():
        wins = display.indicators()
        return wins and wins[0].x == 0 and wins[0].y == display.height - wins[0].height \
            and wins[0]
    after = h.wait_until(moved, 3, 0.02)
    moved_after = time.monotonic() - saved
    h.check(after, f"indicator not in the bottom-left corner after Save: "
                   f"{[w.geometry for w in display.indicators()]}")
    h.note(f"indicator moved {moved_after:.2f} s after Save: {before.geometry} -> {after.geometry}")
    h.check(moved_after < 1.0, f"the indicator took {moved_after:.2f} s to move")
    h.check(h.wait_until(lambda: not display.windows(h.PREFS_TITLE), 2),
            "Save did not close the preferences")

    values = app.settings()
    h.note(f"stored after Save: {values}")
    expected = {"uid": "4242", "stpWorkDuration": "35", "stpBreakDuration": "2",
                "lblSnooze": "1", "lblHide": "1", "radWhenHigh": "1",
                "dropdownOsdLocation": "3", "txtNewPwd": ""}
    wrong = {k: (values.get(k), v) for k, v in expected.items() if values.get(k) != v}
    h.check(not wrong, f"stored (found, expected): {wrong}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=80))
