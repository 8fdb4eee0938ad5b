#!/usr/bin/env bash
# Desktop figures on a private X server: Klingelwart's start-up and peak memory against a
# minimal Qt window, with the optional call sources off, the router on and SIP on (its password
# in a private Secret Service), and the ring latency from klingelwart-ring to the caller line,
# without books and with 100,000 contacts that know the caller.
# Prints figures; fails only when a program does not run.
#
#   tools/bench-gui.sh [BUILD_DIR [RUNS [RINGS [PROGRAM]]]]   # default: the ci preset's build
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-}
runs=${2:-30}
rings=${3:-200}
program=${4:-}
if [[ -z $build ]]; then
    cmake --preset ci >/dev/null
    cmake --build --preset ci --target kw_startup_bench kw_ring_latency_bench
    build=build/ci
fi
program=${program:-$build/app/klingelwart}

work=$(mktemp -d)
source tests/e2e/xvfb_session.sh
trap 'xvfb_stop; rm -rf "$work"' EXIT
xvfb_start "$work"

"$build/bench/kw_startup_bench" "$runs" "$program"
echo

# Each run copies one of these into a fresh configuration directory of its own.
printf '[Options]\nDoJob=1\nStart=2\n' >"$work/off.conf"
{
    cat "$work/off.conf"
    printf '[Anrufquellen]\nRouter=1\nRouterHost=127.0.0.1\nRouterPort=9\n'
} >"$work/router.conf"
{
    cat "$work/off.conf"
    printf '[Anrufquellen]\nSIP=1\nSIPServer=127.0.0.1\nSIPBenutzer=4711\n'
} >"$work/sip.conf"
against_text_window() {
    "$build/bench/kw_startup_bench" "$runs" "$program" "$build/bench/kw_minimal_text_window" "$1"
}

echo "Gegen ein kleinstes Fenster mit einer Textzeile, Anrufquellen wie voreingestellt:"
against_text_window "$work/off.conf"
echo
echo "Dasselbe mit dem Anrufmonitor des Routers (127.0.0.1:9):"
against_text_window "$work/router.conf"
echo
# SIP starts only with its password: a keyring of its own on a session bus of its own, unlocked.
echo "Dasselbe mit SIP (4711@127.0.0.1, Passwort im Schlüsselbund):"
mkdir -p "$work/home" "$work/keyring-run"
chmod 700 "$work/keyring-run"
export -f against_text_window
export build runs program work
HOME=$work/home XDG_DATA_HOME=$work/home XDG_RUNTIME_DIR=$work/keyring-run dbus-run-session -- bash -c '
    printf "bench" | gnome-keyring-daemon --foreground --unlock --components=secrets \
        >"$work/keyring.log" 2>&1 &
    keyring=$!
    trap "kill $keyring 2>/dev/null || true" EXIT
    # Stored only once this keyring owns the name: the bus would otherwise start a locked one.
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
            grep -q "boolean true" && break
        sleep 0.1
    done
    printf "geheim" | secret-tool store --label=Klingelwart application Klingelwart \
        server 127.0.0.1 user 4711 2>/dev/null || true
    secret-tool lookup application Klingelwart server 127.0.0.1 user 4711 >/dev/null ||
        echo "(ohne gespeichertes Passwort: der Schlüsselbund antwortet nicht)"
    against_text_window "$work/sip.conf"
' 2> >(grep -v '^dbus-daemon\[' >&2)
echo
mkdir -m 700 "$work/run"
# The offscreen platform warns about window hints it ignores; that is noise here.
XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="default.warning=false" \
    "$build/bench/kw_ring_latency_bench" "$rings"
