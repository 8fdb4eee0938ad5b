#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when any is missing. With
# arguments, installs those packages instead of the usual set.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-format
    # the fuzz targets: clang with libFuzzer and the sanitizers' runtime
    clang-14 libclang-rt-14-dev
    xdg-utils
    # chmcmd, which compiles the manual into KLINGELWART2.chm
    fp-utils-3.2.2
    xvfb xauth xdotool fonts-liberation2
    # the SIP password in the desktop's Secret Service, and a private one for its tests
    libsecret-1-dev gnome-keyring dbus-daemon dbus-bin
    # secret-tool: a script's side of the stored password as the manual shows it, and the SIP
    # password for the start-up benchmark with SIP on
    libsecret-tools
    # the SIP source, and sipp playing the telephone system in its tests
    libsofia-sip-ua-dev sip-tester
    # the oracle the number matching is tested against
    libphonenumber-dev
    # its TLS check, and Kamailio as a real registrar (also over TLS) with a test certificate
    libssl-dev openssl kamailio kamailio-tls-modules
    # Twinkle running klingelwart-ring on a ring, as the README tells
    twinkle-console
    # the SIP source on a network of loopback alone (unshare, ip)
    util-linux iproute2
    # the desktop: a notification server for the notifier's tests, GLib's launcher reading the
    # autostart entry as a session does
    dunst libglib2.0-bin
    # Radicale as the address-book server, and Python for the misbehaving one of its tests
    radicale python3
)
if (($# > 0)); then
    packages=("$@")
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installiere fehlende Pakete: ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
