#!/usr/bin/env bash
# The built program on a real X server: a prepared settings file, a call with a hostile caller
# number through klingelwart-ring, the action button by its access key, and what the started
# program received. Then the message for a missing program, and a second start that must end
# silently while the first goes on taking calls.
set -euo pipefail

program=$1
ring=$2
recorder=$3
work=$(mktemp -d)
source "$(dirname "$0")/xvfb_session.sh"

pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FEHLER: $*" >&2
    for log in "$work"/klingelwart-*.log; do
        [[ -e $log ]] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    exit 1
}

xvfb_start "$work"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run KW_RECORD_FILE=$work/recorded
export XDG_DATA_HOME=$work/data
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
main_window='^Klingelwart \(Version 2\.0\.0\)$'

settings() {
    printf '[Options]\nDoJob=1\nFormatierung=0\nStart=2\nShell=%s\n' "$1" \
        >"$XDG_CONFIG_HOME/Klingelwart.conf"
}

# start NAME: starts the program and waits for its main window; sets `pid` and `window`.
start() {
    "$program" >"$work/klingelwart-$1.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    window=$(wait_for_window "$main_window" 150) || fail "$1: kein Hauptfenster"
}

# finish: the exit question by Ctrl+F4, answered with Enter (Yes is the default button).
finish() {
    press "$window" ctrl+F4
    wait_for_window '^Klingelwart beenden$' >/dev/null || fail "keine Frage vor dem Beenden"
    xdotool key --clearmodifiers Return
    local status=0
    wait "$pid" || status=$?
    [[ $status == 0 ]] || fail "Ende mit Status $status"
}

# --- a call, the action, the recorded arguments ----------------------------------------------
caller=$'<b>Müller</b> & $(touch '"$work"$'/pwned) `id` "q" \'s\' ;*\nzweite Zeile'
called='67890 {AnrufNummer}'
settings "$recorder {AnrufNummer} {MSN}"
start erster
"$ring" "$caller" "$called" || fail "klingelwart-ring: Status $?"
press "$window" alt+a
for _ in $(seq 100); do
    [[ -s $work/recorded ]] && break
    sleep 0.05
done
[[ -s $work/recorded ]] || fail "das Programm wurde nicht gestartet"
# The recorder writes "<length>:<bytes>\n" per field; the last three are argv.
field() {
    local LC_ALL=C  # lengths in bytes
    printf '%d:%s\n' "${#1}" "$1"
}
{ field "$recorder"; field "$caller"; field "$called"; } >"$work/expected"
size=$(stat -c %s "$work/expected")
tail -c "$size" "$work/recorded" | cmp -s - "$work/expected" ||
    fail "aufgezeichnet: $(cat -A "$work/recorded")"
[[ ! -e $work/pwned ]] || fail "die Rufnummer wurde ausgeführt"
finish

# --- the Twinkle recipe of the README and the manual, with the environment Twinkle gives ------
source_dir=$(dirname "$0")/../..
recipe=$work/bin/klingelwart-twinkle
mkdir -p "$work/bin"
sed -n '/^- \*\*Twinkle\*\*/,/^  ```$/p' "$source_dir/README.md" | sed -n '/^  ```sh$/,/^  ```$/p' |
    sed '1d;$d;s/^  //' >"$recipe"
[[ $(head -n 1 "$recipe") == '#!/bin/sh' ]] || fail "kein Twinkle-Skript im README: $(cat "$recipe")"
exec_line=$(grep '^exec ' "$recipe") || fail "das Twinkle-Skript im README ruft nichts auf"
grep -qF -- "$exec_line" "$source_dir/help/html/softphone-linux.html" ||
    fail "das Handbuch zeigt ein anderes Twinkle-Skript als das README"
chmod +x "$recipe"
settings "$recorder {AnrufNummer} {MSN}"
start twinkle
# caller|SIP variables: a plain caller, a tel: caller (no user part), no caller identification
for row in "0301234567|SIP_FROM_USER=0301234567 SIP_FROM_HOST=example.org" \
    "+49301234567|SIP_FROM_USER= SIP_FROM_HOST=+49301234567" \
    "+49301234568|SIP_FROM_HOST=+49301234568" "|SIP_FROM_USER= SIP_FROM_HOST="; do
    rm -f "$work/recorded"
    read -ra variables <<<"${row#*|}"
    env -i PATH="$(dirname "$ring"):/usr/bin:/bin" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
        "${variables[@]}" SIP_TO_USER=67890 "$recipe" || fail "Twinkle-Skript ($row): Status $?"
    { field "${row%%|*}"; field 67890; } >"$work/expected"
    size=$(stat -c %s "$work/expected")
    press "$window" alt+a
    # The recorder may still be writing: wait for the whole record.
    for _ in $(seq 100); do
        tail -c "$size" "$work/recorded" 2>/dev/null | cmp -s - "$work/expected" && continue 2
        sleep 0.05
    done
    fail "Twinkle-Skript ($row): aufgezeichnet $(cat -A "$work/recorded" 2>/dev/null)"
done

# --- and run by Twinkle itself, in direct mode on 127.0.0.1, called by sipp -----------------
if command -v twinkle-console >/dev/null && command -v sipp >/dev/null; then
    rm -f "$work/recorded"
    port=$((20000 + RANDOM % 20000))
    mkdir -p "$work/twinkle/.twinkle"
    printf '%s\n' user_name=4711 user_domain=127.0.0.1 register_at_startup=no \
        "script_incoming_call=$recipe" >"$work/twinkle/.twinkle/klingelwart.cfg"
    printf '%s\n' "sip_udp_port=$port" "rtp_port=$((port + 2))" play_ringtone=no \
        play_ringback=no >"$work/twinkle/.twinkle/twinkle.sys"
    # Its console reads commands from standard input and ends at its end: a pipe held open.
    mkfifo "$work/twinkle.in"
    exec 3<>"$work/twinkle.in"
    HOME=$work/twinkle PATH="$(dirname "$ring"):$PATH" twinkle-console klingelwart.cfg <&3 \
        >"$work/klingelwart-twinkle-console.log" 2>&1 &
    pids+=("$!")
    printf 'SEQUENTIAL\n<sip:0307654321@pbx.test>;X-Leer: 1\n' >"$work/caller.csv"
    for _ in $(seq 50); do
        ss -lun | grep -q ":$port " && break
        sleep 0.1
    done
    sipp -sf "$source_dir/tests/qt/sip/ring_cancel.xml" "127.0.0.1:$port" -inf "$work/caller.csv" \
        -m 1 -i 127.0.0.1 -p $((port + 10)) -nostdin -timeout 15s -timeout_error \
        >/dev/null 2>&1 || fail "Twinkle: sipp endete mit Status $?"
    { field 0307654321; field 4711; } >"$work/expected"
    size=$(stat -c %s "$work/expected")
    for attempt in $(seq 100); do
        ((attempt % 20 == 1)) && press "$window" alt+a
        tail -c "$size" "$work/recorded" 2>/dev/null | cmp -s - "$work/expected" && break
        sleep 0.05
    done
    tail -c "$size" "$work/recorded" 2>/dev/null | cmp -s - "$work/expected" ||
        fail "Twinkle: aufgezeichnet $(cat -A "$work/recorded" 2>/dev/null)"
else
    echo "Übersprungen: Twinkle selbst (twinkle-console oder sipp fehlt)"
fi
finish

# --- a missing program: message 53 ------------------------------------------------------------
settings "$work/fehlt {AnrufNummer}"
start zweiter
"$ring" "0301" "42" || fail "klingelwart-ring: Status $?"
press "$window" alt+a
box=$(wait_for_window '^Fehlerhafter Shell-Befehl in Optionen-Dialog$') ||
    fail "keine Meldung für das fehlende Programm"
press "$box" Return
for _ in $(seq 50); do
    (($(window_count '^Fehlerhafter Shell-Befehl') == 0)) && break
    sleep 0.1
done
(($(window_count '^Fehlerhafter Shell-Befehl') == 0)) || fail "die Meldung bleibt offen"
kill -0 "$pid" 2>/dev/null || fail "das Programm endete nach der Meldung"

# --- a second start ends silently; the first goes on ---------------------------------------
first=$pid
SECONDS=0
status=0
timeout 10 "$program" >"$work/klingelwart-dritter.log" 2>&1 || status=$?
[[ $status == 0 ]] || fail "zweite Instanz: Status $status"
((SECONDS < 5)) || fail "zweite Instanz brauchte $SECONDS s"
(($(window_count "$main_window") == 1)) || fail "mehr als ein Hauptfenster"
kill -0 "$first" 2>/dev/null || fail "die erste Instanz lebt nicht mehr"
"$ring" "0302" "42" || fail "klingelwart-ring nach dem zweiten Start: Status $?"
press "$window" alt+a
box=$(wait_for_window '^Fehlerhafter Shell-Befehl in Optionen-Dialog$') ||
    fail "der Anruf nach dem zweiten Start kam nicht an"
press "$box" Return
sleep 0.3
finish
echo "Ende-zu-Ende (Desktop): bestanden"
