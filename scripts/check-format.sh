#!/usr/bin/env bash
# Fails when a C++ source of the project is not formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.hpp' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.hpp' \) -print)
# shellcheck disable=SC2086
clang-format --dry-run -Werror $files
echo "1 passed, 0 failed"
