#!/usr/bin/env bash
# Cross-builds the Windows program and its tests with mingw-w64 (preset "win") and runs every
# test under Wine, in a throwaway Wine prefix with no display. Works as root or through sudo on
# a fresh Debian 12 machine; installs what is missing with apt-get.
#
#   tools/wine-test.sh            everything: packages, prefix, configure, build, test
#   KW_KEEP_PREFIX=1 ...          keep the prefix afterwards (its path is printed)
#   KW_SCREENSHOTS=docs/screenshots ...   where the GUI pass puts the Windows screenshots
#                                 (default build/win/screenshots; docs/ holds the README's)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev mingw-w64-tools
    googletest
    # the manual's compiler and the installer's
    fp-utils-3.2.2 nsis
    # fonts-wine: Wine's own faces (the dialog font, the caption buttons' symbols).
    wine64 fonts-wine
    # the address-book servers the WinHTTP client is tested against, and the test certificates
    radicale python3 openssl
)
tools/deps.sh "${packages[@]}"

# Debian's wine64 package keeps its programs in /usr/lib/wine; other installations have them on
# PATH.
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[[ -x $wineserver ]] || wineserver=$(command -v wineserver)

# No display at all: the null graphics driver takes its place (set below). No installers for
# Mono and Gecko, which a fresh prefix would otherwise offer, and no menu entries in $HOME.
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

work=$(mktemp -d "${TMPDIR:-/tmp}/kw-wine.XXXXXX")
export WINEPREFIX="$work/prefix"
mkdir -p "$WINEPREFIX"
# The null graphics driver must be set before the prefix starts its desktop process, which
# reads it once: a prefix made first and switched afterwards fails the first window of the tests.
cat >"$WINEPREFIX/user.reg" <<'REG'
WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\Wine\\Drivers]
"Graphics"="null"
REG
cleanup() {
    WINEPREFIX="$WINEPREFIX" "$wineserver" -k >/dev/null 2>&1 || true
    if [[ ${KW_KEEP_PREFIX:-0} == 1 ]]; then
        echo "Wine-Präfix bleibt erhalten: $WINEPREFIX"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

echo "=== win: configure and build ==="
build_start=$SECONDS
cmake --preset win >/dev/null
cmake --build --preset win
build_seconds=$((SECONDS - build_start))

echo "=== win: Wine prefix $WINEPREFIX ==="
wine_start=$SECONDS
# A persistent server first, then the prefix with its helper processes (services, explorer,
# plugplay), all with their output away from this script's: CTest would otherwise wait for the
# helpers that a test program happens to start, because they hold its output pipes open.
"$wineserver" -p >/dev/null 2>&1 </dev/null
"$wine" wineboot -u >/dev/null 2>&1 </dev/null
# Debian's Wine does not look into the directory of fonts-wine, so the prefix gets the faces
# itself: "MS Sans Serif" for the controls, Tahoma, and Marlett for the caption buttons.
if [[ -d /usr/share/wine/fonts ]]; then
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
fi
drivers=$("$wine" reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null </dev/null || true)
if [[ $drivers != *null* ]]; then
    echo "Der Wine-Präfix hat den Null-Grafiktreiber nicht übernommen." >&2
    exit 1
fi
prefix_seconds=$((SECONDS - wine_start))

echo "=== win: tests under Wine ==="
test_start=$SECONDS
ctest --preset win
test_seconds=$((SECONDS - test_start))

echo "Windows-Build: ${build_seconds} s, Wine-Präfix: ${prefix_seconds} s," \
    "Tests unter Wine: ${test_seconds} s"

echo "=== win: the windows again at 144 dpi ==="
# set_dpi 144|default: Wine takes the screen's DPI from the user's LogPixels when a process
# starts, the desktop process included, so the server goes down around the change. "default"
# leaves it to the prefix's machine-wide value (96).
set_dpi() {
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w >/dev/null 2>&1 || true
    if [[ $1 == default ]]; then
        "$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f
    else
        "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
    fi >/dev/null 2>&1 </dev/null
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w >/dev/null 2>&1 || true
    "$wineserver" -p >/dev/null 2>&1 </dev/null
    "$wine" wineboot >/dev/null 2>&1 </dev/null
}
dpi_start=$SECONDS
set_dpi 144
dpi_status=0
KW_EXPECTED_DPI=144 ctest --preset win -R 'kw_win32_(main_window|ui|gui)_tests' || dpi_status=$?
set_dpi default
echo "Tests bei 144 dpi: $((SECONDS - dpi_start)) s"
if ((dpi_status != 0)); then
    exit "$dpi_status"
fi

echo "=== win: GUI tests again on a screen (Xvfb, X11 driver), with screenshots ==="
tools/wine-gui-screenshots.sh "${KW_SCREENSHOTS:-build/win/screenshots}" build/win
