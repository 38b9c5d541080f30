#!/usr/bin/env bash
# Checks the deployed Windows folder: the program, its platform, style and picture plugins, and
# every DLL that any of them imports, unless the system has it; no DLL that nothing imports.
#   check-windows-deploy.sh <folder>
set -euo pipefail
folder=$1
# Wine's own builds of the system's DLLs: what every Windows has.
system=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
[ -d "$system" ] || { echo "no list of system DLLs at $system"; exit 1; }
cd "$folder"

fail() { echo "$*"; exit 1; }
# The windowsvista style's plugin, of its own before Qt 6.7 and shared with Windows 11's after.
style=$(ls styles/qwindowsvistastyle.dll styles/qmodernwindowsstyle.dll 2>/dev/null || true)
for file in tallyvex.exe platforms/qwindows.dll "$style" imageformats/qgif.dll; do
    [ -f "$file" ] || fail "missing: ${file:-the plugin of the windowsvista style}"
done

imported=()
while IFS= read -r -d '' file; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        imported+=("${dll,,}")
        [ -n "$(find . -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
        # API sets name parts of the system, which resolves them itself.
        [[ ${dll,,} == api-ms-win-* || ${dll,,} == ext-ms-* ]] && continue
        [ -n "$(find "$system" -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
        fail "$file imports $dll, which is neither in the folder nor a system DLL"
    done
done < <(find . -iname '*.exe' -print0 -o -iname '*.dll' -print0)

for dll in *.dll; do
    printf '%s\n' "${imported[@]}" | grep -qxF "${dll,,}" || fail "nothing imports $dll"
done
# Nothing but the program, its DLLs and the plugin folders.
extra=$(find . -type f ! -iname '*.dll' ! -name tallyvex.exe)
[ -z "$extra" ] || fail "not needed: $extra"
echo "deployed folder holds exactly what the program loads: $(find . -type f | wc -l) files"
