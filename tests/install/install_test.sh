#!/usr/bin/env bash
# Installs the build into throw-away prefixes, checks that exactly the
# program, its desktop entry, icons and manual land there, then runs the
# Makefile's uninstall and checks that nothing of ours is left while the
# folders and files that were there before stay.
#
#   install_test.sh <build dir> <source dir>
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
sizes=(16 22 24 32 48 64 128 256)
unset MAKEFLAGS MFLAGS MAKELEVEL  # the Makefile below is run on its own

work=$(mktemp -d)
# The build folder's record of a real install must survive this test.
for f in install_manifest.txt install_created_dirs.txt; do
    [ -e "$build/$f" ] && mv "$build/$f" "$work/saved-$f"
done
restore() {
    rm -f "$build/install_manifest.txt" "$build/install_created_dirs.txt"
    for f in install_manifest.txt install_created_dirs.txt; do
        [ -e "$work/saved-$f" ] && mv "$work/saved-$f" "$build/$f"
    done
    rm -rf "$work"
}
trap restore EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expected_files() {
    echo bin/tamsel
    echo share/applications/tamsel.desktop
    echo share/doc/tamsel/Manual.pdf
    for n in "${sizes[@]}"; do echo "share/icons/hicolor/${n}x${n}/apps/tamsel.png"; done
    for f in extension.js metadata.json icons/tamsel-symbolic.svg; do
        echo "share/gnome-shell/extensions/tamsel@tamsel.org/$f"
    done
}

# Width and height from a PNG's header.
png_size() {
    local b
    read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))x$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}

check_installed() {
    local prefix=$1 before=$2
    local got want
    got=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
    want=$( (
        expected_files
        if [ -n "$before" ]; then echo "$before"; fi
    ) | sort)
    if [ "$got" != "$want" ]; then
        fail "installed files differ from the expected list"
        diff <(echo "$want") <(echo "$got") || true
    fi
    [ -x "$prefix/bin/tamsel" ] || fail "bin/tamsel is not executable"
    for n in "${sizes[@]}"; do
        local png="$prefix/share/icons/hicolor/${n}x${n}/apps/tamsel.png"
        [ -f "$png" ] || continue
        local size
        size=$(png_size "$png")
        [ "$size" = "${n}x${n}" ] || fail "$png is $size, not ${n}x${n}"
    done
    local pdf="$prefix/share/doc/tamsel/Manual.pdf"
    if [ -f "$pdf" ]; then
        [ "$(head -c 5 "$pdf")" = "%PDF-" ] || fail "Manual.pdf is not a PDF"
        [ "$(stat -c %s "$pdf")" -gt 20000 ] || fail "Manual.pdf is suspiciously small"
        grep -aq "/MediaBox \[0 0 595" "$pdf" || fail "Manual.pdf is not A4"
    fi
    local desktop="$prefix/share/applications/tamsel.desktop"
    for line in "Name=Tamsel" "Exec=tamsel" "Icon=tamsel" "Categories=Utility;"; do
        grep -qx "$line" "$desktop" || fail "tamsel.desktop lacks '$line'"
    done
    grep -q "^Comment=." "$desktop" || fail "tamsel.desktop has no Comment"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "desktop-file-validate rejects tamsel.desktop"
    else
        echo "note: desktop-file-validate not found, skipped"
    fi
}

uninstall() {
    make -s -C "$source" uninstall BUILD="$build" >"$work/uninstall.log" 2>&1 ||
        { cat "$work/uninstall.log"; fail "make uninstall failed"; }
}

listing() { (cd "$1" && find . -mindepth 1 | sed 's|^\./||' | sort); }

# 1. A prefix that does not exist yet: afterwards it is empty.
fresh="$work/fresh"
cmake --install "$build" --prefix "$fresh" >/dev/null
check_installed "$fresh" ""
uninstall
if [ -n "$(listing "$fresh")" ]; then
    fail "uninstall left things behind in a fresh prefix:"
    listing "$fresh"
fi
[ ! -e "$build/install_manifest.txt" ] || fail "the manifest outlived the uninstall"

# 2. A prefix with folders and a file of others in it, installed twice over:
#    afterwards exactly what was there before is there.
shared="$work/shared"
mkdir -p "$shared/bin" "$shared/share/applications" "$shared/share/icons/hicolor/16x16/apps"
echo other >"$shared/share/icons/hicolor/16x16/apps/other.png"
before=$(listing "$shared")
cmake --install "$build" --prefix "$shared" >/dev/null
cmake --install "$build" --prefix "$shared" >/dev/null
check_installed "$shared" "share/icons/hicolor/16x16/apps/other.png"
uninstall
after=$(listing "$shared")
if [ "$after" != "$before" ]; then
    fail "uninstall did not restore the shared prefix"
    diff <(echo "$before") <(echo "$after") || true
fi

# 3. Nothing installed: uninstall says so and succeeds.
make -s -C "$source" uninstall BUILD="$build" >/dev/null || fail "uninstall without install failed"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install: $(expected_files | wc -l) files installed and removed, shared folders kept"
