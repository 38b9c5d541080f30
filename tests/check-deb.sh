#!/usr/bin/env bash
# Checks the Debian package: exactly the expected files, then installed into a throw-away root
# (on this machine's libraries), started on a virtual display, and purged, leaving nothing.
#   check-deb.sh <tallyvex_*.deb>
set -euo pipefail
deb=$(realpath "$1")
fail() { echo "$*"; exit 1; }

expected=$(cat <<'LIST'
./usr/bin/tallyvex
./usr/share/applications/com.example.Tallyvex.desktop
./usr/share/doc/tallyvex/changelog.Debian.gz
./usr/share/doc/tallyvex/copyright
./usr/share/icons/hicolor/128x128/apps/com.example.Tallyvex.png
./usr/share/icons/hicolor/16x16/apps/com.example.Tallyvex.png
./usr/share/icons/hicolor/256x256/apps/com.example.Tallyvex.png
./usr/share/icons/hicolor/32x32/apps/com.example.Tallyvex.png
./usr/share/icons/hicolor/48x48/apps/com.example.Tallyvex.png
./usr/share/icons/hicolor/64x64/apps/com.example.Tallyvex.png
./usr/share/icons/hicolor/scalable/apps/com.example.Tallyvex.svg
./usr/share/lintian/overrides/tallyvex
./usr/share/man/man1/tallyvex.1.gz
./usr/share/metainfo/com.example.Tallyvex.metainfo.xml
LIST
)
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort)
[ "$files" = "$expected" ] || fail "the package's files differ from the list: $(diff <(echo "$expected") <(echo "$files"))"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends does not name Qt's libraries"
dpkg-deb -f "$deb" Recommends | grep -qw 'qt6-wayland' || fail "Recommends does not name qt6-wayland"
dpkg-deb -f "$deb" Homepage | grep -q '^http://[a-z]' || fail "no Homepage: $(dpkg-deb -f "$deb" Homepage)"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info"
touch "$root/var/lib/dpkg/status"
before=$(cd "$root" && find . | sort)
# The root has no packages, so its dependencies are this machine's: they are not checked there.
in_root() { local out; out=$(dpkg --root="$root" --force-depends --force-script-chrootless "$@" 2>&1) || fail "$out"; }
in_root --install "$deb"

# Without a display it says what a user of the installed program can do, and ends.
status=0
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/tallyvex" 2>&1) || status=$?
[ "$status" = 1 ] && [[ $message == *DISPLAY*WAYLAND_DISPLAY*xvfb-run\ -a\ tallyvex* ]] ||
    fail "without a display: status $status, \"$message\""

xvfb-run -a bash -c '
    XDG_RUNTIME_DIR=$(mktemp -d) "$0" & program=$!
    xdotool search --sync --onlyvisible --name "^TALLYVEX !$" >/dev/null & search=$!
    ( sleep 30; kill $search 2>/dev/null ) &
    wait $search; found=$?
    kill $program
    exit $found' "$root/usr/bin/tallyvex" || fail "the installed program showed no window"

in_root --purge tallyvex
after=$(cd "$root" && find . | sort | grep -v '^\./var/lib/dpkg')
left=$(comm -13 <(echo "$before" | grep -v '^\./var/lib/dpkg') <(echo "$after"))
[ -z "$left" ] || fail "left behind after purging: $left"
echo "the package holds what it should, runs from where it installs, and leaves nothing behind"
