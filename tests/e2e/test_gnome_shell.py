#!/usr/bin/env python3
"""Tamsel's GNOME Shell extension in a real, headless GNOME Shell on a private bus.

The extension as the build assembled it, and a test probe
(gnome/probe@tamsel.test) that reports what the shell shows. Tamsel starts
on XWayland with its own indicator window. `gnome-extensions enable
tamsel@tamsel.org` turns the indicator into the shell's actor: Tamsel's
squares at the top centre of the work area, drawn on top, click-through;
Tamsel's own window unmaps. Tamsel's menu is in the top bar, and its "Take
a break now" brings the break. `gnome-extensions disable` brings Tamsel's
own indicator back, and another program that takes the extension's bus
name is not believed."""

import ast
import json
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

import compositors
import harness as h

UUID, PROBE = "tamsel@tamsel.org", "probe@tamsel.test"


def run(*argv, env=None):
    """(exit status, its output or, if it failed, its errors)"""
    res = subprocess.run(argv, env=env, capture_output=True, text=True, timeout=40)
    return res.returncode, (res.stderr if res.returncode else res.stdout).strip()


def story(session):
    h.require_tools("gnome-shell", "gdbus", "gnome-extensions", "gjs")
    version = run("gnome-shell", "--version")[1]
    if int(re.search(r"(\d+)", version).group(1)) >= 45:
        raise h.Skip(f"*** the probe is written for GNOME Shell 43 and 44, this is {version} ***")
    built = Path(os.environ["TAMSEL_SHELL_EXTENSIONS"]) / "legacy" / UUID
    h.check((built / "extension.js").exists(), f"no assembled extension at {built}")
    desktop = compositors.GnomeShell(session)
    shutil.copytree(built, desktop.extensions() / UUID)
    shutil.copytree(Path(__file__).with_name("gnome") / PROBE, desktop.extensions() / PROBE)
    desktop.start(enabled=[PROBE])
    env = desktop.client_env()

    def probe(method, *args):
        status, out = run("gdbus", "call", "--session", "--dest", "org.tamsel.Test.Probe", "--object-path",
                          "/org/tamsel/Test/Probe", "--method", f"org.tamsel.Test.Probe.{method}", *args, env=env)
        h.check(status == 0, f"probe {method}: {out}")
        return json.loads(ast.literal_eval(out)[0]) if not args else out

    h.check(run("gdbus", "wait", "--session", "--timeout", "30", "org.tamsel.Test.Probe", env=env)[0] == 0,
            "the shell did not enable the test probe")
    app = desktop.tamsel(h.default_settings(dropdownOsdLocation=1)).start()
    h.check(app.wait_indicator(10), "no indicator window of Tamsel's own before the extension is on")
    status, out = run("gnome-extensions", "enable", UUID, env=env)
    h.check(status == 0, f"gnome-extensions enable: {out}")
    # The label exists a frame before it is laid out (its box reads null then).
    drawn = lambda: (i := probe("Indicator")) and "\u25FC\uFE0E" in i["text"] and None not in i["box"] \
        and i["visible"] and i["onTop"] and i["clickThrough"] and i
    found = h.wait_until(drawn, 20, 0.5)
    h.check(found, f"indicator not shown, not on top or not click-through: {probe('Indicator')}")
    h.note(f"{version}: {app.since_start():.1f} s after start the shell shows {found}")
    box, area = found["box"], found["workArea"]  # [x, y, w, h]
    h.check(area[1] > 0 and box[1] == area[1] + 20 and abs(box[0] + box[2] / 2 - (area[0] + area[2] / 2)) <= 1,
            f"indicator at {box}, not at the top centre of the work area {area}")
    h.check(h.wait_until(lambda: "GNOME Shell extension shows the indicator" in app.stderr(), 5),
            "Tamsel did not trust the extension")
    h.check(h.wait_until(lambda: not desktop.x.indicators(), 5), "Tamsel's own indicator window shows as well")
    h.check(not desktop.x.windows(h.NO_TRAY_TITLE), "the no-tray notice shows with the extension")

    # The shell fills the menu from Tamsel's Menu property, read asynchronously.
    menu = lambda: tuple(t for t in probe("Menu") if t)
    h.check(h.wait_until(lambda: menu() == h.TRAY_MENU, 5), f"top bar menu {menu()}")
    h.check("true" in probe("Choose", "Take a break now"), "no \"Take a break now\" in the menu")
    h.check(desktop.x.wait_window(h.BREAK_TITLE, 5), "no break window from the top bar's menu")

    status, out = run("gnome-extensions", "disable", UUID, env=env)
    h.check(status == 0, f"gnome-extensions disable: {out}")
    h.check(app.wait_indicator(5), "Tamsel's own indicator did not come back with the extension disabled")
    stranger = session.spawn("stranger", ["gjs", "-c", "imports.gi.Gio.bus_own_name(imports.gi.Gio.BusType.SESSION, "
                                          "'org.tamsel.Tamsel.Shell', 0, null, null, null); "
                                          "new imports.gi.GLib.MainLoop(null, false).run();"], env=env)
    h.check(h.wait_until(lambda: f"owned by process {stranger.pid}, not by the compositor" in app.stderr(), 5),
            "Tamsel did not refuse a stranger's claim to be the extension")
    h.check(app.wait_indicator(2), "a stranger hid Tamsel's indicator")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=120))
