#!/usr/bin/env python3
"""The Debian package on this machine: `apt-get install ./tamsel_*.deb`
puts the program, its desktop entry, icons, manual, manual page and metainfo
under /usr; the installed /usr/bin/tamsel starts on Xvfb until its indicator
maps, and ends when asked; `apt-get purge` then leaves every folder the
package wrote into as it was before. Root only (CI runs as root); skipped
where Tamsel is installed already, which this story would remove.

    test_package_install.py <deb>
"""

import os
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import harness as h  # noqa: E402

DEB = Path(sys.argv[1]).resolve()
APT_ENV = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
# apt waits this long for the package database another apt holds.
APT = ["apt-get", "-y", "-q", "--no-install-recommends", "-o", "DPkg::Lock::Timeout=120"]
WANTED = ["usr/bin/tamsel", "usr/share/applications/tamsel.desktop",
          "usr/share/metainfo/org.tamsel.Tamsel.metainfo.xml", "usr/share/man/man1/tamsel.1.gz",
          "usr/share/tamsel/Manual.pdf", "usr/share/doc/tamsel/copyright",
          "usr/share/icons/hicolor/16x16/apps/tamsel.png",
          "usr/share/icons/hicolor/256x256/apps/tamsel.png"]


def installed():
    res = subprocess.run(["dpkg-query", "-W", "-f=${db:Status-Status}", "tamsel"],
                         capture_output=True, text=True)
    return res.stdout.strip() or "not-installed"


def apt(session, *args):
    res = subprocess.run(APT + list(args), env=APT_ENV, capture_output=True, text=True,
                         timeout=240)
    (session.logs / "apt.out").open("a").write(res.stdout + res.stderr)
    h.check(res.returncode == 0, f"apt-get {' '.join(args)} failed:\n{res.stdout}{res.stderr}")


def listings(folders):
    return {f: sorted(os.listdir(f)) if os.path.isdir(f) else None for f in folders}


def story(session):
    if os.geteuid() != 0:
        raise h.Skip("installing a package needs root")
    h.require_tools("apt-get", "dpkg-deb")
    h.check(DEB.exists(), f"{DEB} is missing: `make package` builds it")
    if installed() != "not-installed":
        raise h.Skip(f"tamsel is {installed()} on this machine; the story would remove it")

    contents = subprocess.run(["dpkg-deb", "--contents", str(DEB)], capture_output=True,
                              text=True, check=True).stdout
    entries = [(line[0], line.split()[5].removeprefix("./").rstrip("/"))
               for line in contents.splitlines()]
    paths = [p for _kind, p in entries if p]
    h.check(not (missing := set(WANTED) - set(paths)), f"the package lacks {missing}")
    h.check(all(p.startswith("usr") for p in paths), "the package puts files outside /usr")
    folders = sorted({"/" + p for kind, p in entries if kind == "d" and p} | {"/var/lib/dpkg/info"})
    before = listings(folders)

    apt(session, "install", str(DEB))
    session.on_close(lambda: installed() == "not-installed" or subprocess.run(
        APT + ["purge", "tamsel"], env=APT_ENV, capture_output=True))
    h.check(installed() == "installed", f"after apt-get install, tamsel is {installed()}")
    h.note("installed")

    app = h.Tamsel(session, session.display(), h.default_settings(), binary="/usr/bin/tamsel")
    app.start()
    h.check(app.wait_indicator(15), f"no indicator {app.since_start():.0f} s after the start")
    h.note(f"the indicator mapped {app.since_start():.1f} s after the start")
    app.stop()
    h.check(not app.running(), "/usr/bin/tamsel did not end on SIGTERM")

    apt(session, "purge", "tamsel")
    h.check(installed() == "not-installed", f"after apt-get purge, tamsel is {installed()}")
    after = listings(folders)
    changed = {f: {"left": sorted(set(after[f] or []) - set(before[f] or [])),
                   "gone": sorted(set(before[f] or []) - set(after[f] or []))}
               for f in folders if before[f] != after[f]}
    h.check(not changed, f"after the purge, folders differ from before: {changed}")


if __name__ == "__main__":
    sys.exit(h.run_story(story, 280))
