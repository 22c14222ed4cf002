#!/bin/sh
# Provides libcurl for 64-bit Windows in the user's cache folder and prints
# its prefix: built once with MinGW-w64 from Debian's own curl and zlib source
# packages, and kept. The About window's version check loads it at run time,
# so that the same browser view and its limits serve both platforms.
#
# It is as small as the check allows: HTTP and HTTPS only, TLS through the
# system's Schannel (no OpenSSL to ship or keep up to date; certificates come
# from the Windows store), and zlib linked in for gzip-encoded answers. No
# other library: no IDN, PSL, HTTP/2, SSH, LDAP, brotli or zstd.
set -eu
. "$(dirname "$0")/common.sh"

curl_version=7.88.1
prefix="$cache_root/curl-$curl_version-mingw-w64-x86_64"
if [ -f "$prefix/bin/libcurl-4.dll" ]; then
    echo "$prefix"
    exit 0
fi

install_missing g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    cmake ninja-build make dpkg-dev
mkdir -p "$cache_root"
partial=$(mktemp -d "$prefix.partial.XXXXXX")
work=$(mktemp -d "$cache_root/curl-source.XXXXXX")
trap 'cd / && rm -rf "$work" "$partial"' EXIT
cd "$work"

# zlib: Debian has no MinGW build of it, so a static one goes into libcurl.
zlib_source=$(fetch_source zlib)
zlib="$work/zlib"
(
    cd "$zlib_source"
    CHOST=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-ar \
        RANLIB=x86_64-w64-mingw32-ranlib ./configure --static --prefix="$zlib"
    make -j"$(nproc)" libz.a
    make install
) >&2

curl_source=$(fetch_source curl)
case "$curl_source" in
*"-$curl_version") ;;
*) echo "Debian's curl source is $curl_source, not $curl_version" >&2; exit 1 ;;
esac
# Named like MinGW's usual libcurl, after the interface number that the
# Linux program's libcurl.so.4 carries too.
cmake -G Ninja -S "$curl_source" -B curl-build \
    -DCMAKE_TOOLCHAIN_FILE="$mingw_toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$partial" \
    -DBUILD_SHARED_LIBS=ON -DLIBCURL_OUTPUT_NAME=libcurl-4 -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF \
    -DENABLE_MANUAL=OFF -DPICKY_COMPILER=OFF \
    -DHTTP_ONLY=ON -DENABLE_UNIX_SOCKETS=OFF -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON \
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none \
    -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF -DCURL_USE_LIBPSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF \
    -DCURL_USE_GSSAPI=OFF -DUSE_NGHTTP2=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF \
    -DCURL_ZLIB=ON -DZLIB_INCLUDE_DIR="$zlib/include" -DZLIB_LIBRARY="$zlib/lib/libz.a" >&2
cmake --build curl-build >&2
cmake --install curl-build --strip >&2

# The licences that travel with the library.
mkdir -p "$partial/share/licenses"
cp "$curl_source/COPYING" "$partial/share/licenses/curl.txt"
sed -n '/Copyright (C)/,/^ *\*\//p' "$zlib_source/zlib.h" >"$partial/share/licenses/zlib.txt"
for source in "$curl_source" "$zlib_source"; do
    echo "$(dpkg-parsechangelog -l "$source/debian/changelog" -S Source)" \
        "$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)"
done >"$partial/share/licenses/SOURCES"

# Another run may have finished first: its copy is kept.
mv -T "$partial" "$prefix" 2>/dev/null || true
echo "$prefix"
