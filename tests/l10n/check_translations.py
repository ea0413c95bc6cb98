#!/usr/bin/env python3
"""Each .ts file translates exactly the texts lupdate finds in the sources now,
all finished, keeping the %1s and one & shortcut where the English has one.
usage: check_translations.py LUPDATE SOURCES_LIST INCLUDE_DIR TS_FILE..."""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path


def messages(ts):
    return {(c.findtext("name"), m.findtext("source")): m.find("translation")
            for c in ET.parse(ts).iter("context") for m in c.iter("message")}


def shortcuts(text):
    return len(re.findall(r"&(?!&)", text.replace("&&", "")))


def problems(ts, extracted):
    found = messages(ts)
    for key in sorted(set(extracted) - set(found)):
        yield f"not in the file yet (run the update_translations target): {key[1]!r}"
    for key in sorted(set(found) - set(extracted)):
        yield f"no longer in the sources: {key[1]!r}"
    for (_, source), tr in found.items():
        text = tr.text or ""
        if tr.get("type") or not text.strip():
            yield f"{tr.get('type') or 'empty'}: {source!r}"
        elif sorted(re.findall(r"%\d", text)) != sorted(re.findall(r"%\d", source)):
            yield f"placeholders differ: {source!r} -> {text!r}"
        elif shortcuts(source) and shortcuts(text) != 1:
            yield f"needs one & shortcut: {text!r}"


def main(lupdate, sources, include_dir, *ts_files):
    failed = False
    with tempfile.TemporaryDirectory() as tmp:
        for ts in map(Path, ts_files):
            copy = Path(tmp) / ts.name
            shutil.copy(ts, copy)
            # As the update_translations target runs it: the includes decide
            # the context of a tr() declared in a header.
            subprocess.run([lupdate, "-silent", "-no-obsolete", "-locations", "none",
                            "-I", include_dir, "@" + sources, "-ts", str(copy)], check=True)
            for problem in problems(ts, messages(copy)):
                print(f"{ts.name}: {problem}")
                failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
