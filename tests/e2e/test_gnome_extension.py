#!/usr/bin/env python3
"""The GNOME Shell extension's logic against the real Tamsel, on a private bus.

A stand-in shell (gjs, tests/e2e/gnome/shell_standin.js) runs the
extension's shared code with recording stand-ins for St and Main, and
listens where Tamsel looks for its Wayland compositor, so that Tamsel takes
it for GNOME Shell. The extension's pure parts first pass on hostile values.
Then: the indicator shows Tamsel's squares in its grey, non-reactive, at the
top centre of the work area; the top bar's menu is Tamsel's; Tamsel's own
indicator window and its no-tray notice stay away. "Take a break now" from
that menu brings the break window and greys the item out. When the
extension is disabled Tamsel's own indicator window comes back, and another
program that takes the extension's bus name does not hide it."""

import json
import os
import subprocess
import sys
from pathlib import Path

import harness as h

HERE = Path(__file__).resolve().parent
SHARED = HERE.parent.parent / "src" / "gnome-shell" / "tamsel.js"
MARK = "// @TAMSEL_SHARED@\n"
SQUARE = "\u25FC\uFE0E"
MENU = ["Preferences\u2026", "Statistics\u2026", "Help", "Check my desktop\u2026", "",
        "Take a break now", "Pause", "Skip", "", "Quit"]


def seen(log, predicate, timeout, what):
    """The first line of the stand-in that predicate accepts ("model …" parsed)."""
    def first():
        for line in log.read_text().splitlines():
            value = json.loads(line[6:]) if line.startswith("model ") else line
            if predicate(value):
                return value
        return None
    found = h.wait_until(first, timeout)
    h.check(found, f"stand-in shell: {what} within {timeout} s")
    return found


def titles(menu):
    return [item["title"] for item in menu]


def story(session):
    h.require_tools("gjs", "gdbus")
    display = session.display()
    bus = session.session_bus()
    socket = session.tmp / "wayland-standin"
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": str(session.tmp),
           "LANG": "C.UTF-8",
           "DBUS_SESSION_BUS_ADDRESS": bus, "TAMSEL_FAKE_WAYLAND": str(socket)}
    script, log = session.tmp / "standin.js", session.logs / "standin.out"
    script.write_text((HERE / "gnome" / "shell_standin.js").read_text().replace(
        MARK, SHARED.read_text()))
    with open(log, "wb") as out:
        shell = session.spawn("standin", ["gjs", "-m", str(script)], env=env,
                              stdin=subprocess.PIPE, stdout=out)

    def send(command):
        shell.stdin.write((command + "\n").encode())
        shell.stdin.flush()

    selftest = seen(log, lambda l: str(l).startswith("selftest"), 20, "no self-test")
    h.check(selftest == "selftest ok", selftest)
    seen(log, lambda l: l == "ready", 10, "not ready")
    owned = subprocess.run(["gdbus", "wait", "--session", "--timeout", "5",
                            "org.tamsel.Tamsel.Shell"], env=env, capture_output=True)
    h.check(owned.returncode == 0, "the extension did not take org.tamsel.Tamsel.Shell")

    app = h.Tamsel(session, display, h.default_settings(dropdownOsdLocation=1), bus=bus)
    app.env["WAYLAND_DISPLAY"] = str(socket)
    app.start()
    model = seen(log, lambda m: isinstance(m, dict) and m["indicator"] and m["indicator"]["text"],
                 20, "no indicator from Tamsel")
    h.note(f"{app.since_start():.1f} s after start: {model}")
    ind = model["indicator"]
    h.check(ind["text"] == SQUARE, f"indicator text {ind['text']!r}")
    h.check("color: rgba(0, 0, 0, 0.500)" in ind["style"], f"indicator style {ind['style']}")
    h.check((ind["x"], ind["y"]) == ((1920 - 28) // 2, 32 + 20),
            f"indicator at {ind['x']},{ind['y']}, not the work area's top centre")
    h.check(ind["visible"] and ind["reactive"] is False and ind["affectsInputRegion"] is False,
            f"indicator shown {ind['visible']}, reactive {ind['reactive']}, "
            f"in the input region {ind['affectsInputRegion']}")
    h.check(titles(model["menu"]) == MENU, f"top bar menu {titles(model['menu'])}")
    pause = model["menu"][MENU.index("Pause")]
    h.check(titles(pause["submenu"]) == ["For 30 minutes", "For an hour", "For two hours",
                                         "Until tomorrow"],
            f"Pause submenu {model['menu']}")

    h.check(h.wait_until(lambda: "GNOME Shell extension shows the indicator" in app.stderr(), 5),
            "Tamsel did not take the extension's word")
    h.check(not h.wait_until(display.indicators, 2), "Tamsel's own indicator window shows")
    h.check(not display.windows(h.NO_TRAY_TITLE), "the no-tray notice shows with the extension")

    send("choose Take a break now")
    seen(log, lambda l: l == "chosen", 5, "no such menu item")
    h.check(display.wait_window(h.BREAK_TITLE, 3), "no break window within 3 s of the menu")
    during = seen(log, lambda m: isinstance(m, dict) and m["menu"]
                  and not m["menu"][MENU.index("Take a break now")]["sensitive"], 5, "a break now, still offered in a break")
    h.check(not during["indicator"]["visible"], "the indicator shows over the break")

    send("disable")
    seen(log, lambda l: l == "disabled", 5, "not disabled")
    back = app.wait_indicator(5)
    h.check(back, "Tamsel's own indicator did not come back without the extension")
    h.note(f"own indicator back at {back.geometry}")

    # A stranger with the extension's name is not the compositor.
    stranger = session.spawn("stranger", [
        "gjs", "-c", "imports.gi.Gio.bus_own_name(imports.gi.Gio.BusType.SESSION, "
        "'org.tamsel.Tamsel.Shell', 0, null, null, null); new imports.gi.GLib.MainLoop(null, "
        "false).run();"], env=env)
    refused = h.wait_until(lambda: f"owned by process {stranger.pid}, not by the compositor"
                           in app.stderr(), 5)
    h.check(refused, "Tamsel did not refuse a stranger's claim to be the extension")
    h.check(app.wait_indicator(2), "a stranger hid Tamsel's indicator")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=100))
