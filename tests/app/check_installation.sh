#!/bin/sh
# The program as a packager and a desktop see it: installed into a temporary
# prefix it brings every file it should and nothing else, its desktop entry,
# metainfo and manual page pass their validators, the desktop entry starts the
# program where it should, and `cpack -G DEB` makes the same package each time,
# one that lintian finds no error in.
# Usage: check_installation.sh BUILD_DIR CMAKE CPACK
set -eu
build=$1 cmake=$2 cpack=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

id=example.quorvel.FerroxSpdCalc
package=ferroxspdcalc
sizes="16 22 24 32 48 64 128 256"

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
# Where Arial is not Liberation Sans, the installation says what is missing.
FONTCONFIG_FILE=$(dirname "$0")/../support/fonts/dejavu_sans.conf "$cmake" --install "$build" --prefix "$work/again" 2>&1 \
    | grep -q "fonts-liberation" || fail "installing without Liberation Sans says nothing about it"

expected=$work/expected
{
    echo bin/FerroxSpdCalc
    echo share/applications/$id.desktop
    echo share/metainfo/$id.metainfo.xml
    echo share/man/man1/FerroxSpdCalc.1.gz
    echo share/doc/$package/copyright
    echo share/doc/$package/changelog.gz
    echo share/icons/hicolor/scalable/apps/$id.svg
    for size in $sizes; do echo share/icons/hicolor/${size}x$size/apps/$id.png; done
} | sort >"$expected"
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$work/installed"
diff -u "$expected" "$work/installed" || fail "installed files differ from the list above"

file --brief "$prefix/bin/FerroxSpdCalc" | grep -q '^ELF .* executable' || fail "the program is no executable"
for size in $sizes; do
    file --brief "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "^PNG image data, $size x $size," ||
        fail "the ${size}x$size icon is not $size pixels square"
done
file --brief "$prefix/share/icons/hicolor/scalable/apps/$id.svg" | grep -q '^SVG' || fail "the scalable icon is no SVG"

entry=$prefix/share/applications/$id.desktop
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
# Launched as the desktop launches it, the entry starts the program in the
# user's configuration folder, made when missing; a stand-in program in PATH
# tells where it was started.
launch=$work/launch
mkdir -p "$launch/bin" "$launch/home"
printf '#!/bin/sh\npwd >"%s"\n' "$launch/started-in" >"$launch/bin/FerroxSpdCalc"
chmod +x "$launch/bin/FerroxSpdCalc"
for config in "" "$launch/odd \$name \"quoted\""; do
    rm -f "$launch/started-in"
    if [ -n "$config" ]; then
        expected_folder=$config/FerroxSpdCalc
    else
        expected_folder=$launch/home/.config/FerroxSpdCalc
    fi
    (
        unset DISPLAY WAYLAND_DISPLAY XDG_CONFIG_HOME
        [ -z "$config" ] || export XDG_CONFIG_HOME="$config"
        HOME=$launch/home PATH=$launch/bin:$PATH exec gio launch "$entry"
    ) || fail "gio launch $entry"
    for _ in $(seq 100); do [ -s "$launch/started-in" ] && break; sleep 0.1; done
    [ "$(cat "$launch/started-in" 2>/dev/null)" = "$expected_folder" ] ||
        fail "launched with XDG_CONFIG_HOME=$config, the program started in $(cat "$launch/started-in" 2>/dev/null) instead of $expected_folder"
done
grep -qx "Icon=$id" "$entry" || fail "the entry does not name the installed icon"

appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$prefix" >/dev/null || fail "appstreamcli validate-tree"

report=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/man/man1/FerroxSpdCalc.1.gz" 2>&1 >/dev/null)
[ -z "$report" ] || fail "the manual page has errors: $report"
# In the C locale the formulas fall back to ASCII signs, never to "?".
LC_ALL=C man -l "$prefix/share/man/man1/FerroxSpdCalc.1.gz" 2>/dev/null | tr -s ' \n' '  ' | grep -q 'sqrt(r x 30 / 12)' ||
    fail "the manual page shows the speed formula wrongly in the C locale"

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
set -- "$work"/package/${package}_*.deb
[ -f "$1" ] || fail "no package ${package}_*.deb"
deb=$1
# Reproducible: a second run, a moment later, makes the same bytes.
sleep 1
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/again" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB, a second time"; }
cmp "$deb" "$work/again/$(basename "$deb")" || fail "two cpack runs made different packages"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries"
dpkg-deb --field "$deb" Depends | grep -q 'libcurl4' || fail "Depends lacks libcurl, which the version check loads"
dpkg-deb --field "$deb" Recommends | grep -q 'qt6-wayland' || fail "Recommends lacks qt6-wayland"
dpkg-deb --field "$deb" Depends | grep -q 'fonts-liberation' || fail "Depends lacks fonts-liberation, whose metrics the layout needs"
# Qt's private interfaces would tie the package to one build of Qt.
! dpkg-deb --field "$deb" Depends | grep -q 'qt6-base-abi' || fail "Depends pins one build of Qt: $(dpkg-deb --field "$deb" Depends)"
dpkg-deb --extract "$deb" "$work/unpacked"
file --brief "$work/unpacked/usr/bin/FerroxSpdCalc" | grep -q ', stripped' || fail "the packaged program is not stripped"
cmp -s "$work/unpacked/usr/share/doc/$package/copyright" "$(dirname "$0")/../../LICENSE" ||
    fail "the package's copyright file is not the licence"

# Warnings are shown but do not fail; errors do.
lintian --fail-on error --display-level '>=info' "$deb" 2>/dev/null || fail "lintian reports errors"
echo "PASS: installation, desktop entry, metainfo, manual page and Debian package"
