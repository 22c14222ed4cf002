# Sourced by the scripts that run Windows programs under Wine. use_wine_prefix
# WINE_DIR sets up the Wine of WINE_DIR: its prefix (made once, by the first of
# any scripts that start together), the DLL folders on its path, and $wine,
# the program that starts Windows programs, and $wineserver.

use_wine_prefix() {
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
    WINEPREFIX="$(cd "$1" && pwd)/prefix"
    # Wine's own messages would only hide the program's.
    WINEDEBUG=-all
    WINEPATH=""
    while IFS= read -r folder; do
        WINEPATH="${WINEPATH:+$WINEPATH;}Z:$(printf '%s' "$folder" | tr / '\\')"
    done <"$1/dll-folders"
    # Qt's offscreen platform on Windows reads fonts from a folder of files,
    # not from the system: Liberation Sans only, so that Arial, for which the
    # windows are laid out, falls back to the face with its metrics.
    # Unix paths for Windows programs carry the drive that Wine maps to "/":
    # without it they would lie on whatever drive the working directory is.
    fonts="$(cd "$1" && pwd)/fonts"
    QT_QPA_FONTDIR="Z:$fonts"
    export WINEPREFIX WINEDEBUG WINEPATH QT_QPA_FONTDIR
    if [ -n "${TEST_ARTIFACTS_DIR:-}" ]; then
        mkdir -p "$TEST_ARTIFACTS_DIR"
        TEST_ARTIFACTS_DIR="Z:$TEST_ARTIFACTS_DIR"
    fi
    # Wine keeps Qt's variables (QT_QPA_PLATFORM, QT_SCALE_FACTOR...) from
    # Windows programs unless they come prefixed with WINE.
    for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
        eval "WINE$name=\$$name"
        export "WINE$name"
    done

    (
        flock 9
        [ -e "$WINEPREFIX/made" ] && exit 0
        rm -rf "$WINEPREFIX" "$fonts"
        mkdir -p "$fonts"
        ln -s /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf "$fonts/"
        # Without Wine's .NET and HTML engines, which it would offer to
        # download. Wine has no Arial, for which the windows are laid out:
        # Liberation Sans has the same metrics.
        WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init >/dev/null 2>&1
        "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
        "$wineserver" -w
        touch "$WINEPREFIX/made"
    ) 9>"$1/prefix.lock"
}
