#!/bin/bash
# The address-book servers the WinHTTP client's tests under Wine talk to, run natively on
# 127.0.0.1: the peers in tests/carddav and slow_server.py next to this script.
#
#   dav_peers.sh start FOLDER   FOLDER/peers.txt then holds one "NAME PORT" line per server,
#                               FOLDER/certs/ca.pem the CA that signed the "tls" server
#   dav_peers.sh stop FOLDER
#
# Radicale serves the book /kw/buch/ (user kw, password "geheim") with Anna's and Bert's cards.
set -euo pipefail
peers=$(cd "$(dirname "$0")/../../carddav" && pwd)
action=$1 folder=$2

stop() {
    for pidfile in "$folder"/*.pid; do
        [[ -e $pidfile ]] || continue
        kill "$(cat "$pidfile")" 2>/dev/null || true
        rm -f "$pidfile"
    done
}
stop
[[ $action == stop ]] && exit 0

rm -rf "$folder"
mkdir -p "$folder/cards"
"$peers/make_certificates.sh" "$folder/certs"
cat >"$folder/cards/anna.vcf" <<'VCARD'
BEGIN:VCARD
VERSION:3.0
UID:anna
FN:Anna Äpfel
N:Äpfel;Anna;;;
TEL;TYPE=WORK:+49 30 1234567
END:VCARD
VCARD
sed -e 's/anna/bert/; s/Anna Äpfel/Bert Birne/; s/Äpfel;Anna/Birne;Bert/; s/1234567/7654321/' \
    "$folder/cards/anna.vcf" >"$folder/cards/bert.vcf"

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# NAME COMMAND...: started apart from this script's output, which CTest waits to see closed,
# and in the table once it has said "bereit PORT".
run() {
    local name=$1 word port
    shift
    setsid "$@" >"$folder/$name.out" 2>"$folder/$name.err" </dev/null &
    echo $! >"$folder/$name.pid"
    for ((tries = 0; tries < 250; tries++)); do
        if [[ -s $folder/$name.out ]] && read -r word port <"$folder/$name.out" &&
            [[ $word == bereit ]]; then
            echo "$name $port" >>"$folder/peers.txt"
            return 0
        fi
        kill -0 "$(cat "$folder/$name.pid")" 2>/dev/null || break
        sleep 0.1
    done
    cat "$folder/$name.err" >&2
    stop
    exit 1
}

radicale() {
    local name=$1
    shift
    run "$name" "$peers/radicale_server.sh" "$(free_port)" "$folder/$name" kw geheim buch "$@" \
        "$folder/cards/anna.vcf" "$folder/cards/bert.vcf"
}
radicale plain
radicale tls --tls "$folder/certs/server.pem" "$folder/certs/server.key"
radicale self --tls "$folder/certs/self.pem" "$folder/certs/self.key"
for mode in trickle silent huge huge-unannounced close garbage redirect-same redirect-loop; do
    run "$mode" python3 "$peers/hostile_server.py" "$mode"
done
run slow python3 "$(dirname "$0")/slow_server.py"
run redirect python3 "$peers/hostile_server.py" redirect --location http://localhost:1/kw/buch/
echo "closed $(free_port)" >>"$folder/peers.txt"
