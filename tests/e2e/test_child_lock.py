#!/usr/bin/env python3
"""Child lock at start.

With a password stored, the password box ("Tamsel") comes up at start and
nothing of the break engine shows. Escape ends the program with status 0
without the indicator ever having mapped. On the next start a wrong password
is refused with an alert and the box comes back; the right one lets the
program start."""

import sys
import time

import harness as h

PASSWORD = "open Sesame 7"
SETTINGS = h.default_settings(txtNewPwd=PASSWORD)


def wait_new_dialog(display, seen, timeout=5):
    """A mapped "Tamsel" dialog that is not one of `seen`."""
    return h.wait_until(lambda: next((d for d in display.dialogs() if d.wid not in seen), None),
                        timeout, 0.05)


def story(session):
    display = session.display()
    display.start_wm()
    app = h.Tamsel(session, display)
    app.write_settings(SETTINGS)
    stored = app.settings_path.read_bytes()

    # Escape: the process ends with 0 and no indicator ever maps.
    app.start()
    box = wait_new_dialog(display, set())
    h.check(box, "no password box within 5 s of start")
    h.note(f"password box mapped after {app.since_start():.2f} s at {box.geometry}")
    indicator_seen = []
    # Watch a moment with the box up: the engine must wait behind it.
    for _ in range(10):
        indicator_seen += display.indicators()
        time.sleep(0.1)
    display.focus(box.wid)
    display.key("Escape")
    escaped = time.monotonic()
    status = None
    while status is None and time.monotonic() - escaped < 5:
        indicator_seen += display.indicators()
        status = app.wait_exit(0.05)
    h.check(status is not None, "Escape did not end the program within 5 s")
    h.note(f"Escape ended the program {time.monotonic() - escaped:.2f} s later, status {status}")
    h.check(status == 0, f"exit status {status} after Escape, expected 0")
    h.check(not indicator_seen, "indicator mapped although the password was refused: "
                                f"{sorted({w.geometry for w in indicator_seen})}")
    h.check(app.settings_path.read_bytes() == stored, "a refused start changed the settings")

    # Wrong, then right.
    app.start()
    box = wait_new_dialog(display, set())
    h.check(box, "second start: no password box")
    display.focus(box.wid)
    display.type(PASSWORD.upper())
    display.key("Return")
    alert = wait_new_dialog(display, {box.wid})
    h.check(alert, "a wrong password brought no alert")
    h.check(h.wait_until(lambda: box.wid not in [d.wid for d in display.dialogs()], 2),
            "the password box stayed up under the alert")
    h.check(not display.indicators(), "indicator mapped after a wrong password")
    h.note(f"wrong password: alert {alert.wid:#x} at {alert.geometry}")
    display.focus(alert.wid)
    display.key("Return")
    again = wait_new_dialog(display, {box.wid, alert.wid})
    h.check(again, "the password box did not come back after the alert")
    h.check(len(display.dialogs()) == 1, f"dialogs left over: {display.dialogs()}")
    display.focus(again.wid)
    display.type(PASSWORD)
    display.key("Return")
    typed = time.monotonic()
    indicator = app.wait_indicator(3)
    h.check(indicator, "the right password did not let the program start")
    h.note(f"right password: indicator {time.monotonic() - typed:.2f} s after Return at "
           f"{indicator.geometry}")
    h.check(h.wait_until(lambda: not display.dialogs(), 2), "a dialog is still up")
    h.check(app.running(), "the program ended after the right password")
    h.check(app.settings_path.read_bytes() == stored, "starting changed the settings")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=80))
