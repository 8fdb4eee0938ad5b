#!/usr/bin/env bash
# Builds everything and runs every test: the optimised build with warnings as errors, the whole
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, a short run of every fuzz
# target, then the Windows build with its tests under Wine. In between, the Debian package is
# built, checked by lintian, installed, run and removed.
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

echo "=== fuzz: every target briefly over its seeds ==="
tools/fuzz.sh --runs 3000

echo "=== Debian package: build, install, run, remove, lintian ==="
tools/package-test.sh

tools/wine-test.sh
