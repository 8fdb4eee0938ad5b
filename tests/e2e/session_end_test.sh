#!/usr/bin/env bash
# How the program ends at a desktop under the C locale: the exit question in German (its Yes
# button answers to J), and the signals of a logout, Ctrl+C and a closed terminal, also while a
# dialog is open. Each end must leave status 0, no socket and the settings as they were.
set -euo pipefail

program=$1
work=$(mktemp -d)
source "$(dirname "$0")/xvfb_session.sh"

pid=""
cleanup() {
    [[ -z $pid ]] || kill "$pid" 2>/dev/null || true
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FEHLER: $*" >&2
    [[ -e $work/klingelwart.log ]] && cat "$work/klingelwart.log" >&2
    exit 1
}

xvfb_start "$work"
export LC_ALL=C XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Options]\nDoJob=1\nFormatierung=0\nStart=2\nShell=true\n' >"$XDG_CONFIG_HOME/Klingelwart.conf"
socket=$XDG_RUNTIME_DIR/klingelwart/phone.sock

# A script's background job starts with SIGINT ignored; a desktop starts programs without that.
start() {
    env --default-signal "$program" >"$work/klingelwart.log" 2>&1 &
    pid=$!
    window=$(wait_for_window '^Klingelwart \(Version 2\.0\.0\)$' 150) || fail "$1: kein Hauptfenster"
    [[ -S $socket ]] || fail "$1: kein $socket"
}

# ended WHAT: the program must end on its own within five seconds, with status 0, socket removed.
ended() {
    local _ status=0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "$1: das Programm läuft noch"
    wait "$pid" || status=$?
    pid=""
    [[ $status == 0 ]] || fail "$1: Status $status"
    [[ ! -e $socket ]] || fail "$1: $socket bleibt liegen"
}

exit_question() {
    press "$window" ctrl+F4
    wait_for_window '^Klingelwart beenden$' >/dev/null || fail "keine Frage vor dem Beenden"
}

start "Frage"
exit_question
xdotool key --clearmodifiers j
ended "Ja in der Frage"

for signal in TERM INT HUP; do
    start "$signal"
    kill -"$signal" "$pid"
    ended "SIG$signal"
done

start "TERM mit Frage"
exit_question
kill -TERM "$pid"
ended "SIGTERM bei offener Frage"

cp "$XDG_CONFIG_HOME/Klingelwart.conf" "$work/settings-before"
start "TERM mit Optionen"
press "$window" ctrl+o
wait_for_window '^Optionen$' >/dev/null || fail "kein Dialog Optionen"
kill -TERM "$pid"
ended "SIGTERM bei offenem Dialog Optionen"
cmp -s "$work/settings-before" "$XDG_CONFIG_HOME/Klingelwart.conf" ||
    fail "SIGTERM bei offenem Dialog Optionen: die Einstellungen wurden geschrieben"
echo "Ende-zu-Ende (Sitzungsende): bestanden"
