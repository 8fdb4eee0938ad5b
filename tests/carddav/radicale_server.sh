#!/bin/bash
# Radicale on 127.0.0.1 serving one address book, for the address-book tests of both systems.
#
#   radicale_server.sh PORT FOLDER USER PASSWORD BOOK [--tls CERT KEY] [CARD.vcf ...]
#
# FOLDER (made when missing) takes the configuration, the log and the storage; the address book
# is http(s)://127.0.0.1:PORT/USER/BOOK/, readable by USER with PASSWORD (Basic), and holds a
# copy of each CARD under its own file name. With --tls it speaks HTTPS only, with the PEM
# certificate CERT (its chain may follow it in the file) and key KEY.
# Once the port answers it prints the one line "bereit PORT" and runs until it gets SIGTERM or
# SIGINT, which end Radicale too. Exit code 1: wrong arguments; 2: Radicale did not come up
# within 20 s (its log goes to standard error).
set -euo pipefail

if (($# < 5)); then
    sed -n '4,12p' "$0" >&2
    exit 1
fi
port=$1 folder=$2 user=$3 password=$4 book=$5
shift 5
tls=False certificate= key=
if (($# >= 3)) && [[ $1 == --tls ]]; then
    tls=True certificate=$(realpath "$2") key=$(realpath "$3")
    shift 3
fi

mkdir -p "$folder"
folder=$(realpath "$folder")
collection="$folder/collections/collection-root/$user/$book"
mkdir -p "$collection"
printf '{"tag": "VADDRESSBOOK"}' >"$collection/.Radicale.props"
for card in "$@"; do
    cp "$card" "$collection/"
done
printf '%s:%s\n' "$user" "$password" >"$folder/users"
cat >"$folder/config" <<CONFIG
[server]
hosts = 127.0.0.1:$port
ssl = $tls
certificate = ${certificate:-/dev/null}
key = ${key:-/dev/null}

[auth]
type = htpasswd
htpasswd_filename = $folder/users
htpasswd_encryption = plain
delay = 0

[rights]
type = owner_only

[storage]
filesystem_folder = $folder/collections

[web]
type = none

[logging]
level = warning
CONFIG

# Debian's Radicale runs on Debian's Python, whichever python3 comes first on PATH.
/usr/bin/radicale --config "$folder/config" >>"$folder/radicale.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server"; exit 0' TERM INT

for ((tries = 0; tries < 200; tries++)); do
    if ! kill -0 "$server" 2>/dev/null; then
        break
    fi
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "bereit $port"
        wait "$server"
        exit 0
    fi
    sleep 0.1
done
kill "$server" 2>/dev/null || true
cat "$folder/radicale.log" >&2
exit 2
