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

    # What the prefix is made with, kept in it: a prefix made with other
    # settings by an older copy of this script is made again.
    prefix_settings="Arial=Liberation Sans; ClearType"
    (
        flock 9
        [ "$(cat "$WINEPREFIX/made" 2>/dev/null)" = "$prefix_settings" ] && exit 0
        rm -rf "$WINEPREFIX" "$fonts"
        mkdir -p "$fonts"
        ln -s /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf "$fonts/"
        # Without Wine's .NET and HTML engines, which it would offer to
        # download. Wine has no Arial, for which the windows are laid out:
        # Liberation Sans has the same metrics.
        WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init >/dev/null 2>&1
        "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
        # Screen text smoothed with ClearType, as Windows has it by default.
        # Wine's own default, standard smoothing, gives way to black and
        # white wherever a face's gasp table asks (Liberation Sans up to 17
        # pixels), and Wine then draws some glyphs a pixel left of the box
        # that it reports for them ("I" and "!" at 11 pixels). Qt's Windows
        # font engine draws each glyph into an image of exactly that box for
        # standard smoothing, so those glyphs vanished; for ClearType it keeps
        # a margin of two pixels around the box.
        "$wine" reg add 'HKCU\Control Panel\Desktop' /v FontSmoothing /t REG_SZ /d 2 /f >/dev/null 2>&1
        "$wine" reg add 'HKCU\Control Panel\Desktop' /v FontSmoothingType /t REG_DWORD /d 2 /f >/dev/null 2>&1
        "$wineserver" -w
        printf '%s\n' "$prefix_settings" >"$WINEPREFIX/made"
    ) 9>"$1/prefix.lock"
}
