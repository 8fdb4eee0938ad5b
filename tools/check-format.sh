#!/usr/bin/env bash
# Fails when a C++ source does not follow .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
if ((${#sources[@]} == 0)); then
    exit 0
fi
if ! clang-format --dry-run --Werror "${sources[@]}"; then
    echo "Formatierung weicht von .clang-format ab: clang-format -i <Datei>" >&2
    exit 1
fi
