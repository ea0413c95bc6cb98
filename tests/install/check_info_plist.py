"""Reads the bundle's Info.plist as macOS would and checks what the app
relies on: its version, its identifier, and no Dock icon."""

import plistlib
import sys

with open(sys.argv[1], "rb") as f:
    info = plistlib.load(f)
want = {"CFBundleShortVersionString": "2.6", "CFBundleExecutable": "Tamsel", "CFBundlePackageType": "APPL",
        "CFBundleIdentifier": "org.tamsel.Tamsel", "LSUIElement": True}
problems = [f"{k} is {info.get(k)!r}, want {v!r}" for k, v in want.items() if info.get(k) != v]
problems += [f"{k} was not filled in: {v}" for k, v in info.items() if isinstance(v, str) and "${" in v]
print("\n".join(f"FAIL: {p}" for p in problems) or f"Info.plist: {len(info)} keys")
sys.exit(1 if problems else 0)
