#!/usr/bin/env python3
"""What a distribution checks before it takes the package: each check runs
the distribution's own tool and passes only when the tool has nothing to say.

    checks.py lintian <deb>
    checks.py metainfo <built metainfo> <TamselMetainfo.cmake> <work dir>
    checks.py desktop <desktop file>
    checks.py manpage <page> <remote.cpp> <app_delegate.cpp>
    checks.py versions <version> <debian/changelog> <built metainfo>
"""

import os
import re
import subprocess
import sys
from pathlib import Path


def run(*argv, env=None, stdout=subprocess.PIPE):
    res = subprocess.run(argv, stdout=stdout, stderr=subprocess.PIPE, text=True, timeout=600,
                         env=dict(os.environ, **(env or {})))
    return res.returncode, (res.stdout or "") + res.stderr


def lintian(deb):
    if not Path(deb).exists():
        return [f"{deb} is missing: `make package` builds it"]
    status, out = run("lintian", "--fail-on", "error,warning", deb)
    return re.findall(r"^[EW]: .*", out, re.M) or ([f"lintian failed ({status}):\n{out}"] if status else [])


def metainfo(built, script, work):
    """The metainfo as built, and as a build with a server and published
    screenshots writes it."""
    variant = Path(work) / "with-web.metainfo.xml"
    variant.parent.mkdir(parents=True, exist_ok=True)
    status, out = run("cmake", f"-DOUT={variant}", "-DSERVER_URL=https://tamsel.example.org",
                      "-DSCREENSHOTS_URL=https://tamsel.example.org/screenshots/", "-P", script)
    if status or "<screenshot type=\"default\">" not in variant.read_text(errors="replace"):
        return [f"the variant was not written, or has no screenshots:\n{out}"]
    problems = []
    for path in (built, variant):
        status, out = run("appstreamcli", "validate", "--no-net", "--strict", str(path))
        if status or re.search(r"^[EWI]: ", out, re.M):
            problems.append(f"{path}:\n{out}")
    return problems


def desktop(path):
    status, out = run("desktop-file-validate", path)
    return [out or f"status {status}"] if status or out.strip() else []


def manpage(page, remote_cpp, delegate_cpp):
    """groff's warnings as man-db and lintian show them, and one entry for
    every method and property the bus interface has."""
    status, out = run("man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", page,
                      env={"LC_ALL": "C.UTF-8", "MANROFFSEQ": "", "MANWIDTH": "80"},
                      stdout=subprocess.DEVNULL)
    problems = [f"man --warnings:\n{out}"] if status or out.strip() else []
    methods = re.findall(r'\{"(\w+)", "\w*", Request::', Path(remote_cpp).read_text())
    body = re.search(r"::remoteProperties\(.*?\n\}", Path(delegate_cpp).read_text(), re.S)
    properties = re.findall(r'\{"(\w+)",', body.group(0)) if body else []
    if not methods or not properties:
        return problems + ["found no methods or properties in the sources"]
    scripting = Path(page).read_text().split(".SH SCRIPTING", 1)[-1].split("\n.SH ", 1)[0]
    entries = set(re.findall(r"^\.TP\n\.B[IR]? (\w+)", scripting, re.M))
    if entries != set(methods + properties):
        problems.append(f"SCRIPTING lists {sorted(entries)}; the bus has "
                        f"{sorted(methods + properties)}")
    return problems


def versions(version, changelog, built_metainfo):
    _status, out = run("dpkg-parsechangelog", "-l", changelog, "-S", "Version")
    release = re.search(r'<release version="([^"]+)"', Path(built_metainfo).read_text())
    found = {"debian/changelog": out.strip(), "metainfo's newest release": release and release[1]}
    return [f"{k} says {v!r}, CMake's project(VERSION) {version!r}"
            for k, v in found.items() if v != version]


if __name__ == "__main__":
    problems = globals()[sys.argv[1]](*sys.argv[2:])
    print("\n".join(f"FAIL: {p}" for p in problems))
    sys.exit(1 if problems else 0)
