#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots: the main window with a call shown, and the options
# dialog and the about dialog. Runs the optimised build on a private X server. Needs xvfb, xdotool and imagemagick.
#
#   tools/screenshots.sh [BUILD_DIR]   # with a build directory: its programs, built as they are
set -euo pipefail
cd "$(dirname "$0")/.."

if (($# > 0)); then
    build=$1
else
    cmake --preset ci >/dev/null
    cmake --build --preset ci --target klingelwart klingelwart-ring
    build=build/ci
fi
program=$build/app/klingelwart
ring=$build/app/klingelwart-ring
command -v import >/dev/null || {
    echo "FEHLER: import fehlt (Paket imagemagick)" >&2
    exit 1
}

work=$(mktemp -d)
source tests/e2e/xvfb_session.sh
pid=""
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

xvfb_start "$work"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cat >"$XDG_CONFIG_HOME/Klingelwart.conf" <<'INI'
[Options]
DoJob=1
Shell=https://www.example.org/suche?nummer={AnrufNummer}
Formatierung=1
Start=2
INI

"$program" >"$work/klingelwart.log" 2>&1 &
pid=$!
window=$(wait_for_window '^Klingelwart \(Version') || {
    echo "FEHLER: kein Hauptfenster" >&2
    exit 1
}
"$ring" "(030) 1234567" "4711"
sleep 0.5
mkdir -p docs/screenshots
import -window "$window" docs/screenshots/main-window.png

press "$window" ctrl+o
dialog=$(wait_for_window '^Optionen$') || {
    echo "FEHLER: kein Optionen-Dialog" >&2
    exit 1
}
sleep 0.5
import -window "$dialog" docs/screenshots/options-dialog.png
press "$dialog" Escape

# The help menu "?" by its access key, then "Info ...".
press "$window" alt+question
sleep 0.3
xdotool key i
about=$(wait_for_window '^Info zu Klingelwart$') || {
    echo "FEHLER: kein Info-Dialog" >&2
    exit 1
}
sleep 0.5
import -window "$about" docs/screenshots/about-dialog.png
press "$about" Escape
echo "docs/screenshots/: main-window.png, options-dialog.png, about-dialog.png geschrieben"
