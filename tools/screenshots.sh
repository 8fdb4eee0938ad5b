#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots: the main window with a call shown, the options
# dialog, the about dialog, and a call's desktop notification (dunst on a private session bus; a
# copy goes to the manual). Runs the optimised build on a private X server. Needs xvfb, xdotool,
# imagemagick, dbus and dunst.
#
#   tools/screenshots.sh [BUILD_DIR]   # with a build directory: its programs, built as they are
set -euo pipefail
cd "$(dirname "$0")/.."

# The notification's part, run again under a private session bus: dunst shows one call.
if [[ ${1:-} == --notification ]]; then
    build=$2 work=$3
    source tests/e2e/xvfb_session.sh
    source tests/e2e/private_bus.sh
    dunst_pid="" pid=""
    trap 'kill $pid $dunst_pid 2>/dev/null || true; xvfb_stop' EXIT
    xvfb_start "$work"
    dunst_start "$work"
    QT_QPA_PLATFORM=offscreen "$build/app/klingelwart" >"$work/klingelwart.log" 2>&1 &
    pid=$!
    # Once it listens, and with a moment for the phone book, read in the background.
    for _ in $(seq 50); do
        sleep 0.2
        "$build/app/klingelwart-ring" "030 1234567" "67890" 2>/dev/null && break
    done
    for _ in $(seq 50); do
        [[ $(dunstctl count displayed) == 1 ]] && break
        sleep 0.1
    done
    [[ $(dunstctl count displayed) == 1 ]] || {
        echo "FEHLER: dunst zeigt keine Benachrichtigung" >&2
        cat "$work/klingelwart.log" "$work/dunst.log" >&2
        exit 1
    }
    sleep 0.5
    # Nothing else is on the screen: the bubble is all that is not black.
    import -window root -trim +repage -strip docs/screenshots/notification.png
    cp docs/screenshots/notification.png help/html/benachrichtigung.png
    exit 0
fi

if (($# > 0)); then
    build=$1
else
    cmake --preset ci >/dev/null
    cmake --build --preset ci --target klingelwart klingelwart-ring
    build=build/ci
fi
program=$build/app/klingelwart
ring=$build/app/klingelwart-ring
# Only the screenshots need it, so the test machines do without.
command -v import >/dev/null || tools/deps.sh imagemagick

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
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=""

# The notification: the program with notifications on and a phone book that knows the caller,
# dunst as the desktop's service, all on a bus of their own that activates nothing.
mkdir -m 700 "$work/bus"
source tests/e2e/private_bus.sh
private_bus_config "$work/bus.conf" "$work/bus"
cat >"$work/dunstrc" <<'CONF'
[global]
    font = Liberation Sans 10
    width = 420
    origin = top-right
    offset = 10x10
    frame_width = 2
    frame_color = "#3465a4"
[urgency_normal]
    background = "#f6f5f4"
    foreground = "#241f31"
    timeout = 0
CONF
printf 'BEGIN:VCARD\nVERSION:3.0\nFN:Erika Mustermann\nTEL:030 1234567\nEND:VCARD\n' \
    >"$work/kontakte.vcf"
cat >>"$XDG_CONFIG_HOME/Klingelwart.conf" <<INI
[Anzeige]
Benachrichtigung=1
[Telefonbuch]
Datei1=$work/kontakte.vcf
INI
xvfb_stop
rm -f "$work/display"
dbus-run-session --config-file="$work/bus.conf" -- "$0" --notification "$build" "$work" \
    2> >(grep -v '^dbus-daemon\[' >&2)
echo "docs/screenshots/: main-window.png, options-dialog.png, about-dialog.png, notification.png" \
    "geschrieben"
