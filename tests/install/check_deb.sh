#!/bin/sh
# Builds the .deb and checks its control fields and contents.
set -eu
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/tftpattern_*.deb)

fail() { echo "FAIL: $*"; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }
version=$(sed -n 's/^project(tftpattern VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$(field Package)" = tftpattern ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version), not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is $(field Architecture)"
depends=$(field Depends)
echo "Depends: $depends"
for library in libsdl2-2.0-0 libx11-6 libxi6 libc6; do
    echo "$depends" | grep -q "$library" || fail "Depends lacks $library"
done
echo "$depends" | grep -q -- '-dev' && fail "Depends names a build package"
for package in $(echo "$depends" | tr ',' '\n' | sed 's/[ (].*//; s/^ *//'); do
    case $package in
        lib*) ;;
        *) fail "Depends names $package, which is not a run-time library" ;;
    esac
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/tftpattern ./usr/share/applications/tftpattern.desktop \
    ./usr/share/man/man1/tftpattern.1; do
    echo "$contents" | grep -q " $file\$" || fail "package lacks $file"
done
echo "package $deb is sound"
