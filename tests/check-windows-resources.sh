#!/usr/bin/env bash
# Compiles the Windows resource file with the MinGW resource compiler and reads the result back
# (check-windows-resources.sh tallyvex.rc VERSION): the version record, the manifest and the
# icon group 1 of icons 30001 and 30002. Exits 77 (skipped) only when the compiler is not
# installed.
set -euo pipefail
rc=$1
# The version record as Windows shows it, for the version the build gives (major.minor.patch.
# tweak): its four numbers, and a text of the major number, the minor in two digits and the
# tweak in four.
IFS=. read -r major minor patch tweak <<<"$2"
numbers="$major, $minor, $patch, $tweak"
text=$(printf '%d.%02d.%04d' "$major" "$minor" "$tweak")
windres=x86_64-w64-mingw32-windres
command -v "$windres" >/dev/null || { echo "$windres is not installed"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$windres" --preprocessor=cpp -i "$rc" -o "$out/tallyvex.res"
"$windres" -i "$out/tallyvex.res" -O rc >"$out/decompiled.rc"

check() { grep -qF -- "$1" "$out/decompiled.rc" || { echo "missing: $1"; exit 1; }; }
check '30001 3 /* RT_ICON */'
check '30002 3 /* RT_ICON */'
check '1 14 /* RT_GROUP_ICON */'
check '1 24 /* RT_MANIFEST */'
check '"\040\040\020\000", 1, 4, 0x2e8L, 30001'
check '"\020\020\020\000", 1, 4, 0x128L, 30002'
check "FILEVERSION $numbers"
check "PRODUCTVERSION $numbers"
check 'BLOCK "040904B0"'
check "VALUE \"FileVersion\", \"$text\""
check "VALUE \"ProductVersion\", \"$text\""
check 'VALUE "FileDescription", "This is My First Software !"'
check 'VALUE "ProductName", "Tallyvex !"'
check 'VALUE "InternalName", "Tallyvex"'
check 'VALUE "OriginalFilename", "Tallyvex.exe"'
check 'VALUE "Translation", 0x409, 1200'
echo "resource file compiles"
