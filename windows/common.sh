# Shared by the Windows build scripts (sourced, not run): where the Windows
# builds of Qt and libcurl are kept between builds, and how Debian's source
# packages they are built from are fetched.

cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/ferroxspdcalc"
repository=$(cd "$(dirname "$0")/.." && pwd)
mingw_toolchain="$repository/cmake/mingw-w64-x86_64.cmake"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Source packages need "deb-src" beside "deb" in the APT sources, as Debian's
# sources.list(5) describes: in the Types line of a deb822 file, or as a
# deb-src line for each deb line of the one-line format.
enable_source_packages() {
    if apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
        return
    fi
    echo "Adding deb-src to the APT sources" >&2
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        as_root sed -i -E '/^Types:/{/deb-src/!s/$/ deb-src/}' "$file"
    done
    if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
        as_root sed -i -E '/^deb /{p;s/^deb /deb-src /}' /etc/apt/sources.list
    fi
    as_root apt-get update >&2
}

# Unpacks Debian's source package $1 into the current folder and prints the
# folder it made: version $2 when given, else the newest one a mirror serves
# (a mirror may lack a security update's source that its index lists).
fetch_source() {
    enable_source_packages
    versions=${2:-$(apt-cache showsrc --only-source "$1" | sed -n 's/^Version: //p' | sort -r -V -u)}
    for version in $versions; do
        if apt-get source --only-source "$1=$version" >&2; then
            find . -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -n 1
            return 0
        fi
    done
    echo "No source of $1 could be fetched" >&2
    return 1
}

# Installs whichever of the Debian packages given is missing.
install_missing() {
    missing=""
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
    done
    [ -z "$missing" ] && return
    echo "Installing:$missing" >&2
    as_root apt-get update >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends $missing >&2
}
