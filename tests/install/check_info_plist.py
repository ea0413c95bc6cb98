"""Reads the bundle's Info.plist as macOS would and checks what the app
relies on: its version, its identifier, and no Dock icon."""

import plistlib
import sys

with open(sys.argv[1], "rb") as f:
    info = plistlib.load(f)

problems = []
want = {
    "CFBundleShortVersionString": "2.6",
    "CFBundleExecutable": "Tamsel",
    "CFBundlePackageType": "APPL",
    "LSUIElement": True,
}
for key, value in want.items():
    if info.get(key) != value:
        problems.append(f"{key} is {info.get(key)!r}, want {value!r}")
ident = info.get("CFBundleIdentifier", "")
if not ident or "$" in ident or "." not in ident:
    problems.append(f"CFBundleIdentifier {ident!r} is not a reverse-DNS name")
for key, value in info.items():
    if isinstance(value, str) and "${" in value:
        problems.append(f"{key} was not filled in: {value}")

for p in problems:
    print("FAIL:", p)
if problems:
    sys.exit(1)
print(f"Info.plist: {len(info)} keys, version {info['CFBundleShortVersionString']}")
