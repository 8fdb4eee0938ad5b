#!/usr/bin/env bash
# The Debian package from build to removal: builds it with CPack, validates the desktop file and
# the AppStream data inside it, runs lintian on it, installs it with apt-get, runs the INSTALLED programs on a
# private X server (a call through /usr/bin/klingelwart-ring, the caller line read over AT-SPI,
# the action by its access key, Help by F1), then purges it. Needs root or sudo: it installs a
# package.
#
#   tools/package-test.sh                        configures and builds the ci preset first
#   KW_PACKAGE_BUILD=build/pkg-l tools/package-test.sh   an already configured build directory
set -euo pipefail
cd "$(dirname "$0")/.."

build=${KW_PACKAGE_BUILD:-build/ci}
sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

fail() {
    echo "FEHLER: $*" >&2
    exit 1
}

installed() {
    dpkg-query -W -f='${Status}' klingelwart 2>/dev/null | grep -q "install ok installed"
}

# Purged at the end whatever happens: a package that was there before is not ours to remove.
installed && fail "klingelwart ist schon installiert; dieser Test würde es am Ende entfernen"

tools/deps.sh dpkg-dev librsvg2-bin desktop-file-utils appstream man-db binutils lintian \
    xvfb xauth xdotool x11-utils dbus-daemon at-spi2-core python3-pyatspi

work=$(mktemp -d)
source tests/e2e/xvfb_session.sh
we_installed=0
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    xvfb_stop
    if ((we_installed)); then
        "${sudo[@]}" apt-get purge -y -qq klingelwart >/dev/null 2>&1 ||
            echo "FEHLER: klingelwart ließ sich nicht entfernen" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT

timings=""
phase_start=$SECONDS
# phase NAME: closes the running phase under NAME.
phase() {
    timings+="${timings:+, }$1: $((SECONDS - phase_start)) s"
    phase_start=$SECONDS
}

# --- build and package --------------------------------------------------------------------
if [[ -z ${KW_PACKAGE_BUILD:-} ]]; then
    cmake --preset ci >/dev/null
    cmake --build --preset ci
fi
[[ -f $build/CPackConfig.cmake ]] || fail "$build/CPackConfig.cmake fehlt: ist $build konfiguriert?"
phase "Build"

rm -f "$build"/package/klingelwart_*.deb
cpack --config "$build/CPackConfig.cmake" -B "$build/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack schlug fehl"; }
debs=("$build"/package/klingelwart_*_"$(dpkg --print-architecture)".deb)
[[ -f ${debs[0]} ]] || fail "kein Paket klingelwart_<Version>_<Architektur>.deb in $build/package"
deb=$(realpath "${debs[0]}")
phase "Paket bauen"

# --- the package's contents ----------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == klingelwart ]] || fail "Paketname: $(field Package)"
depends=$(field Depends)
for library in libqt6widgets6 libqt6gui6 libqt6network6 libqt6core6 libsofia-sip-ua0 libsecret-1-0; do
    [[ $depends == *"$library "* ]] || fail "Depends nennt $library nicht: $depends"
done
[[ $depends == *qt6-translations-l10n* ]] || fail "Depends nennt qt6-translations-l10n nicht: $depends"
[[ $(field Recommends) == *xdg-utils* ]] || fail "Recommends nennt xdg-utils nicht"

deb_root=$work/deb
dpkg-deb -x "$deb" "$deb_root"
desktop=usr/share/applications/de.klingelwart.Klingelwart.desktop
metainfo=usr/share/metainfo/de.klingelwart.Klingelwart.metainfo.xml
expected_files=(
    usr/bin/klingelwart usr/bin/klingelwart-ring "$desktop" "$metainfo"
    usr/share/icons/hicolor/scalable/apps/klingelwart.svg
    usr/share/man/man1/klingelwart.1.gz usr/share/man/man1/klingelwart-ring.1.gz
    usr/share/doc/klingelwart/copyright usr/share/doc/klingelwart/changelog.gz
    # the manual: the compiled file, and the pages that Help opens without a viewer for it
    usr/share/doc/klingelwart/KLINGELWART2.chm usr/share/doc/klingelwart/handbuch/index.html
)
for size in 16 24 32 48 64 128 256; do
    expected_files+=("usr/share/icons/hicolor/${size}x$size/apps/klingelwart.png")
done
# What only a switched-on source loads, in the program's private directory.
modules=()
for module in sip router carddav secrets; do
    modules+=("usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/klingelwart/klingelwart-$module.so")
done
expected_files+=("${modules[@]}")
for file in "${expected_files[@]}"; do
    [[ -s $deb_root/$file ]] || fail "im Paket fehlt /$file"
done
for size in 16 256; do
    png=$deb_root/usr/share/icons/hicolor/${size}x$size/apps/klingelwart.png
    # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
    [[ $(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n') == $(printf '%08x%08x' "$size" "$size") ]] ||
        fail "$png ist nicht ${size}x$size groß"
done
for file in usr/bin/klingelwart usr/bin/klingelwart-ring "${modules[@]}"; do
    if readelf -S "$deb_root/$file" | grep -q '\.symtab'; then
        fail "/$file ist nicht gestrippt"
    fi
done
# The plain start loads none of the sources' libraries.
needed=$(readelf -d "$deb_root/usr/bin/klingelwart")
for library in libsofia-sip-ua libsecret-1 libQt6Network; do
    [[ $needed != *"[$library.so"* ]] || fail "/usr/bin/klingelwart lädt $library beim Start"
done
desktop-file-validate "$deb_root/$desktop" >"$work/desktop.log" 2>&1 || true
[[ ! -s $work/desktop.log ]] || { cat "$work/desktop.log" >&2; fail "desktop-file-validate"; }
# Errors and warnings fail; pedantic notes and infos do not.
appstreamcli validate --no-net "$deb_root/$metainfo" >"$work/appstream.log" 2>&1 || true
if grep -qE '^[EW]:' "$work/appstream.log" || ! grep -q 'Validation was successful' "$work/appstream.log"; then
    cat "$work/appstream.log" >&2
    fail "appstreamcli validate"
fi
# Debian's own checks: errors and warnings fail, infos and pedantic tags do not, except the
# hardening ones, which this lintian reports only as infos.
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian"; }
if grep -q ' hardening-' "$work/lintian.log"; then
    grep ' hardening-' "$work/lintian.log" >&2
    fail "lintian: Härtung fehlt"
fi
phase "Paket prüfen"

# --- install ------------------------------------------------------------------------------
we_installed=1
"${sudo[@]}" apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install $deb"; }
installed || fail "klingelwart ist nach apt-get install nicht installiert"
for file in "${expected_files[@]}"; do
    [[ -e /$file ]] || fail "/$file fehlt nach der Installation"
done
for page in klingelwart klingelwart-ring; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "/usr/share/man/man1/$page.1.gz" \
        >"$work/man.txt" 2>"$work/man.log" || fail "man -l $page.1.gz"
    [[ ! -s $work/man.log ]] || fail "man -l $page.1.gz warnt: $(cat "$work/man.log")"
    grep -q '^BEZEICHNUNG' "$work/man.txt" || fail "$page.1.gz hat keinen Abschnitt BEZEICHNUNG"
done
phase "Installieren"

# --- the installed programs -----------------------------------------------------------------
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# klingelwart-ring refuses wrong calls and reports a missing program by its status alone.
too_long=$(head -c 65521 /dev/zero | tr '\0' 1)
ring_cases=(
    "2|"
    "2|nur-eine-Nummer"
    "2|1|2|3"
    "2|$too_long|x"
    "1|0301|42"
)
for case in "${ring_cases[@]}"; do
    IFS='|' read -r -a words <<<"$case"
    want=${words[0]}
    status=0
    /usr/bin/klingelwart-ring "${words[@]:1}" 2>/dev/null || status=$?
    [[ $status == "$want" ]] ||
        fail "klingelwart-ring mit $((${#words[@]} - 1)) Argument(en): Status $status statt $want"
done

xvfb_start "$work"
# A private session bus and accessibility bus, so that Qt exposes its widgets over AT-SPI.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >"$work/dbus.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [[ -S $work/bus ]] && break
    sleep 0.05
done
[[ -S $work/bus ]] || fail "der D-Bus-Sitzungsbus startet nicht"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)

recorder=$work/recorder
cat >"$recorder" <<'SH'
#!/bin/sh
# Each argument NUL-terminated, written in one go so that a reader never sees half of it.
for argument; do printf '%s\0' "$argument"; done >"$0.tmp" && mv "$0.tmp" "$0.out"
SH
chmod +x "$recorder"
# The router source on: the installed program must find its module to reach this listener.
/usr/bin/python3 - "$work/router" <<'PY' &
import os
import socket
import sys

with socket.create_server(("127.0.0.1", 0)) as server:
    server.settimeout(30)
    with open(sys.argv[1] + ".tmp", "w") as port:
        port.write(str(server.getsockname()[1]))
    os.rename(sys.argv[1] + ".tmp", sys.argv[1] + ".port")
    connection, _ = server.accept()
    open(sys.argv[1] + ".reached", "w").close()
    connection.close()
PY
pids+=($!)
for _ in $(seq 100); do
    [[ -s $work/router.port ]] && break
    sleep 0.05
done
[[ -s $work/router.port ]] || fail "der Router-Platzhalter startet nicht"
{
    printf '[Options]\nDoJob=1\nFormatierung=0\nStart=2\nShell=%s {AnrufNummer} {MSN}\n' "$recorder"
    printf '[Anrufquellen]\nRouter=1\nRouterHost=127.0.0.1\nRouterPort=%s\n' "$(cat "$work/router.port")"
} >"$XDG_CONFIG_HOME/Klingelwart.conf"

# F1 goes to this xdg-open, which only notes what it was asked to open.
mkdir -p "$work/opener"
cat >"$work/opener/xdg-open" <<'SH'
#!/bin/sh
printf '%s\n' "$@" >"$(dirname "$0")/opened.tmp" && mv "$(dirname "$0")/opened.tmp" "$(dirname "$0")/opened"
SH
chmod +x "$work/opener/xdg-open"
PATH=$work/opener:$PATH QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 /usr/bin/klingelwart \
    >"$work/klingelwart.log" 2>&1 &
pid=$!
pids+=("$pid")
window=$(wait_for_window '^Klingelwart \(Version' 150) ||
    fail "kein Hauptfenster: $(cat "$work/klingelwart.log") (Xvfb: $(cat "$work/xvfb.log"))"
for _ in $(seq 100); do
    [[ -e $work/router.reached ]] && break
    sleep 0.1
done
[[ -e $work/router.reached ]] ||
    fail "der Anrufmonitor meldet sich nicht (Modul nicht geladen?): $(cat "$work/klingelwart.log")"
sleep 0.3
# The desktop file's StartupWMClass must name the window's class.
[[ $(xprop -id "$window" WM_CLASS) == *', "Klingelwart"' ]] ||
    fail "WM_CLASS passt nicht zu StartupWMClass=Klingelwart: $(xprop -id "$window" WM_CLASS)"

caller=$'+49 (30) 1234 <b>Müller</b> & "q" \'s\' $(id) 📞'
called='67890 {AnrufNummer}'
/usr/bin/klingelwart-ring "$caller" "$called" || fail "klingelwart-ring: Status $?"

# The caller line as assistive technology reads it: the accessible name of the label.
/usr/bin/python3 - "Anruf von $caller auf Leitung: $called" >"$work/caller-line" 2>"$work/atspi-reader.log" <<'PY' ||
import sys
import time

import pyatspi

expected = sys.argv[1]


def labels(accessible):
    if accessible.getRoleName() == "label":
        yield accessible.name
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            yield from labels(child)


seen = ""
deadline = time.monotonic() + 10
while time.monotonic() < deadline:
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        application = desktop.getChildAtIndex(index)
        if application is None or application.name != "Klingelwart":
            continue
        for name in labels(application):
            if name.startswith("Anruf von"):
                seen = name
    if seen == expected:
        break
    time.sleep(0.1)
print(seen)
sys.exit(0 if seen == expected else 1)
PY
    fail "Anruferzeile über AT-SPI: »$(cat "$work/caller-line")« statt »Anruf von $caller auf Leitung: $called« $(cat "$work/atspi-reader.log")"

press "$window" alt+a
for _ in $(seq 100); do
    [[ -s $recorder.out ]] && break
    sleep 0.05
done
[[ -s $recorder.out ]] || fail "die Aktion startete das Programm nicht"
printf '%s\0' "$caller" "$called" | cmp -s - "$recorder.out" ||
    fail "die Aktion bekam: $(tr '\0' '|' <"$recorder.out")"

# Help: without a viewer for .chm files, the installed HTML manual.
press "$window" F1
for _ in $(seq 100); do
    [[ -s $work/opener/opened ]] && break
    sleep 0.05
done
[[ $(cat "$work/opener/opened" 2>/dev/null) == /usr/share/doc/klingelwart/handbuch/index.html ]] ||
    fail "F1 öffnete »$(cat "$work/opener/opened" 2>/dev/null)« statt des installierten Handbuchs"

press "$window" ctrl+F4
wait_for_window '^Klingelwart beenden$' >/dev/null || fail "keine Frage vor dem Beenden"
xdotool key --clearmodifiers Return
status=0
wait "$pid" || status=$?
[[ $status == 0 ]] || fail "klingelwart endete mit Status $status"
phase "Programm (Xvfb, AT-SPI)"

# --- remove -------------------------------------------------------------------------------
"${sudo[@]}" apt-get purge -y -qq klingelwart >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get purge klingelwart"; }
we_installed=0
! installed || fail "klingelwart ist nach apt-get purge noch installiert"
for file in "${expected_files[@]}"; do
    [[ ! -e /$file ]] || fail "/$file bleibt nach apt-get purge"
done
phase "Entfernen"

echo "Paket: $deb ($(stat -c %s "$deb") Bytes)"
echo "Depends: $depends"
echo "Zeiten: $timings (zusammen $SECONDS s)"
echo "Paket-Test: bestanden"
