#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
cmake --preset ci >/dev/null
cmake --build --preset ci --target klingelwart klingelwart-ring kw_help
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "Kein Bildschirm: DISPLAY und WAYLAND_DISPLAY sind leer. Klingelwart braucht eine" \
        "Desktop-Sitzung." >&2
    exit 1
fi
exec build/ci/app/klingelwart
