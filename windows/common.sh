# Shared by the Windows build scripts (sourced, not run): where the Windows
# builds of Qt and libcurl are kept between builds, and how Debian's source
# packages they are built from are fetched.

cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/ferroxspdcalc"
repository=$(cd "$(dirname "$0")/.." && pwd)
mingw_toolchain="$repository/cmake/mingw-w64-x86_64.cmake"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Source packages are fetched through a private APT configuration in the
# current (work) folder: a sources list with "deb-src" for each "deb" source of
# the machine, and package lists of its own, so that the machine's own
# configuration stays as it is. Prints the options that select it.
private_source_lists() {
    apt_dir="$PWD/apt-sources"
    options="-o Dir::Etc::SourceList=$apt_dir/sources.list -o Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    options="$options -o Dir::State::Lists=$apt_dir/lists -o Dir::Cache=$apt_dir/cache"
    if [ ! -d "$apt_dir" ]; then
        mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
        for file in /etc/apt/sources.list.d/*.sources; do
            [ -f "$file" ] || continue
            sed -E 's/^Types:.*/Types: deb-src/' "$file" >"$apt_dir/sources.list.d/${file##*/}"
        done
        for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [ -f "$file" ] || continue
            sed -n -E 's/^deb (.*)/deb-src \1/p' "$file"
        done >"$apt_dir/sources.list"
        # shellcheck disable=SC2086
        apt-get $options update >&2
    fi
    echo "$options"
}

# Unpacks Debian's source package $1 into the current folder and prints the
# folder it made: version $2 when given, else the newest one a mirror serves
# (a mirror may lack a security update's source that its index lists).
fetch_source() {
    apt_sources=$(private_source_lists)
    # shellcheck disable=SC2086
    versions=${2:-$(apt-cache $apt_sources showsrc --only-source "$1" | sed -n 's/^Version: //p' | sort -r -V -u)}
    for version in $versions; do
        # shellcheck disable=SC2086
        if apt-get $apt_sources source --only-source "$1=$version" >&2; then
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
