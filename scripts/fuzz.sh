#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a fixed time, starting
# from the stored corpus. Any crash, leak or undefined behaviour fails the run and leaves
# the input that caused it in the build folder's fuzz-findings/.
#
#   scripts/fuzz.sh [seconds per target, default 60]
#
# The stored corpus is only read: inputs the fuzzers find are kept in the build folder.
# After fixing a finding, add its input to fuzz/corpus/<format>/ under a name that says
# what it exercises, so that the DefinitionFuzzReplay unit test runs it in every build.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${TOKEIYA_FUZZ_BUILD:-build-fuzz}
jobs=$(nproc)

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DTOKEIYA_FUZZ=ON -DTOKEIYA_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$jobs" --target fuzz_tgd fuzz_ggd

findings="$PWD/$build/fuzz-findings"
mkdir -p "$findings"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1

status=0
for format in tgd ggd; do
    work="$PWD/$build/fuzz-corpus/$format"
    mkdir -p "$work"
    echo "Fuzzing the .$format reader for ${seconds}s"
    # New inputs go to the work folder first; the stored corpus is read after it.
    if ! "$build/fuzz/fuzz_$format" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -dict="fuzz/$format.dict" -artifact_prefix="$findings/$format-" -print_final_stats=1 \
        "$work" "fuzz/corpus/$format" >"$build/fuzz-$format.log" 2>&1; then
        status=1
        grep -E "ERROR|runtime error|SUMMARY|Test unit written|read back|refused|changed" \
            "$build/fuzz-$format.log" | head -20 || true
        echo "fuzz_$format failed: see $build/fuzz-$format.log and $findings/"
    else
        grep -E "^Done|stat::number_of_executed_units" "$build/fuzz-$format.log" || true
    fi
done
exit $status
