#!/usr/bin/env bash
# Runs every test: the Release build's unit, db, pg, ui and e2e tests and a smoke run of
# every benchmark (the PostgreSQL tests against a throwaway cluster started here),
# clang-tidy over the sources of the last commits, then the sanitizer build's unit, db and
# ui tests, then each definition fuzzer for a minute (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTOKEIYA_BENCH=ON >/dev/null
cmake --build build -j"$jobs"

pgdir=$(scripts/pg-cluster.sh start)
trap 'scripts/pg-cluster.sh stop "$pgdir"' EXIT
export TOKEIYA_TEST_PG="DRIVER=PostgreSQL ANSI;Servername=$pgdir;Port=5432;Username=postgres;ConnSettings=SET client_encoding TO 'UTF8';"

# What failed is named again at the end: a CI log is often read from its tail.
failed=()
ctest --test-dir build -j"$jobs" --output-on-failure -L 'unit|db|pg|ui|e2e|bench' ||
    failed+=("Release tests: $(tr '\n' ' ' 2>/dev/null <build/Testing/Temporary/LastTestsFailed.log)")
scripts/run-clang-tidy.sh build || failed+=("clang-tidy")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTOKEIYA_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan -j"$jobs" --output-on-failure -L 'unit|db|ui' ||
    failed+=("sanitizer tests: $(tr '\n' ' ' 2>/dev/null <build-asan/Testing/Temporary/LastTestsFailed.log)")

scripts/fuzz.sh 60 || failed+=("fuzzers")

[ ${#failed[@]} -eq 0 ] && { echo "All tests passed."; exit 0; }
printf 'FAILED: %s\n' "${failed[@]}"
exit 1
