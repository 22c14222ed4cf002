#!/bin/sh
# Builds the Windows program, its portable zip and its installer from this
# Linux checkout: windows/build.sh [BUILD_FOLDER [CMAKE_OPTIONS...]], by
# default into build-windows, as a release build. Qt and libcurl for Windows
# come from the cache folder (see qt-for-windows.sh and curl-for-windows.sh),
# made there on first use.
set -eu
. "$(dirname "$0")/common.sh"
build="${1:-build-windows}"
[ "$#" -gt 0 ] && shift

"$repository/.ci/install-packages" --windows
qt=$("$repository/windows/qt-for-windows.sh")
curl=$("$repository/windows/curl-for-windows.sh")

cd "$repository"
cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" -DQT_CHAINLOAD_TOOLCHAIN_FILE="$mingw_toolchain" \
    -DCURL_INCLUDE_DIR="$curl/include" -DCURL_LIBRARY="$curl/lib/libcurl-4.dll.a" "$@"
cmake --build "$build" -j"$(nproc)"
# The portable zip and the installer, in the build folder.
cmake --build "$build" --target package
