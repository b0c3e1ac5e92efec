#!/usr/bin/env bash
# Fuzzes every reader of CD and registry input: builds the libFuzzer targets of tests/fuzz with
# clang (AddressSanitizer, UBSan) and runs each for SECONDS. One line a target:
#   fuzz <TAB> name <TAB> runs=N <TAB> coverage=N <TAB> findings=N
# Exits non-zero when any target found a crash, a leak or a sanitizer report; the inputs are
# kept in the build folder's runs/<name>/artifacts.
set -euo pipefail
seconds=${1:-10}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TOVA_FUZZ_BUILD:-$top/build/fuzz}
jobs=${TOVA_JOBS:-2}

# clang and libFuzzer are in the project's one package list.
"$top/scripts/setup.sh"

mkdir -p "$build"
if ! { cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
           -DCMAKE_CXX_COMPILER=clang++ -DTOVA_FUZZ=ON &&
       cmake --build "$build" -j"$jobs" --target fuzz_targets; } >"$build/fuzz-build.log" 2>&1; then
    tail -n 40 "$build/fuzz-build.log" >&2
    echo "fuzz: build failed (log: $build/fuzz-build.log)" >&2
    exit 2
fi

status=0
for source in "$top"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    work="$build/runs/$name"
    # The corpus grows from run to run; findings are those of this run only.
    rm -rf "$work/artifacts"
    mkdir -p "$work/corpus" "$work/artifacts"
    seeds=()
    [ -d "$top/tests/fuzz/corpus/$name" ] && seeds+=("$top/tests/fuzz/corpus/$name")
    rc=0
    "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
        "$work/corpus" "${seeds[@]}" >"$work/log" 2>&1 || rc=$?

    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$work/log" | tail -n 1)
    # A run cut short by a finding has no "Done" line: its last status line counts (none when
    # a seed itself failed).
    [ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9]*\).*/\1/p' "$work/log" | tail -n 1)
    coverage=$({ grep -o 'cov: [0-9]*' "$work/log" || true; } | tail -n 1 | cut -d' ' -f2)
    findings=$(find "$work/artifacts" -type f | wc -l)
    if [ "$rc" -ne 0 ] && [ "$findings" -eq 0 ]; then findings=1; fi
    printf 'fuzz\t%s\truns=%s\tcoverage=%s\tfindings=%s\n' "$name" "${runs:-0}" "${coverage:-0}" \
        "$findings"
    if [ "$findings" -ne 0 ]; then
        status=1
        grep -m 3 -E 'ERROR: |runtime error|SUMMARY' "$work/log" >&2 || true
        echo "fuzz: $name: log $work/log, inputs in $work/artifacts" >&2
    fi
done
exit $status
