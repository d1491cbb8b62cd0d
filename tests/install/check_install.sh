#!/bin/sh
# Installs into a temporary DESTDIR and checks the program, its desktop entry
# and its manual page are there and valid.
set -eu
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
[ -x "$stage/usr/bin/tftpattern" ] || fail "no executable usr/bin/tftpattern"
entry="$stage/usr/share/applications/tftpattern.desktop"
page="$stage/usr/share/man/man1/tftpattern.1"
[ -f "$entry" ] || fail "no desktop entry"
[ -f "$page" ] || fail "no manual page"

desktop-file-validate "$entry" || fail "desktop entry does not validate"
grep -qx 'Exec=tftpattern' "$entry" || fail "desktop entry does not start tftpattern"
grep -qx 'Terminal=false' "$entry" || fail "desktop entry asks for a terminal"

warnings=$(groff -ww -z -t -man "$page" 2>&1)
[ -z "$warnings" ] || fail "groff warns: $warnings"
text=$(MANWIDTH=80 man -l "$page" 2>&1) || fail "man -l cannot render the page"
for heading in NAME SYNOPSIS PATTERNS KEYS LEAVING MONITORS "EXIT STATUS"; do
    echo "$text" | grep -q "^$heading" || fail "manual page has no $heading section"
done
version=$(sed -n 's/^project(tftpattern VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
echo "$text" | grep -q "tftpattern $version" || fail "manual page does not give version $version"
echo "installed files are there and valid"
