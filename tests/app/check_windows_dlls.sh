#!/bin/sh
# The portable folder holds exactly the DLLs its programs load: every DLL
# that a program or DLL in it imports is either in the folder beside the
# program, where Windows looks first, or part of Windows itself; and every
# DLL beside the program is imported by one of them or loaded by name at run
# time (given after the folder). Qt's plug-ins in the subfolders are loaded
# by Qt.
# Usage: check_windows_dlls.sh FOLDER OBJDUMP [DLL LOADED AT RUN TIME]...
set -eu
folder=$1 objdump=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# DLLs that every Windows 10 and 11 installation has in System32, as far as
# the program, Qt, libcurl and the MinGW runtime import them.
system_dlls="advapi32 authz bcrypt comdlg32 crypt32 d3d9 d3d11 dwmapi dwrite dxgi gdi32 imm32 iphlpapi kernel32
mpr msvcrt netapi32 normaliz ole32 oleaut32 secur32 shcore shell32 shlwapi user32 userenv uxtheme version winmm
winhttp wldap32 ws2_32 wtsapi32"

lower() { tr '[:upper:]' '[:lower:]'; }

(cd "$folder" && find . -maxdepth 1 -type f -iname '*.dll' | sed 's|^\./||' | lower | sort) >"$work/shipped"
for name in "$@"; do echo "$name"; done | lower >"$work/used"
status=0
find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) | sort >"$work/programs"
while read -r program; do
    "$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | lower >"$work/imports" ||
        { echo "FAIL: $objdump cannot read $program"; status=1; continue; }
    while read -r dll; do
        echo "$dll" >>"$work/used"
        grep -qxF "$dll" "$work/shipped" && continue
        case "$dll" in api-ms-win-*) continue ;; esac
        echo "$system_dlls" | tr ' ' '\n' | grep -qxF "${dll%.dll}" && continue
        echo "FAIL: ${program#"$folder"/} imports $dll, which is neither shipped nor part of Windows"
        status=1
    done <"$work/imports"
done <"$work/programs"
sort -u "$work/used" | comm -23 "$work/shipped" - | while read -r dll; do
    echo "FAIL: $dll is shipped but nothing loads it"
    echo 1 >"$work/unused"
done
[ ! -e "$work/unused" ] || status=1
[ "$status" -eq 0 ] && echo "Every imported DLL is shipped or part of Windows, and every shipped DLL is used."
exit "$status"
