#!/usr/bin/env bash
# The password store against a real Secret Service: gnome-keyring-daemon on a private session bus,
# unlocked with a test password; then on a bus without any provider, and with no bus at all.
# Starts and ends everything it needs; touches no real keyring (HOME and XDG dirs are private).
# Usage: secret_service_test.sh TEST_PROGRAM
set -euo pipefail

program=$1

if [[ ${2:-} == --inside-keyring ]]; then
    # On the private bus: a keyring whose "login" collection is created and unlocked with the
    # test password (read from standard input, never from a file).
    printf '%s' "test-passwort" |
        gnome-keyring-daemon --foreground --unlock --components=secrets >"$XDG_RUNTIME_DIR/keyring.log" 2>&1 &
    keyring=$!
    trap 'kill "$keyring" 2>/dev/null || true; wait "$keyring" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
            grep -q "boolean true"; then
            break
        fi
        sleep 0.1
    done
    "$program" --gtest_brief=1 --gtest_filter=SecretServiceStore.RoundTrip || {
        cat "$XDG_RUNTIME_DIR/keyring.log" >&2
        exit 1
    }
    exit 0
fi

for tool in dbus-run-session dbus-send gnome-keyring-daemon; do
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

# A session bus that activates nothing, so no provider of the machine starts behind our back.
cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work/run</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF

echo "--- ohne Sitzungsbus"
DBUS_SESSION_BUS_ADDRESS="unix:path=$work/kein-bus" \
    "$program" --gtest_brief=1 --gtest_filter=SecretServiceStore.Unavailable
echo "--- Sitzungsbus ohne Schlüsselbund"
dbus-run-session --config-file="$work/bus.conf" -- \
    "$program" --gtest_brief=1 --gtest_filter=SecretServiceStore.Unavailable
echo "--- gnome-keyring"
dbus-run-session --config-file="$work/bus.conf" -- "$0" "$program" --inside-keyring
