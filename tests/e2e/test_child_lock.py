#!/usr/bin/env python3
"""The child lock, a tray panel that comes late, goes and comes back, and a
break on a bare desktop (openbox, no compositor).

With a password stored, the password box comes up at start and nothing of
the break engine shows; Escape ends the program with 0. On the next start a
wrong password is refused with an alert and the box comes back; the right
one starts the program, whose notice says there is no tray. When a top
panel with a tray starts, the icon docks, the notice closes by itself and
the indicator moves to 20 px below the panel; it follows the panel away and
back, and the icon docks again. The break window covers the whole screen,
panel included, and paints the desktop as the break began under its shade:
40 % of the colours dimmed, 90 % after a double click (see-through). After
it, Quit from the menu asks for the password too. No typed password ever
shows on standard output or error or in a window title, and the sources
start no shell or other program."""

import re
import sys
import time
from pathlib import Path

import harness as h

PASSWORD, WRONG = "Quartz-Zebra 42", "QUARTZ-ZEBRA 42"
PANEL_H = 30
SPOTS = {"desktop": (200, 300), "panel": (1000, PANEL_H // 2)}
SOURCES = Path(__file__).resolve().parents[2]
# system() as the C library's, plain or qualified; not a method named system.
SHELLS = re.compile(r"(?<![\w:.>])(?:std)?(?:::)?system\s*\(|\bpopen\b|QProcess|"
                    r"\bexec[lv]p?e?\s*\(|\bfork\s*\(|posix_spawn|startDetached|/bin/sh")


def story(session):
    found = [f"{p.relative_to(SOURCES)}:{n}: {line.strip()}"
             for folder in ("src", "tools") for p in sorted((SOURCES / folder).rglob("*"))
             if p.suffix in (".cpp", ".h", ".mm")
             for n, line in enumerate(p.read_text(errors="replace").splitlines(), 1) if SHELLS.search(line)]
    h.check(not found, "the sources start programs or shells:\n" + "\n".join(found))

    display = session.display()
    display.run("xsetroot", "-solid", "#3070c0")
    display.start_wm()
    app = h.Tamsel(session, display, h.default_settings(txtNewPwd=PASSWORD, stpWorkDuration=1, stpBreakDuration=1))
    stored = app.settings_path.read_bytes()
    app.start()
    box = display.new_dialog()
    h.check(box, "no password box within 5 s of start")
    time.sleep(1)  # the engine must wait behind it
    h.check(not display.indicators(), "the indicator showed behind the password box")
    display.answer(box, "Escape")
    h.check(app.wait_exit(5) == 0 and not display.indicators(), "Escape did not end the program with 0")

    app.start()
    box = display.new_dialog()
    display.answer(box, "Return", text=WRONG)
    alert = display.new_dialog({box.wid})
    h.check(alert and not display.indicators(), "a wrong password brought no alert, or the indicator")
    display.answer(alert, "Return")
    again = display.new_dialog({box.wid, alert.wid})
    h.check(again, "the password box did not come back after the alert")
    display.answer(again, "Return", text=PASSWORD)
    h.check(display.wait_window(h.NO_TRAY_TITLE, 3), "no notice that there is no tray")
    h.check(app.settings_path.read_bytes() == stored, "starting changed the settings")

    def indicator_at(y):
        h.check(h.wait_until(lambda: [w for w in display.indicators() if w.y == y], 10, 0.05),
                f"indicator not at y {y}: {display.indicators()}")

    panel = lambda: session.spawn("panel", [
        "trayer", "--edge", "top", "--widthtype", "percent", "--width", "100", "--height", str(PANEL_H),
        "--SetDockType", "true", "--SetPartialStrut", "true", "--transparent", "false"], env=display.env)
    indicator_at(20)
    bar = panel()
    h.check(h.wait_until(display.tray_icon, 10), "the icon did not dock in the late tray")
    h.check(display.wait_gone(h.NO_TRAY_TITLE, 5), "the no-tray notice stayed with a tray up")
    indicator_at(PANEL_H + 20)
    session.end(bar)
    indicator_at(20)
    panel()
    indicator_at(PANEL_H + 20)
    h.check(h.wait_until(display.tray_icon, 10), "the icon did not dock again when the tray came back")

    activity = h.Activity(display, x=300, y=700).start()
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
    activity.stop()
    for name, spot in SPOTS.items():
        was = before.pixel(*spot)
        for look, image, share in (("dimmed", dimmed, 0.4), ("see-through", see_through, 0.9)):
            seen = image.pixel(*spot)
            h.check(all(abs(s - b * share) <= 4 for s, b in zip(seen, was)),
                    f"{look} {name} {seen} is not {share:.0%} of {was}")
    h.check(display.wait_gone(h.BREAK_TITLE, 70), "the break did not end")

    seen = {d.wid for d in display.dialogs()}
    display.choose_from_tray_menu("Quit", button=1)
    box = display.new_dialog(seen)
    h.check(box, "Quit asked for no password")
    titles = [display.title(w) or "" for w in display.search("--name", ".")]
    display.answer(box, "Return", text=PASSWORD)
    h.check(app.wait_exit(5) == 0, "Quit through the lock did not end the program with 0")
    logs = " ".join(p.read_text(errors="replace") for p in session.logs.glob("tamsel-*")).lower()
    for secret in (PASSWORD, WRONG):
        h.check(secret.lower() not in logs, "a password on standard output or error")
        h.check(not any(secret in t for t in titles), f"a password in a title: {titles}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=200))
