#!/usr/bin/env bash
# Builds everything and runs every test: the optimised build with warnings as errors, then the
# whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
tools/check-format.sh

for preset in ci asan; do
    echo "=== $preset ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
