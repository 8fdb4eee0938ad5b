#!/usr/bin/env bash
# Builds everything and runs every test: the optimised build with warnings as errors, the whole
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows build with
# its tests under Wine. In between, the Debian package is built, installed, run and removed.
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

echo "=== Debian package: build, install, run, remove ==="
tools/package-test.sh

tools/wine-test.sh
