#!/usr/bin/env bash
# The notification latency on a private session bus: from a ring to the Notify request at a
# notification server in the benchmark itself. Prints figures; touches neither the user's bus nor
# display.
#
#   tools/bench-notify.sh [BUILD_DIR [RINGS]]   # default: the ci preset's build, 200 rings
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-}
rings=${2:-200}
if [[ -z $build ]]; then
    cmake --preset ci >/dev/null
    cmake --build --preset ci --target kw_notification_bench
    build=build/ci
fi
command -v dbus-run-session >/dev/null || {
    echo "FEHLER: dbus-run-session fehlt (tools/deps.sh installiert es)" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
# A bus that activates nothing: the benchmark's own server is the only notification service.
source tests/e2e/private_bus.sh
private_bus_config "$work/bus.conf" "$work/run"
XDG_RUNTIME_DIR=$work/run dbus-run-session --config-file="$work/bus.conf" -- \
    "$build/bench/kw_notification_bench" "$rings" 2> >(grep -v '^dbus-daemon\[' >&2)
