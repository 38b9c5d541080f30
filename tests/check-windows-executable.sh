#!/usr/bin/env bash
# Reads the built tallyvex.exe back: a 64-bit Windows GUI program (no console opens with it)
# whose resources are exactly those of the compiled resource file, the version record, the
# manifest and the icon group 1 of icons 30001 and 30002 (which check-windows-resources.sh
# checks), and whose manifest says what the program asks of Windows.
#   check-windows-executable.sh <tallyvex.exe> <tallyvex.rc>
set -euo pipefail
exe=$1 rc=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "$*"; exit 1; }

headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q '^Magic\s*020b\s*(PE32+)' <<<"$headers" || fail "not a 64-bit executable"
grep -q '^Subsystem\s*00000002\s*(Windows GUI)' <<<"$headers" || fail "not a GUI program"

windres=x86_64-w64-mingw32-windres
"$windres" -J coff -i "$exe" -O rc >"$out/executable.rc"
"$windres" --preprocessor=cpp -i "$rc" -o "$out/tallyvex.res"
"$windres" -i "$out/tallyvex.res" -O rc >"$out/resource-file.rc"
# The memory flags of the compiled file are not kept in an executable.
sed -i 's/ MOVEABLE PURE DISCARDABLE$//' "$out/resource-file.rc"
diff -u "$out/resource-file.rc" "$out/executable.rc" || fail "the executable's resources differ"
# The manifest's bytes stand in the executable as they are.
for asked in 'level="asInvoker"' 'Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' '>true</longPathAware>'; do
    grep -aqF "$asked" "$exe" || fail "the manifest does not ask for $asked"
done
! grep -aq '<dpiAware' "$exe" || fail "the manifest sets DPI awareness, which Qt sets itself"
echo "tallyvex.exe is a 64-bit GUI program carrying the resource file's resources"
