#!/usr/bin/env bash
# The notifier against dunst on a private session bus and X server, then on a bus without any
# notification server and on one whose server is started but never answers. Starts and ends
# everything it needs; touches neither the user's bus nor display.
# Usage: dbus_notifier_test.sh TEST_PROGRAM
set -euo pipefail

program=$1
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen

if [[ ${2:-} == --inside ]]; then
    source "$here/../../e2e/xvfb_session.sh"
    source "$here/../../e2e/private_bus.sh"
    dunst_pid=""
    trap 'kill $dunst_pid 2>/dev/null || true; xvfb_stop' EXIT
    xvfb_start "$WORK"
    dunst_start "$WORK"
    "$program" newerCallReplacesTheOlderAndWithdrawTakesItAway \
        theActionButtonAndAClickReachTheProgram aProgramThatEndsTakesItsNotificationAlong ||
        { cat "$WORK/dunst.log" >&2; exit 1; }
    exit 0
fi

for tool in dbus-run-session dunst dunstctl Xvfb; do
    command -v "$tool" >/dev/null || {
        echo "FEHLER: $tool fehlt (tools/deps.sh installiert es)" >&2
        exit 1
    }
done

WORK=$(mktemp -d)
export WORK
trap 'rm -rf "$WORK"' EXIT
export HOME=$WORK/home XDG_RUNTIME_DIR=$WORK/run XDG_CONFIG_HOME=$WORK/config
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY

source "$here/../../e2e/private_bus.sh"

# dunst logs what it shows, and its menu program picks the entry named like the action button.
export KW_DUNST_LOG=$WORK/shown.log
cat >"$WORK/log.sh" <<'SCRIPT'
#!/bin/sh
printf '%s|%s\n' "$2" "$3" >>"$KW_DUNST_LOG"
SCRIPT
cat >"$WORK/menu.sh" <<'SCRIPT'
#!/bin/sh
grep -m 1 'Wählen'
SCRIPT
chmod +x "$WORK/log.sh" "$WORK/menu.sh"
cat >"$WORK/dunstrc" <<CONF
[global]
    dmenu = $WORK/menu.sh
    markup = full
[log]
    summary = "*"
    script = $WORK/log.sh
CONF

private_bus_config "$WORK/bus.conf" "$WORK/run"
mkdir "$WORK/services"
printf '[D-BUS Service]\nName=org.freedesktop.Notifications\nExec=/bin/sleep 30\n' \
    >"$WORK/services/org.freedesktop.Notifications.service"
private_bus_config "$WORK/late.conf" "$WORK/run" "$WORK/services"

echo "--- dunst"
dbus-run-session --config-file="$WORK/bus.conf" -- "$0" "$program" --inside
echo "--- Sitzungsbus ohne Benachrichtigungsdienst"
KW_EXPECTED_REASON="Der Desktop bietet keinen Benachrichtigungsdienst." \
    dbus-run-session --config-file="$WORK/bus.conf" -- \
    "$program" withoutAnAnsweringServerNothingWaitsAndTheReasonIsGiven
echo "--- Benachrichtigungsdienst, der nicht antwortet"
KW_EXPECTED_REASON="Der Benachrichtigungsdienst antwortet nicht." \
    dbus-run-session --config-file="$WORK/late.conf" -- \
    "$program" withoutAnAnsweringServerNothingWaitsAndTheReasonIsGiven
