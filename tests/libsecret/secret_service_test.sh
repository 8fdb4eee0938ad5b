#!/usr/bin/env bash
# The password store against a real Secret Service: gnome-keyring-daemon on a private session bus,
# unlocked with a test password, then locked; a service that never answers; a bus without any
# provider; no bus at all. Starts and ends everything it needs and touches no real keyring.
# Usage: secret_service_test.sh TEST_PROGRAM
set -euo pipefail

program=$1

run() {
    "$program" --gtest_brief=1 --gtest_filter="SecretServiceStore.$1"
}

# keyring [--unlock]: gnome-keyring-daemon on the current session bus, until keyring_stop.
keyring_pid=""
keyring() {
    # With --unlock it reads the password from standard input and creates "login" with it.
    printf '%s' "test-passwort" |
        gnome-keyring-daemon --foreground --components=secrets "$@" \
            >>"$XDG_RUNTIME_DIR/keyring.log" 2>&1 &
    keyring_pid=$!
    local _
    for _ in $(seq 100); do
        if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
            grep -q "boolean true"; then
            return 0
        fi
        sleep 0.1
    done
    echo "FEHLER: gnome-keyring-daemon meldet sich nicht am Bus" >&2
    return 1
}
keyring_stop() {
    if [[ -n $keyring_pid ]]; then
        kill "$keyring_pid" 2>/dev/null || true
        wait "$keyring_pid" 2>/dev/null || true
        keyring_pid=""
    fi
}

if [[ ${2:-} == --inside ]]; then
    trap keyring_stop EXIT
    status=0
    keyring --unlock && run RoundTrip || status=1
    # A script's side, as the manual shows it: secret-tool with the three attributes.
    printf '%s' "vom-skript" | secret-tool store --label="Klingelwart SIP-Konto 4711@pbx.example" \
        xdg:schema de.klingelwart.SipKonto application Klingelwart server pbx.example user 4711 &&
        run ScriptedPassword &&
        [[ $(secret-tool lookup application Klingelwart server pbx.example user 4711) == \
            "vom-programm" ]] || { echo "FEHLER: secret-tool sieht das Passwort nicht" >&2; status=1; }
    keyring_stop
    keyring && run Locked || status=1
    ((status == 0)) || cat "$XDG_RUNTIME_DIR/keyring.log" >&2
    exit "$status"
fi

for tool in dbus-run-session dbus-send gnome-keyring-daemon secret-tool; do
    command -v "$tool" >/dev/null || {
        echo "FEHLER: $tool fehlt (tools/deps.sh installiert es)" >&2
        exit 1
    }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
export XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY GNOME_KEYRING_CONTROL

# Session buses that activate nothing of the machine's, so no provider or prompter starts behind
# the test's back.
source "$(dirname "$0")/../e2e/private_bus.sh"
private_bus_config "$work/bus.conf" "$work/run"
# A provider that is started on demand but never takes its name: calls wait for it.
mkdir "$work/services"
printf '[D-BUS Service]\nName=org.freedesktop.secrets\nExec=/bin/sleep 1\n' \
    >"$work/services/org.freedesktop.secrets.service"
private_bus_config "$work/late.conf" "$work/run" "$work/services"

echo "--- ohne Sitzungsbus"
DBUS_SESSION_BUS_ADDRESS="unix:path=$work/kein-bus" run Unavailable
echo "--- Sitzungsbus ohne Schlüsselbund"
dbus-run-session --config-file="$work/bus.conf" -- "$program" --gtest_brief=1 \
    --gtest_filter=SecretServiceStore.Unavailable
echo "--- Schlüsselbund, der nicht antwortet"
dbus-run-session --config-file="$work/late.conf" -- "$program" --gtest_brief=1 \
    --gtest_filter=SecretServiceStore.Late
echo "--- gnome-keyring, entsperrt und gesperrt"
dbus-run-session --config-file="$work/bus.conf" -- "$0" "$program" --inside
