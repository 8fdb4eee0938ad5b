#!/bin/sh
# Makes the certificates the address-book tests use, fresh for each run, in FOLDER:
#
#   make_certificates.sh FOLDER
#
#   ca.pem                   a test CA, to be trusted through SSL_CERT_FILE
#   server.pem, server.key   signed by it for 127.0.0.1 and localhost
#   self.pem, self.key       self-signed for 127.0.0.1 and localhost, trusted by no one
#
# Exit code 0 when all are there; openssl's complaints go to standard error.
set -eu
if [ $# -ne 1 ]; then
    sed -n '4,10p' "$0" >&2
    exit 1
fi
mkdir -p "$1"
cd "$1"
names="subjectAltName=IP:127.0.0.1,DNS:localhost"
quiet() { openssl "$@" 2>>openssl.log || { cat openssl.log >&2; exit 1; }; }
quiet req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Klingelwart Test-CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" \
    -keyout ca.key -out ca.pem
quiet req -newkey rsa:2048 -nodes -subj "/CN=127.0.0.1" -keyout server.key -out server.csr
printf '%s\nextendedKeyUsage=serverAuth\n' "$names" >server.ext
quiet x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
    -extfile server.ext -out server.pem
quiet req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=127.0.0.1" -addext "$names" \
    -keyout self.key -out self.pem
rm -f server.csr server.ext ca.srl openssl.log
