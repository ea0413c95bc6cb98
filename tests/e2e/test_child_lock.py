#!/usr/bin/env python3
"""The child lock at start, and a tray that comes late.

With a password stored and no tray, the password box comes up at start and
nothing of the break engine shows; Escape ends the program with 0. On the
next start a wrong password is refused with an alert and the box comes
back; the right one starts the program, whose notice says there is no tray.
When trayer starts, the icon docks and the notice closes by itself; a left
click opens the menu, and Quit there asks for the password too. No typed
password ever shows on standard output or error or in a window title, and
the sources start no shell or other program."""

import re
import sys
import time
from pathlib import Path

import harness as h

PASSWORD, WRONG = "Quartz-Zebra 42", "QUARTZ-ZEBRA 42"
SOURCES = Path(__file__).resolve().parents[2]
# system() as the C library's, plain or qualified; not a method named system.
SHELLS = re.compile(r"(?<![\w:.>])(?:std)?(?:::)?system\s*\(|\bpopen\b|QProcess|"
                    r"\bexec[lv]p?e?\s*\(|\bfork\s*\(|posix_spawn|startDetached|/bin/sh")


def story(session):
    found = [f"{p.relative_to(SOURCES)}:{n}: {line.strip()}"
             for folder in ("src", "tools") for p in sorted((SOURCES / folder).rglob("*"))
             if p.suffix in (".cpp", ".h", ".mm")
             for n, line in enumerate(p.read_text(errors="replace").splitlines(), 1)
             if SHELLS.search(line)]
    h.check(not found, "the sources start programs or shells:\n" + "\n".join(found))

    display = session.display()
    display.start_wm()
    app = h.Tamsel(session, display, h.default_settings(txtNewPwd=PASSWORD))
    stored = app.settings_path.read_bytes()

    app.start()
    box = display.new_dialog()
    h.check(box, "no password box within 5 s of start")
    time.sleep(1)  # the engine must wait behind it
    h.check(not display.indicators(), "the indicator showed behind the password box")
    display.answer(box, "Escape")
    h.check(app.wait_exit(5) == 0, "Escape did not end the program with 0")
    h.check(not display.indicators(), "the indicator showed after Escape")

    app.start()
    box = display.new_dialog()
    display.answer(box, "Return", text=WRONG)
    alert = display.new_dialog({box.wid})
    h.check(alert, "a wrong password brought no alert")
    h.check(not display.indicators(), "the indicator showed after a wrong password")
    display.answer(alert, "Return")
    again = display.new_dialog({box.wid, alert.wid})
    h.check(again, "the password box did not come back after the alert")
    display.answer(again, "Return", text=PASSWORD)
    h.check(app.wait_indicator(3), "the right password did not start the program")
    h.check(display.wait_window(h.NO_TRAY_TITLE, 3), "no notice that there is no tray")
    h.check(app.settings_path.read_bytes() == stored, "starting changed the settings")

    display.start_tray()
    docked = time.monotonic()
    h.check(h.wait_until(display.tray_icon, 10), "the icon did not dock in the late tray")
    h.check(display.wait_gone(h.NO_TRAY_TITLE, 5), "the no-tray notice stayed with a tray up")
    h.note(f"icon docked, notice gone {time.monotonic() - docked:.2f} s after trayer started")
    seen = {d.wid for d in display.dialogs()}
    display.choose_from_tray_menu("Quit", button=1)
    box = display.new_dialog(seen)
    h.check(box, "Quit asked for no password")
    titles = [display.title(w) or "" for w in display.search("--name", ".")]
    display.answer(box, "Return", text=PASSWORD)
    h.check(app.wait_exit(5) == 0, "Quit through the lock did not end the program with 0")

    for secret in (PASSWORD, WRONG):
        for run in (1, 2):
            for stream in ("out", "err"):
                text = (session.logs / f"tamsel-{run}.{stream}").read_text(errors="replace")
                h.check(secret.lower() not in text.lower(), f"a password on std{stream}")
        h.check(not any(secret in t for t in titles), f"a password in a title: {titles}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=80))
