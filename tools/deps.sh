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
    # secret-tool: the SIP password for the start-up benchmark with SIP on
    libsecret-tools
    # the SIP source, and sipp playing the telephone system in its tests
    libsofia-sip-ua-dev sip-tester
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
