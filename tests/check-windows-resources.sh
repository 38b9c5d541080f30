#!/usr/bin/env bash
# Compiles the Windows resource file with the MinGW resource compiler and reads the result back:
# the version record and the icon group 1 of icons 30001 and 30002. Exits 77 (skipped) only when
# the compiler is not installed.
set -euo pipefail
rc=$1
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
check '"\040\040\020\000", 1, 4, 0x2e8L, 30001'
check '"\020\020\020\000", 1, 4, 0x128L, 30002'
check 'FILEVERSION 1, 0, 0, 1'
check 'PRODUCTVERSION 1, 0, 0, 1'
check 'BLOCK "040904B0"'
check 'VALUE "FileVersion", "1.00.0001"'
check 'VALUE "ProductVersion", "1.00.0001"'
check 'VALUE "FileDescription", "This is My First Software !"'
check 'VALUE "ProductName", "Tallyvex !"'
check 'VALUE "InternalName", "Tallyvex"'
check 'VALUE "OriginalFilename", "Tallyvex.exe"'
check 'VALUE "Translation", 0x409, 1200'
echo "resource file compiles"
