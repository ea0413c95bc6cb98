#!/usr/bin/env python3
"""A first launch and two breaks on a desktop with two monitors, in real time.

One 3360x1080 X screen split by RandR into a 1920x1080 monitor on the left
and a 1440x900 primary one on its right, with openbox, a compositor, trayer
and the maker's server on 127.0.0.1. The welcome window comes with the
first-launch settings on disk (owner only) and nothing sent; Return brings
the preferences, the indicator and one usage event. The preferences, worked
with the keyboard, refuse two different passwords, then save a 1-minute
work period and break and the bottom-left corner: the indicator moves there
at once and lets clicks through. Steady input brings a break window on each
monitor, reaching 100 px above it; a double click switches one window's
look only; the snooze button closes both. Skip from the tray menu (left
click) restarts the period, a second Skip is refused. In the next break the
primary monitor goes away: the indicator moves to the other one, and the
break still ends a minute after it began. The history on disk, owner-only,
holds the snooze, the skip and the completed break, and the statistics
window from the tray menu marks the break taken. Quit ends the program
with 0."""

import os
import re
import sqlite3
import stat
import sys
import time

import harness as h

BREAKS = {(1920, -100, 1440, 1000), (0, -100, 1920, 1180)}
LEFT, RIGHT = (0, 80, 1920, 940), (1920, 80, 1440, 760)  # below the windows' top edge
SPOT = (200, 300)  # bare background of the left break window
TAKEN_GREEN = (0x2e, 0x8b, 0x57)  # the statistics chart's mark for a break taken


def story(session):
    display = session.display(3360, 1080)
    h.require_tools("xrandr")
    # The primary is the virtual one, so that it can go away later.
    display.run("xrandr", "--setmonitor", "M0", "1920/480x1080/270+0+0", "screen")
    display.run("xrandr", "--setmonitor", "*M1", "1440/360x900/225+1920+0", "none")
    display.start_wm()
    display.start_compositor()
    display.start_tray()
    server = h.UsageServer(session)
    app = h.Tamsel(session, display, binary=os.environ["TAMSEL_TESTSERVER_BIN"]).start()

    # ---- first launch
    welcome = display.wait_window(h.WELCOME_TITLE, 5)
    h.check(welcome, "no welcome window within 5 s")
    stored = app.settings() or {}
    h.note(f"welcome after {app.since_start():.2f} s; stored {stored}")
    h.check(all(stored.get(k) == str(v) for k, v in h.default_settings().items() if k != "uid"),
            f"first-launch values {stored}")
    h.check(re.fullmatch(r"[1-9][0-9]{0,8}", stored.get("uid", "")), f"uid in {stored}")
    h.check(stat.S_IMODE(app.settings_path.stat().st_mode) == 0o600, "settings readable by others")
    h.check(not display.indicators() and not server.paths, "the launch went on meanwhile")
    display.answer(welcome[0], "Return")
    h.check(display.wait_gone(h.WELCOME_TITLE, 3), "Return did not close the welcome window")
    prefs = display.wait_window(h.PREFS_TITLE, 5)
    h.check(prefs and app.wait_indicator(3), "no preferences and indicator after the welcome")
    h.check(h.wait_until(lambda: server.paths, 5), "no usage event within 5 s")
    time.sleep(2)
    h.check(server.paths == ["/logistics/ln.php?cat=tamsel&evtname=macapp&evtval=firstlaunch"
                             f"&notes=app-false&uid={stored['uid']}"], f"sent {server.paths}")
    h.check(server.USAGE_REPLY.decode() in app.stdout(), "the server's reply was not printed")

    # ---- preferences, with the keyboard
    display.answer(prefs[0], "alt+w", "Next", "Next", "Next", "alt+b", "Down",
                   "alt+p", "Home", "Down", "Down", "Down", "alt+d")
    display.type("abc")
    display.key("Return")
    alert = display.new_dialog()
    h.check(alert, "Save with two different passwords brought no alert")
    h.check(app.settings()["stpWorkDuration"] == "30", "a refused Save wrote settings")
    display.answer(alert, "Return")
    display.answer(prefs[0], "alt+d", "ctrl+a", "BackSpace", "Return")
    saved = time.monotonic()
    ind = h.wait_until(lambda: (w := app.wait_indicator(0)) and w.x == 1920 and
                       w.y == 900 - w.height and w, 3, 0.02)
    h.check(ind, f"indicator not bottom left of the primary monitor: {display.indicators()}")
    h.note(f"saved; indicator at {ind.geometry} {time.monotonic() - saved:.2f} s later")
    stored = app.settings()
    h.check((stored["stpWorkDuration"], stored["stpBreakDuration"], stored["dropdownOsdLocation"],
             stored["txtNewPwd"]) == ("1", "1", "3", ""), f"saved {stored}")
    h.check(display.window_under_pointer(ind.x + ind.width // 2, ind.y + ind.height // 2)
            != ind.wid, "the indicator takes clicks")

    # ---- a break on both monitors
    activity = h.Activity(display, 300, 700).start()
    wins = display.wait_window(h.BREAK_TITLE, 70, count=2)
    h.check(wins, "no two break windows within 70 s of work")
    time.sleep(1)  # the windows take their frames 0.1 s after they show
    wins = display.windows(h.BREAK_TITLE)
    h.note(f"break after {app.since_start():.1f} s: {[w.geometry for w in wins]}")
    h.check({w.geometry for w in wins} == BREAKS, f"break windows at {wins}")
    looks = []
    with activity.paused():
        for _ in range(3):
            shot = display.screenshot()
            looks.append((shot.crop(*LEFT).mean(), shot.crop(*RIGHT).mean()))
            display.click(*SPOT, repeat=2)
            time.sleep(0.8)
    h.note(f"brightness left/right: dimmed, see-through, dimmed: {looks}")
    h.check(looks[1][0] - looks[0][0] > 30 and abs(looks[2][0] - looks[0][0]) < 3,
            "a double click did not switch the left window between its looks")
    h.check(abs(looks[1][1] - looks[0][1]) < 3, "a double click on the left changed the right")
    first = next(w for w in wins if w.x == 1920)  # the main screen's window has the keys
    display.answer(first, "Tab", "space")
    h.check(display.wait_gone(h.BREAK_TITLE, 1.5), "the snooze button did not close both windows")

    # ---- the tray menu, with the pointer held still
    time.sleep(1.5)  # the countdown ends the snoozed break at its next tick
    with activity.paused():
        display.choose_from_tray_menu("Skip", button=1)
        time.sleep(0.5)
        h.check(not display.dialogs(), "the first Skip was refused")
        display.choose_from_tray_menu("Skip")
        alert = display.new_dialog()
        h.check(alert, "a second Skip right after the first brought no alert")
        display.answer(alert, "Return")

    # ---- the primary monitor goes away during the next break
    h.check(display.wait_window(h.BREAK_TITLE, 70, count=2), "no second break")
    began = time.monotonic()
    time.sleep(3)
    display.run("xrandr", "--delmonitor", "M1")
    moved = h.wait_until(lambda: (w := app.wait_indicator(0)) and w.x == 0 and
                         w.y == 1080 - w.height and w, 3)
    h.check(moved, f"the indicator stayed off the remaining monitor: {display.indicators()}")
    h.check(display.wait_gone(h.BREAK_TITLE, 65), "the break windows outlived the break")
    lasted = time.monotonic() - began
    h.note(f"second break lasted {lasted:.1f} s; indicator at {moved.geometry}")
    h.check(57 <= lasted <= 64, f"the break lasted {lasted:.1f} s, not a minute")
    h.check(not display.windows(h.BREAK_TITLE, viewable_only=False), "break windows not released")

    # ---- the history and the statistics window
    path = app.home / ".local/share/tamsel/history.sqlite"
    db = sqlite3.connect(path)
    kinds = [row[0] for row in db.execute("SELECT kind FROM events ORDER BY id")]
    db.close()
    h.note(f"history: {kinds}")
    h.check({"break_snoozed", "skipped"} <= set(kinds) and
            kinds[-2:] == ["break_started_due", "break_completed"], f"the history holds {kinds}")
    modes = {p.name: stat.S_IMODE(p.stat().st_mode)
             for p in [path.parent, *path.parent.glob("history.sqlite*")]}
    h.check(modes.pop(path.parent.name) == 0o700 and set(modes.values()) <= {0o600},
            f"history not owner-only: {modes}")
    with activity.paused():
        display.choose_from_tray_menu("Statistics…")
        stats = display.wait_window(h.STATS_TITLE, 5)
        h.check(stats, "Statistics… opened no window within 5 s")
        time.sleep(0.5)
        shot = display.screenshot().crop(*stats[0].geometry)
        green = sum(1 for y in range(shot.height) for x in range(shot.width)
                    if all(abs(a - b) <= 3 for a, b in zip(shot.pixel(x, y), TAKEN_GREEN)))
        h.check(green >= 40, f"the statistics window marks no break taken ({green} px)")
        display.choose_from_tray_menu("Quit")
        h.check(app.wait_exit(5) == 0, "Quit did not end the program with 0")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=280))
