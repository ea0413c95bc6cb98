#!/usr/bin/env python3
"""Runs one Qt test program on a private Xvfb under openbox: for the Qt
tests that need a real window manager (QT_QPA_PLATFORM=xcb).

    python3 tests/qt/on_x11.py build/tests/qt/tamsel_qt_tests --gtest_filter=...
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import harness as h  # noqa: E402


def story(session):
    h.require_tools("wmctrl", "xev")
    display = session.display()
    display.start_wm()
    env = dict(os.environ, DISPLAY=display.name, QT_QPA_PLATFORM="xcb",
               DBUS_SESSION_BUS_ADDRESS="disabled:")
    result = subprocess.run(sys.argv[1:], env=env, timeout=90, check=False,
                            capture_output=True, text=True)
    print(result.stdout + result.stderr, flush=True)
    h.check(result.returncode == 0, f"{' '.join(sys.argv[1:])} ended with {result.returncode}")
    # A test that skips here did not see the display it was given.
    h.check("[  SKIPPED ]" not in result.stdout, "a test skipped on the X display")


if __name__ == "__main__":
    sys.exit(h.run_story(story, timeout=110))
