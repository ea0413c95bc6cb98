#!/usr/bin/env bash
# Installs the build into throw-away prefixes, checks that exactly the
# program, its desktop entry, icons, manual, manual page and metainfo land
# there, then runs the Makefile's uninstall and checks that nothing of ours
# is left while the folders and files that were there before stay.
#
#   install_test.sh <build dir> <source dir>
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
sizes=(16 22 24 32 48 64 128 256)
unset MAKEFLAGS MFLAGS MAKELEVEL # the Makefile below is run on its own

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
listing() { (cd "$1" && find . -mindepth 1 | sed 's|^\./||' | sort); }
uninstall() { make -s -C "$source" uninstall BUILD="$build" >/dev/null || fail "make uninstall failed"; }

# Installs into $1, which held the files $2 before; checks what is there.
install_into() {
    cmake --install "$build" --prefix "$1" >/dev/null
    local want
    want=$( (printf '%s\n' bin/tamsel share/applications/tamsel.desktop \
        share/tamsel/Manual.pdf share/man/man1/tamsel.1 \
        share/metainfo/org.tamsel.Tamsel.metainfo.xml $2
        for n in "${sizes[@]}"; do echo "share/icons/hicolor/${n}x${n}/apps/tamsel.png"; done
        for f in extension.js metadata.json icons/tamsel-symbolic.svg; do
            echo "share/gnome-shell/extensions/tamsel@tamsel.org/$f"
        done
        for l in de es fr; do echo "share/tamsel/translations/tamsel_$l.qm"; done) | sort)
    [ "$(cd "$1" && find . -type f | sed 's|^\./||' | sort)" = "$want" ] ||
        fail "installed files differ from: $want"
    [ -x "$1/bin/tamsel" ] || fail "bin/tamsel is not executable"
    for n in "${sizes[@]}"; do
        # Width and height from the PNG header, as big-endian words.
        [ "$(od -An -tx1 -j16 -N8 "$1/share/icons/hicolor/${n}x${n}/apps/tamsel.png" | tr -d ' ')" = \
            "$(printf '%08x%08x' "$n" "$n")" ] || fail "the ${n}x${n} icon has another size"
    done
    local pdf="$1/share/tamsel/Manual.pdf" desktop="$1/share/applications/tamsel.desktop"
    [ "$(head -c 5 "$pdf")" = "%PDF-" ] && grep -aq "/MediaBox \[0 0 595" "$pdf" ||
        fail "Manual.pdf is no A4 PDF"
    for line in "Name=Tamsel" "Exec=tamsel" "Icon=tamsel"; do
        grep -qx "$line" "$desktop" || fail "tamsel.desktop lacks '$line'"
    done
}

# A prefix that does not exist yet: afterwards it is empty.
install_into "$work/fresh" ""
uninstall
[ -z "$(listing "$work/fresh")" ] || fail "uninstall left things in a fresh prefix"
[ ! -e "$build/install_manifest.txt" ] || fail "the manifest outlived the uninstall"

# A prefix with folders and a file of others, installed twice over:
# afterwards exactly what was there before is there.
shared="$work/shared"
mkdir -p "$shared/bin" "$shared/share/applications" "$shared/share/icons/hicolor/16x16/apps"
echo other >"$shared/share/icons/hicolor/16x16/apps/other.png"
before=$(listing "$shared")
cmake --install "$build" --prefix "$shared" >/dev/null
install_into "$shared" share/icons/hicolor/16x16/apps/other.png
uninstall
[ "$(listing "$shared")" = "$before" ] || fail "uninstall did not restore the shared prefix"

# Nothing installed: uninstall says so and succeeds.
uninstall
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "install: installed and removed twice, shared folders kept"
