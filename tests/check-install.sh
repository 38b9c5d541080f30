#!/usr/bin/env bash
# Checks an installed Tallyvex: the program, the desktop entry, the icons in the hicolor theme
# and the AppStream metadata, each in its usual place and accepted by the desktop's own
# validators. Either the build, installed into an empty folder first, or, with --installed,
# what the Debian package installed on this system.
#   check-install.sh <build folder> <version>
#   check-install.sh --installed <version>
set -euo pipefail
build=$1
version=$2
if [ "$build" = --installed ]; then
    root=
else
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    cmake --install "$build" --prefix "$root/usr" >/dev/null
fi

expect() { [ -e "$root/usr/$1" ] || { echo "not installed: $1"; exit 1; }; }
expect bin/tallyvex
[ -x "$root/usr/bin/tallyvex" ] || { echo "bin/tallyvex is not executable"; exit 1; }
expect share/applications/com.example.Tallyvex.desktop
expect share/metainfo/com.example.Tallyvex.metainfo.xml
for size in 16 32 48 64 128 256; do
    icon=share/icons/hicolor/${size}x${size}/apps/com.example.Tallyvex.png
    expect "$icon"
    # A PNG of the size its folder promises: width and height sit at bytes 16 to 23.
    dimensions=$(od -An -tu4 --endian=big -j16 -N8 "$root/usr/$icon" | tr -s ' ')
    [ "$dimensions" = " $size $size" ] || { echo "$icon is not $size x $size"; exit 1; }
done

expect share/icons/hicolor/scalable/apps/com.example.Tallyvex.svg
# Debian's package compresses the manual page.
man=share/man/man1/tallyvex.1
[ -e "$root/usr/$man" ] || man=$man.gz
expect "$man"
zcat -f "$root/usr/$man" | grep -qF "\"Tallyvex $version\""

grep -qx 'Exec=tallyvex' "$root/usr/share/applications/com.example.Tallyvex.desktop"
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/com.example.Tallyvex.metainfo.xml"
# Where the package is tested, its test brings the validators.
if [ -z "$root" ] || command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/com.example.Tallyvex.desktop"
fi
if [ -z "$root" ] || command -v appstreamcli >/dev/null; then
    # Pedantic: no errors and no warnings either.
    appstreamcli validate --no-net --pedantic \
        "$root/usr/share/metainfo/com.example.Tallyvex.metainfo.xml" >/dev/null
fi
echo "installed tree is complete"
