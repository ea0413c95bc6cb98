#!/usr/bin/env python3
"""The child-lock password stays where it belongs, and nothing runs a shell.

With a password stored, the program is started, a wrong password and then
the right one are typed; the preferences are opened through the lock and
saved, and Quit goes through the lock too. Neither password ever appears on
standard output or standard error, nor in any window's title. The sources
start no shell or other program: no system(), popen(), exec*(), fork(),
posix_spawn or QProcess."""

import re
import sys
from pathlib import Path

import harness as h

PASSWORD = "Quartz-Zebra 42"
WRONG = "Quartz-Zebra 24"
SOURCES = Path(__file__).resolve().parents[2]
# system() as the C library's, plain or qualified; not a method named system.
SHELLS = re.compile(r"(?<![\w:.>])(?:std)?(?:::)?system\s*\(|\bpopen\b|QProcess|"
                    r"\bexec[lv]p?e?\s*\(|\bfork\s*\(|posix_spawn|startDetached|/bin/sh")


def wait_new_dialog(display, seen, timeout=5):
    return h.wait_until(lambda: next((d for d in display.dialogs() if d.wid not in seen), None),
                        timeout, 0.05)


def answer(display, box, text):
    display.focus(box.wid)
    display.type(text)
    display.key("Return")


def titles(display):
    out = display.run("xdotool", "search", "--name", ".", check=False).decode().split()
    return [display.title(int(wid)) or "" for wid in out]


def story(session):
    found = [f"{p.relative_to(SOURCES)}:{n}: {line.strip()}"
             for folder in ("src", "tools") for p in sorted((SOURCES / folder).rglob("*"))
             if p.suffix in (".cpp", ".h", ".mm")
             for n, line in enumerate(p.read_text(errors="replace").splitlines(), 1)
             if SHELLS.search(line)]
    h.check(not found, "the sources start programs or shells:\n" + "\n".join(found))
    h.note("no shell, process start or QProcess in src/ or tools/")

    display = session.display()
    display.start_wm()
    display.start_tray()
    app = h.Tamsel(session, display)
    app.write_settings(h.default_settings(txtNewPwd=PASSWORD))
    app.start()

    box = wait_new_dialog(display, set())
    h.check(box, "no password box at start")
    answer(display, box, WRONG)
    alert = wait_new_dialog(display, {box.wid})
    h.check(alert, "a wrong password brought no alert")
    display.focus(alert.wid)
    display.key("Return")
    again = wait_new_dialog(display, {box.wid, alert.wid})
    h.check(again, "no second password box")
    answer(display, again, PASSWORD)
    h.check(app.wait_indicator(3), "the right password did not let the program start")
    h.note("start: wrong password refused, right one accepted")

    seen = {d.wid for d in display.dialogs()}
    display.choose_from_tray_menu(0)
    box = wait_new_dialog(display, seen)
    h.check(box, "Preferences asked for no password")
    answer(display, box, PASSWORD)
    prefs = display.wait_window(h.PREFS_TITLE, 3)
    h.check(prefs, "the right password did not open the preferences")
    shown = titles(display)
    display.focus(prefs[0].wid)
    display.key("Return")
    h.check(display.wait_gone(h.PREFS_TITLE, 3), "Save did not close the preferences")
    h.check(app.settings()["txtNewPwd"] == PASSWORD, "Save changed the password")

    seen = {d.wid for d in display.dialogs()}
    display.choose_from_tray_menu(6)  # Quit
    box = wait_new_dialog(display, seen)
    h.check(box, "Quit asked for no password")
    answer(display, box, PASSWORD)
    status = app.wait_exit(5)
    h.check(status == 0, f"Quit through the lock ended with {status}")

    out = (session.logs / "tamsel-1.out").read_bytes()
    err = (session.logs / "tamsel-1.err").read_bytes()
    h.note(f"stdout {len(out)} bytes, stderr {len(err)} bytes, {len(shown)} window titles")
    for secret in (PASSWORD, WRONG):
        for name, text in (("stdout", out), ("stderr", err)):
            h.check(secret.encode() not in text and secret.lower().encode() not in text.lower(),
                    f"{name} holds a typed password")
        h.check(not any(secret in t for t in shown), f"a window title holds a password: {shown}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=80))
