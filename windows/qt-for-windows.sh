#!/bin/sh
# Provides Qt 6.4.2 for 64-bit Windows (MinGW-w64) in the user's cache folder
# and prints its prefix. Debian has no MinGW build of Qt, so it is made once
# and kept: unpacked from a ready archive of it when there is one (the
# repository's sibling folder shared/windows/, or the file given as the only
# argument), else built from Debian's own qt6-base source package with the
# host tools of qt6-base-dev-tools, which takes about an hour on two cores.
set -eu
. "$(dirname "$0")/common.sh"

qt_version=6.4.2
prefix="$cache_root/qt-$qt_version-mingw-w64-x86_64"
archive="${1:-$repository/../shared/windows/qt-$qt_version-mingw-w64-x86_64.tar.zst}"

if [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    echo "$prefix"
    exit 0
fi
mkdir -p "$cache_root"
# Made beside the prefix and renamed into place only when complete, so that
# an interrupted run leaves no half-made Qt to be taken for a whole one.
partial=$(mktemp -d "$prefix.partial.XXXXXX")
# Another run may have finished first: its copy is kept.
finish() {
    mv -T "$partial" "$prefix" 2>/dev/null || rm -rf "$partial"
    echo "$prefix"
}

if [ -f "$archive" ]; then
    echo "Unpacking $archive" >&2
    zstd -dc "$archive" | tar -x -C "$partial" --strip-components=1
    finish
    exit 0
fi

# The cross-compilers, the host tools (the same Qt version as the one built),
# Wine's tablet header that Debian's source leaves out, and the build tools.
install_missing g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    qt6-base-dev qt6-base-dev-tools libwine-dev cmake ninja-build dpkg-dev
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
case "$host_version" in
"$qt_version"+*) ;;
*) echo "qt6-base-dev-tools is $host_version; building Qt $qt_version for Windows needs the same version" >&2; exit 1 ;;
esac

work="$cache_root/qt-$qt_version-source"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
source=$(fetch_source qt6-base "$host_version")

# Mend 1: Debian's source leaves out src/3rdparty/wintab (for its licence),
# which the Windows platform plugin includes. Wine's headers of the same
# interface take its place, with the few macros of Wine's own headers they use.
wintab="$source/src/3rdparty/wintab"
mkdir -p "$wintab"
cp /usr/include/wine/wine/windows/pktdef.h "$wintab/"
awk '
    { print }
    !done && /^#define __WINE_WINTAB_H/ {
        print "#include <windows.h>"
        print "#ifdef UNICODE"
        print "# define WINELIB_NAME_AW(x) x##W"
        print "#else"
        print "# define WINELIB_NAME_AW(x) x##A"
        print "#endif"
        print "#define DECL_WINELIB_TYPE_AW(t) typedef WINELIB_NAME_AW(t) t;"
        print "#define API WINAPI"
        done = 1
    }
    END { if (!done) exit 1 }
' /usr/include/wine/wine/windows/wintab.h >"$wintab/wintab.h"

# Mend 2: without OpenGL the plugin must not compile its dynamic-GL branch.
window_source="$source/src/plugins/platforms/windows/qwindowswindow.cpp"
sed -i '/^static inline bool isSoftwareGl()/,/^}/s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' "$window_source"
grep -q 'QT_CONFIG(dynamicgl) && QT_CONFIG(opengl)' "$window_source"

# Shared release libraries of qtbase's Core, Gui, Widgets, Network and Test,
# with the bundled third-party libraries rather than the build machine's.
cmake -G Ninja -S "$source" -B build \
    -DCMAKE_TOOLCHAIN_FILE="$mingw_toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$partial" -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_network=ON -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF >&2
cmake --build build >&2
cmake --install build >&2
cd /
rm -rf "$work"
finish
