#!/usr/bin/env bash
# The built program end to end: a prepared settings file, a call with a hostile caller number,
# the action, and what the started program received. Then a template whose program is missing.
set -euo pipefail

program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME"

fail() {
    echo "FEHLER: $*" >&2
    echo "--- Ausgabe ---" >&2
    cat "$work/output" >&2 || true
    exit 1
}

caller='(012) 456789; touch '"$work"'/pwned $(touch '"$work"'/pwned2) `id`'
called='67890 "x"'

cat >"$work/record.sh" <<SH
#!/bin/sh
printf '%s\n' "\$@" >"$work/recorded.tmp" && mv "$work/recorded.tmp" "$work/recorded"
SH
chmod +x "$work/record.sh"
cat >"$XDG_CONFIG_HOME/Klingelwart.conf" <<INI
[Options]
DoJob=1
Formatierung=0
Shell=$work/record.sh {AnrufNummer} {MSN}
INI

printf 'anruf\n%s\n%s\nstart\nende\nj\n' "$caller" "$called" | "$program" >"$work/output" 2>&1

grep -qF "[Anruf von $caller auf Leitung: $called]  Aktion bereit" "$work/output" ||
    fail "Anruferzeile fehlt"
for _ in $(seq 100); do
    [[ -s $work/recorded ]] && break
    sleep 0.05
done
expected=$(printf '%s\n%s' "$caller" "$called")
[[ "$(cat "$work/recorded")" == "$expected" ]] || fail "Aufgezeichnet: $(cat "$work/recorded")"
[[ ! -e $work/pwned && ! -e $work/pwned2 ]] || fail "die Rufnummer wurde ausgeführt"

cat >"$XDG_CONFIG_HOME/Klingelwart.conf" <<INI
[Options]
DoJob=1
Shell=$work/fehlt {AnrufNummer}
INI
printf 'anruf\n0301\n42\nstart\nende\nj\n' | "$program" >"$work/output" 2>&1
grep -qF "== (X) Fehlerhafter Shell-Befehl in Optionen-Dialog ==" "$work/output" ||
    fail "Meldung 53 fehlt"
grep -qF "'$work/fehlt 0301'" "$work/output" || fail "Befehl fehlt in der Meldung"
echo "Ende-zu-Ende: bestanden"
