#!/usr/bin/env python3
"""How many deliberate faults in the core do the unit tests catch?

Applies each mutation below to a fresh copy of the source tree, one at a
time, builds the unit tests there (core only, no Qt) and runs them. A
mutation is caught when the build of the tests or the tests fail. Prints one
line per mutation and the count. A tool to run by hand, not part of
`make test`:

    python3 tests/mutate.py [--only SUBSTRING] [--keep]

Each mutation names a file, a text that must occur in it exactly once and
what to put there instead; a text that no longer occurs is reported as
stale, so the list follows the code.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# (file, original, mutated, what the fault means)
MUTATIONS = [
    ("src/engine/main_window.cpp", "kIdleThreshold = 5.0", "kIdleThreshold = 6.0", "idle threshold 5 -> 6 s"),
    ("src/engine/main_window.cpp", "< kIdleThreshold", "<= kIdleThreshold", "exactly 5 s counts as active"),
    ("src/engine/main_window.cpp", "kActivityGap = 20.0", "kActivityGap = 25.0", "gap rule 20 -> 25 s"),
    ("src/engine/main_window.cpp", "< -kActivityGap", "<= -kActivityGap", "a gap of exactly 20 s resets"),
    ("src/engine/main_window.cpp", "kLockGap = 3.0", "kLockGap = 10.0", "countdown gap 3 -> 10 s"),
    ("src/engine/main_window.cpp", "SCL::progress += 5;", "SCL::progress += 4;", "active tick adds 4"),
    ("src/engine/main_window.cpp", "SCL::progress - 10", "SCL::progress - 5", "idle tick takes 5"),
    ("src/engine/main_window.cpp", "if (didProgressIncreaseLast) SCL::progress += 5;", "SCL::progress += 5;", "no grace tick when active"),
    ("src/engine/main_window.cpp", "} else if (SCL::progress >= workDur) {", "} else if (SCL::progress > workDur) {", "break only above the period"),
    ("src/engine/main_window.cpp", "60.0 * 0.75", "60.0 * 0.8", "work factor 0.75 -> 0.8"),
    ("src/engine/main_window.cpp", "charBlock.size() >= 9", "charBlock.size() >= 10", "red from 10 segments"),
    ("src/engine/main_window.cpp", "showOnHigh == 0 ? 0.5 : 0.0", "showOnHigh == 0 ? 0.5 : 0.5", "bar visible although only when high"),
    ("src/engine/main_window.cpp", "workDur / 10", "workDur / 9", "bar step a ninth"),
    ("src/engine/main_window.cpp", "counter <= SCL::progress", "counter < SCL::progress", "bar one segment short"),
    ("src/engine/main_window.cpp", "list.size() <= 1", "list.size() <= 2", "second screen uncovered"),
    ("src/engine/main_window.cpp", "lockScreen1->isFirst = false;", "", "second window also first"),
    ("src/engine/main_window.cpp", "    SCL::progress = 0;\n    SCL::announce({EngineEvent::Kind::BreakStarted, cause});",
     "    SCL::announce({EngineEvent::Kind::BreakStarted, cause});", "progress kept at break start"),
    ("src/engine/main_window.cpp", "SCL::progress = workDur - 60;", "SCL::progress = workDur - 30;", "snooze reprieve 30 s"),
    ("src/engine/main_window.cpp", "SCL::lockTicks = SCL::lockDur + 1;", "SCL::lockTicks += 1;", "late countdown tick does not end the break"),
    ("src/engine/main_window.cpp", "kVersionDrawHit = 40", "kVersionDrawHit = 41", "version draw hits 41"),
    ("src/engine/main_window.cpp", "- f.height - 20", "- f.height - 10", "top margin 10"),
    ("src/engine/main_window.cpp", "case Corner::BottomLeft: x = s.x; break;", "case Corner::BottomLeft: x = right; break;", "bottom left placed right"),
    ("src/engine/scl.h", "return now() - 6000.0;", "return now() - 2000.0;", "limits lifted by 2000 s only"),
    ("src/engine/scl.cpp", "if (!lastSkipDate_) lastSkipDate_ = longAgo();", "if (!lastSkipDate_) lastSkipDate_ = now();", "first skip refused"),
    ("src/lockscreen/lock_screen.cpp", "    SCL::breakSnoozed = true;\n", "", "the snooze button does not mark the break"),
    ("src/lockscreen/lock_screen.cpp", "if (!SCL::breakSnoozed) {", "if (true) {", "a snooze lifts the limits"),
    ("src/engine/main_window.cpp", "const bool snoozed = SCL::breakSnoozed;", "const bool snoozed = SCL::lockTicks >= 1000;", "the countdown judges a snooze by the count"),
    ("src/engine/main_window.cpp", "    SCL::breakSnoozed = false;\n", "", "a snooze marks the next break too"),
    ("src/common/dialogs.cpp", "if (!workspace.openFile(path))", "if (!workspace.openFile(path) && false)", "help without a viewer says nothing"),
    ("src/lockscreen/lock_screen.cpp", "kSnoozeLimit = 300.0", "kSnoozeLimit = 200.0", "snooze limit 200 s"),
    ("src/lockscreen/lock_screen.cpp", "kDimmedAlpha = 0.6", "kDimmedAlpha = 0.5", "dimmed alpha 0.5"),
    ("src/lockscreen/lock_screen.cpp", "screenFrame.height + 100.0", "screenFrame.height + 50.0", "window 50 above the screen"),
    ("src/engine/settings.cpp", "integerForKey(key::lblHide) == 1", "integerForKey(key::lblHide) != 0", "any lblHide starts see-through"),
    ("src/lockscreen/lock_screen.cpp", "event.clickCount != 2", "event.clickCount < 2", "triple click switches"),
    ("src/lockscreen/lock_screen.cpp", "SCL::lockTicks * 100 / SCL::lockDur", "SCL::lockTicks * 100 / (SCL::lockDur + 1)", "progress percent off"),
    ("src/lockscreen/lock_screen.cpp", "            SCL::lastSkipDate() = SCL::longAgo();\n", "", "completed break keeps the skip limit"),
    ("src/lockscreen/lock_screen.cpp", "    if (isFirst) {", "    if (true) {", "second window takes the focus"),
    ("src/app/app_delegate.cpp", "kSkipInterval = 3000.0", "kSkipInterval = 2000.0", "skip limit 2000 s"),
    ("src/app/app_delegate.cpp", "while (uid == 0)", "if (uid == 0)", "uid drawn once"),
    ("src/engine/settings.h", "kBreakMinutes{1, 60, 2}", "kBreakMinutes{1, 60, 3}", "first break length 3"),
    ("src/engine/settings.cpp", "if (stored == 0) return range.firstLaunch;", "", "a stored 0 runs as 1 minute"),
    ("src/engine/settings.cpp", "return Corner::BottomRight;", "return Corner::TopLeft;", "odd corner top left"),
    ("src/app/app_delegate.cpp", "if (!SCL::isPwdOk()) p.app->exit(0);", "SCL::isPwdOk();", "cancelled start goes on"),
    ("src/common/dialogs.cpp", "if (*typed == stored) return true;\n        if (*typed == \"--1\") return false;",
     "if (*typed == \"--1\") return false;\n        if (*typed == stored) return true;", "password --1 taken as cancel"),
    ("src/common/dialogs.cpp", "if (!typed) return false;", "if (!typed) typed = \"--1\";",
     "Cancel passes a password of --1"),
    ("src/common/usage.cpp", "\"&uid=\"", "\"&id=\"", "usage query key"),
    ("src/prefs/pref_window.cpp", "defaults.setInteger(key::lblHide, outlet(\"lblHide\").state());", "", "lblHide not saved"),
    ("src/prefs/pref_window.cpp", "        engine->placeWindow();\n", "", "save does not re-place"),
    ("src/engine/main_window.cpp", "if (SCL::progress >= workDur && busyNow != WaitReason::None) {",
     "if (false) {", "a due break never waits"),
    ("src/engine/main_window.cpp", "(busy(p.camera) | busy(p.microphone))", "busy(p.microphone)",
     "the camera is no call"),
    ("src/engine/main_window.cpp", "kAfterWait = 30.0", "kAfterWait = 25.0",
     "a waited break 25 s after the wait"),
    ("src/engine/main_window.cpp", "if (away >= static_cast<double>(SCL::lockDur))",
     "if (away >= 2.0 * static_cast<double>(SCL::lockDur))", "away a whole break is no break"),
    ("src/engine/history.cpp", "if (day != pendingDay_) {", "if (pendingDay_.empty()) {",
     "midnight does not split the time"),
    ("src/engine/history.cpp", "count(since <= window * 1.5 ? since : window);", "count(since);",
     "a sample after a gap counts the gap"),
    ("src/engine/history.cpp", "if (day == today_) todayActive_ += seconds;", "",
     "today's active seconds stand still"),
    ("src/app/app_delegate.cpp", "else if (!item->enabled)", "else if (false)",
     "a script chooses a greyed menu item"),
]


def run(cmd, cwd, timeout):
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", help="run the mutations whose description holds this text")
    parser.add_argument("--keep", action="store_true", help="keep the scratch tree")
    args = parser.parse_args()

    scratch = Path(tempfile.mkdtemp(prefix="tamsel-mutate-"))
    tree, build = scratch / "src", scratch / "build"
    shutil.copytree(ROOT, tree, ignore=shutil.ignore_patterns(".git", "build*"))
    configure = ["cmake", "-S", str(tree), "-B", str(build), "-DTAMSEL_WITH_QT=OFF",
                 "-DCMAKE_BUILD_TYPE=Debug"]
    target = ["cmake", "--build", str(build), "-j", str(os.cpu_count() or 2), "--target",
              "tamsel_unit_tests"]
    tests = [str(build / "tests" / "tamsel_unit_tests")]
    if run(configure, scratch, 600) or run(target, scratch, 1800) or run(tests, scratch, 600):
        sys.exit("the unmutated tree does not build or its tests fail")

    caught = total = stale = 0
    for path, original, mutated, what in MUTATIONS:
        if args.only and args.only not in what:
            continue
        file = tree / path
        text = file.read_text()
        if text.count(original) != 1:
            print(f"STALE   {path}: {what}")
            stale += 1
            continue
        total += 1
        file.write_text(text.replace(original, mutated))
        try:
            failed = run(target, scratch, 1800) != 0 or run(tests, scratch, 600) != 0
        except subprocess.TimeoutExpired:
            failed = True
        finally:
            file.write_text(text)
        caught += failed
        print(f"{'caught ' if failed else 'MISSED '} {path}: {what}", flush=True)

    print(f"\n{caught} of {total} mutations caught" + (f", {stale} stale" if stale else ""))
    if not args.keep:
        shutil.rmtree(scratch, ignore_errors=True)
    else:
        print(f"kept {scratch}")


if __name__ == "__main__":
    main()
