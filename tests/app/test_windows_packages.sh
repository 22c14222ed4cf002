#!/bin/sh
# The Windows packages as a user meets them, under Wine: the program file
# carries its identity; the portable zip unpacks to one folder whose DLLs are
# exactly those its programs load; the installer installs silently for the
# user alone, with a Start-menu shortcut that starts the program in the
# user's own folder and an entry in installed apps; started from that
# shortcut, the program finds all it needs in its folder and keeps KDM.cfg in
# the user's; while it runs, the installer and the uninstaller change
# nothing; after, the uninstaller, started as installed apps starts it,
# removes every file it installed and nothing of the user's. Needs an X session with
# a window manager (tests/support/with_window_manager.sh).
# A libcurl-4.dll planted in the working folder is never loaded. Installing
# into another folder removes the copy installed before.
# Usage: test_windows_packages.sh BUILD_DIR CMAKE OBJDUMP STRINGS WINE64 WINESERVER CXX
set -eu
# Nothing from outside may help the Windows program find its DLLs or Qt's
# platform plug-in.
unset QT_QPA_PLATFORM QT_PLUGIN_PATH WINEPATH
build=$1 cmake=$2 objdump=$3 strings=$4 wine=$5 wineserver=$6 cxx=$7
here=$(dirname "$0")
work=$(mktemp -d)
WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

"$cmake" --build "$build" --target package >"$work/package.log" 2>&1 || { cat "$work/package.log"; fail "making the packages"; }
name=FerroxSpdCalc-2012.0831.2343-windows-x64
[ -f "$build/$name.zip" ] || fail "no $name.zip"
[ -f "$build/$name-setup.exe" ] || fail "no $name-setup.exe"

mkdir "$work/zip"
(cd "$work/zip" && "$cmake" -E tar xf "$build/$name.zip")
[ "$(ls "$work/zip")" = FerroxSpdCalc ] || fail "the zip does not unpack to the one folder FerroxSpdCalc"
portable=$work/zip/FerroxSpdCalc
program=$portable/FerroxSpdCalc.exe
"$objdump" -p "$program" | grep -q '^Subsystem.*(Windows GUI)' || fail "the program opens a console window"
"$strings" -el "$program" >"$work/strings"
for value in "Ferrox Speed Calculator" "Quorvel Software" 2012.0831.2343 "Calculate Max Speed of a Curve for Ferrox" \
    "This utility is for SIMULATOR USE ONLY" "Copyright (c) 2012 Quorvel Software" FerroxSpdCalc.exe; do
    grep -qxF "$value" "$work/strings" || fail "the version record lacks \"$value\""
done
"$strings" "$program" | grep -qF '<dpiAwareness' || fail "the program has no manifest"
# The version check loads libcurl from the program's folder when the About window asks.
"$here/check_windows_dlls.sh" "$portable" "$objdump" libcurl-4.dll || fail "the zip's DLLs"
(cd "$portable" && find . -type f | sort) >"$work/portable-files"

# A fresh Wine prefix stands for a fresh user account.
"$wine" wineboot --init >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; fail "wineboot"; }
"$wineserver" -w
user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public)
home=$WINEPREFIX/drive_c/users/$user
installed=$home/AppData/Local/Programs/FerroxSpdCalc
working=$home/AppData/Roaming/Quorvel/FerroxSpdCalc
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ferrox Speed Calculator.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\example.quorvel.FerroxSpdCalc'

# Started in a folder that holds a libcurl-4.dll of someone else's, with its
# own missing, the program never loads that one: its version check finds no
# libcurl. The planted DLL leaves a mark in the folder when it is loaded.
mkdir "$work/bare" "$work/planted"
cp -r "$portable/." "$work/bare/"
rm "$work/bare/libcurl-4.dll"
cat >"$work/planted.cpp" <<'DLL'
#include <windows.h>
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        CloseHandle(CreateFileA("planted-dll-loaded", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}
DLL
"$cxx" -shared -o "$work/planted/libcurl-4.dll" "$work/planted.cpp" || fail "building the planted DLL"
(cd "$work/planted" && exec "$wine" "$work/bare/FerroxSpdCalc.exe") >/dev/null 2>&1 &
for _ in $(seq 120); do
    xdotool search --onlyvisible --name '^Ferrox SpdCalc$' >"$work/window" 2>/dev/null && break
    sleep 0.5
done
[ -s "$work/window" ] || fail "the program started in the planted folder shows no window"
xdotool windowactivate --sync "$(head -n 1 "$work/window")" key --clearmodifiers alt+a
sleep 4 # the check asks for the version file at its first tick
xdotool key Escape
sleep 1
xdotool windowactivate --sync "$(head -n 1 "$work/window")" key --clearmodifiers alt+F4
"$wineserver" -w
[ -f "$work/planted/KDM.cfg" ] || fail "the program started in the planted folder did not run"
[ ! -e "$work/planted/planted-dll-loaded" ] || fail "the program loaded the libcurl-4.dll of its working folder"

"$wine" "$build/$name-setup.exe" /S || fail "the installer reports failure"
"$wineserver" -w
{ cat "$work/portable-files"; echo ./Uninstall.exe; } | sort >"$work/expected"
[ -d "$installed" ] || fail "nothing installed in %LOCALAPPDATA%\\Programs\\FerroxSpdCalc"
(cd "$installed" && find . -type f | sort) >"$work/installed-files"
diff -u "$work/expected" "$work/installed-files" || fail "the installed files differ from the zip's"
[ -d "$working" ] || fail "no working folder %APPDATA%\\Quorvel\\FerroxSpdCalc"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
windows_home="C:\\users\\$user\\AppData"
"$strings" -el "$shortcut" | grep -qF "$windows_home\\Roaming\\Quorvel\\FerroxSpdCalc" ||
    fail "the shortcut does not start the program in %APPDATA%\\Quorvel\\FerroxSpdCalc"
"$strings" -el "$shortcut" | grep -qF "$windows_home\\Local\\Programs\\FerroxSpdCalc\\FerroxSpdCalc.exe" ||
    fail "the shortcut does not start the installed program"

"$wine" reg query "$key" >"$work/entry" 2>&1 || fail "no entry in installed apps"
value() { tr -d '\r' <"$work/entry" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
# Runs the quiet uninstaller of the entry read last, as installed apps runs it.
run_registered_uninstaller() {
    quiet=$(value QuietUninstallString)
    uninstaller=${quiet#\"}
    # shellcheck disable=SC2086 # the arguments as the registry gives them
    "$wine" "${uninstaller%%\"*}" ${quiet##*\" }
}
installed_windows="$windows_home\\Local\\Programs\\FerroxSpdCalc"
for expected in "DisplayName|Ferrox Speed Calculator" "DisplayVersion|2012.0831.2343" "Publisher|Quorvel Software" \
    "DisplayIcon|$installed_windows\\FerroxSpdCalc.exe" "InstallLocation|$installed_windows" \
    "UninstallString|\"$installed_windows\\Uninstall.exe\" _?=$installed_windows" \
    "QuietUninstallString|\"$installed_windows\\Uninstall.exe\" /S _?=$installed_windows" \
    "NoModify|0x1" "NoRepair|0x1"; do
    field=${expected%%|*}
    [ "$(value "$field")" = "${expected#*|}" ] || fail "$field is \"$(value "$field")\", not \"${expected#*|}\""
done
size=$(($(value EstimatedSize)))
actual=$(du -sk "$installed" | cut -f1)
[ "$size" -gt $((actual / 2)) ] && [ "$size" -le $((actual * 2)) ] ||
    fail "EstimatedSize is $size KB for $actual KB installed"

# Wine's shell, starting up in a fresh session, now and then fails a first
# start with "Internal error"; a broken shortcut fails every time.
for attempt in 1 2 3; do
    "$wine" start /unix "$shortcut" && break
    [ "$attempt" -lt 3 ] || fail "the shortcut does not start"
    sleep 2
done
for _ in $(seq 120); do
    xdotool search --name '^Ferrox SpdCalc$' >"$work/window" 2>/dev/null && break
    sleep 0.5
done
[ -s "$work/window" ] || fail "the installed program shows no window"
# While the program runs, the installer and the uninstaller, run as installed
# apps runs it, keep everything and say they failed.
! "$wine" "$build/$name-setup.exe" /S || fail "the installer reports success while the program runs"
! run_registered_uninstaller || fail "the uninstaller reports success while the program runs"
(cd "$installed" && find . -type f | sort) | diff -u "$work/expected" - || fail "files of the running program went"
"$wine" reg query "$key" >/dev/null 2>&1 || fail "the entry in installed apps went while the program runs"
xdotool windowactivate --sync "$(head -n 1 "$work/window")" key --clearmodifiers alt+F4
"$wineserver" -w
[ -s "$working/KDM.cfg" ] || fail "the program started from the shortcut kept no KDM.cfg in the user's folder"
cp "$working/KDM.cfg" "$work/KDM.cfg"

uninstall() {
    run_registered_uninstaller || fail "the uninstaller reports failure"
    "$wineserver" -w
    [ ! -e "$installed" ] || { find "$installed"; fail "the uninstaller left the above behind"; }
    [ ! -e "$shortcut" ] || fail "the uninstaller left the shortcut"
    ! "$wine" reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left the entry in installed apps"
    cmp -s "$work/KDM.cfg" "$working/KDM.cfg" || fail "the uninstaller touched the user's KDM.cfg"
}
uninstall

# Installed again, then into another folder: the first copy goes.
"$wine" "$build/$name-setup.exe" /S || fail "the installer reports failure"
first=$installed
installed_windows="$windows_home\\Local\\Apps\\FerroxSpdCalc"
installed="$home/AppData/Local/Apps/FerroxSpdCalc"
"$wine" "$build/$name-setup.exe" /S "/D=$installed_windows" || fail "the installer into another folder reports failure"
"$wineserver" -w
[ ! -e "$first" ] || { find "$first"; fail "installing into another folder left the first copy"; }
(cd "$installed" && find . -type f | sort) | diff -u "$work/expected" - || fail "the second folder's files"
"$wine" reg query "$key" >"$work/entry" 2>&1 || fail "no entry in installed apps"
[ "$(value InstallLocation)" = "$installed_windows" ] || fail "installed apps names $(value InstallLocation)"
uninstall
echo "The packages install, start in the user's folder, load no planted DLL, replace an earlier copy and uninstall cleanly."
