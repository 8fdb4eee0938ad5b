#!/usr/bin/env bash
# The second pass of the Windows GUI tests, on a screen: switches a Wine prefix from the null
# graphics driver to X11 on a private Xvfb, runs kw_win32_gui_tests again (all of it, with the
# screenshot test that the first pass skips), converts the pictures to PNG and refuses blank
# ones. The prefix gets the null driver back afterwards.
#
#   tools/wine-gui-screenshots.sh [OUTPUT_DIR [BUILD_DIR]]    defaults: docs/screenshots build/win
#
# WINEPREFIX must name a prefix that tools/wine-test.sh (or the same steps) has set up, and
# BUILD_DIR must hold the built tests. Writes windows-main-window.png, windows-options-dialog.png
# and windows-about-dialog.png.
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs/screenshots}
build=${2:-build/win}
if [[ -z ${WINEPREFIX:-} || ! -d $WINEPREFIX ]]; then
    echo "FEHLER: WINEPREFIX nennt keinen Wine-Präfix" >&2
    exit 1
fi
if [[ ! -f $build/CTestTestfile.cmake ]]; then
    echo "FEHLER: $build ist kein Build-Verzeichnis" >&2
    exit 1
fi
tools/deps.sh xvfb xauth xdotool imagemagick

wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[[ -x $wineserver ]] || wineserver=$(command -v wineserver)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

# set_driver null|x11: the desktop process reads the driver once, when the server starts it, so
# the server goes down before and after the change.
set_driver() {
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w >/dev/null 2>&1 || true
    (
        unset DISPLAY
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$1" /f
        # Unmanaged windows: there is no window manager to place them or give them focus.
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    ) >/dev/null 2>&1 </dev/null
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w >/dev/null 2>&1 || true
}

work=$(mktemp -d)
source tests/e2e/xvfb_session.sh
cleanup() {
    set_driver null
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

start=$SECONDS
xvfb_start "$work"
set_driver x11
# A persistent server and the desktop first, with their output away from CTest's pipes.
"$wineserver" -p >/dev/null 2>&1 </dev/null
"$wine" wineboot >/dev/null 2>&1 </dev/null
drivers=$("$wine" reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null </dev/null || true)
if [[ $drivers != *x11* ]]; then
    echo "FEHLER: der Wine-Präfix hat den X11-Treiber nicht übernommen" >&2
    exit 1
fi

mkdir -p "$work/shots"
KW_SCREENSHOT_DIR="$work/shots" ctest --test-dir "$build" -R '^kw_win32_gui_tests$' \
    --output-on-failure --timeout 300

mkdir -p "$out"
for name in windows-main-window windows-options-dialog windows-about-dialog; do
    bmp=$work/shots/$name.bmp
    [[ -s $bmp ]] || {
        echo "FEHLER: $name.bmp fehlt" >&2
        exit 1
    }
    # No time stamps in the file, so an unchanged window gives an unchanged picture.
    convert "$bmp" -strip "$out/$name.png"
    deviation=$(convert "$out/$name.png" -format '%[fx:standard_deviation]' info:)
    if ! awk -v d="$deviation" 'BEGIN { exit !(d > 0) }'; then
        echo "FEHLER: $name.png ist einfarbig" >&2
        exit 1
    fi
done
echo "Windows-Bildschirmfotos in $out/ (zweiter Durchgang unter Xvfb: $((SECONDS - start)) s)"
