#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
cmake --preset ci >/dev/null
cmake --build --preset ci --target klingelwart
exec build/ci/app/klingelwart
