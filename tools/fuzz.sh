#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target, then prints per target its runs,
# execs/s, coverage and findings. Fails when any target found something.
#
#   tools/fuzz.sh [SECONDS]   each target for SECONDS (default 180); new inputs go to the work
#                             corpus build/fuzz/corpus/<target>, kept between runs, not in git
#   tools/fuzz.sh --runs N    each target for N runs over its seeds, work corpus thrown away
#                             (the short run of tools/test.sh)
#
# Findings are kept in build/fuzz/findings/<target>/; replay one with
# build/fuzz/tests/fuzz/kw_fuzz_<target> FILE. Seeds are tests/fuzz/corpus/<target>.
set -euo pipefail
export LC_NUMERIC=C  # a decimal point for the speed below
cd "$(dirname "$0")/.."

limit=(-max_total_time="${1:-180}")
keep=1
if [[ ${1:-} == --runs ]]; then
    limit=(-runs="${2:?--runs braucht eine Zahl}")
    keep=0
fi

# Long runs rebuild often; ccache helps where it is installed, and is not needed.
if [[ -z ${CMAKE_CXX_COMPILER_LAUNCHER:-} ]] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
nice cmake --preset fuzz >/dev/null
nice cmake --build --preset fuzz

build=build/fuzz
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
summary=()
touch "$scratch/start"
for program in "$build"/tests/fuzz/kw_fuzz_*; do
    name=${program##*/kw_fuzz_}
    seeds=tests/fuzz/corpus/$name
    [[ -d $seeds ]] || { echo "FEHLER: keine Seeds in $seeds" >&2; exit 1; }
    work=$build/corpus/$name
    ((keep)) || work=$scratch/$name
    findings=$build/findings/$name
    mkdir -p "$work" "$findings"
    log=$scratch/$name.log
    echo "=== $name"
    status=0
    started=$EPOCHREALTIME
    nice "$program" "${limit[@]}" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "$seeds" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    # Measured here: libFuzzer reports 0 for runs shorter than a second.
    speed=$(awk -v runs="${runs:-0}" -v from="$started" -v to="$EPOCHREALTIME" \
        'BEGIN { printf "%d", runs / (to - from) }')
    coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
    found=$(find "$findings" -type f -newer "$scratch/start" | wc -l)
    if ((status != 0)); then
        failed=1
        grep -E 'ERROR|SUMMARY|Test unit written' "$log" >&2 || tail -n 20 "$log" >&2
    fi
    summary+=("$(printf '%-16s runs %9s  execs/s %7s  %-18s  findings %s%s' "$name" \
        "${runs:-?}" "${speed:-?}" "${coverage:-cov: ?}" "$found" \
        "$( ((status == 0)) || echo " (Status $status)")")")
done

echo "=== fuzz: ${limit[*]}"
printf '%s\n' "${summary[@]}"
exit "$failed"
