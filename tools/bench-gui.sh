#!/usr/bin/env bash
# Desktop figures on a private X server: Klingelwart's start-up and peak memory against a
# minimal Qt window, and the ring latency from klingelwart-ring to the caller line. Prints
# figures; fails only when a program does not run.
#
#   tools/bench-gui.sh [BUILD_DIR [RUNS [RINGS]]]   # default: the optimised build (ci preset)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-}
runs=${2:-30}
rings=${3:-200}
if [[ -z $build ]]; then
    cmake --preset ci >/dev/null
    cmake --build --preset ci --target kw_startup_bench kw_ring_latency_bench
    build=build/ci
fi

work=$(mktemp -d)
source tests/e2e/xvfb_session.sh
trap 'xvfb_stop; rm -rf "$work"' EXIT
xvfb_start "$work"

"$build/bench/kw_startup_bench" "$runs"
echo
echo "Dasselbe gegen ein kleinstes Fenster mit einer Textzeile:"
"$build/bench/kw_startup_bench" "$runs" "$build/app/klingelwart" "$build/bench/kw_minimal_text_window"
echo
mkdir -m 700 "$work/run"
# The offscreen platform warns about window hints it ignores; that is noise here.
XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="default.warning=false" \
    "$build/bench/kw_ring_latency_bench" "$rings"
