#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the C++ sources changed in the last
# commits (the sources of a landing), or over all of them with --all. Needs a configured
# build folder with compile_commands.json (default: build).
#   scripts/run-clang-tidy.sh [--all] [--commits N] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

all=0
commits=10
build=build
while [ $# -gt 0 ]; do
    case "$1" in
    --all) all=1 ;;
    --commits) commits=${2:?count}; shift ;;
    *) build=$1 ;;
    esac
    shift
done

if [ "$all" = 1 ]; then
    mapfile -t files < <(git ls-files '*.cpp')
else
    # A shallow history has fewer commits: take what there is.
    depth=$(git rev-list --count HEAD)
    [ "$commits" -lt "$depth" ] || commits=$((depth - 1))
    mapfile -t files < <(git diff --name-only --diff-filter=d "HEAD~$commits" -- '*.cpp' 2>/dev/null ||
        git ls-files '*.cpp')
fi
# Only what the build compiles (the fuzz targets need a clang build of their own).
sources=()
for f in "${files[@]}"; do
    case "$f" in fuzz/*) continue ;; esac
    grep -q "\"file\": \"$PWD/$f\"" "$build/compile_commands.json" && sources+=("$PWD/$f")
done
[ ${#sources[@]} -gt 0 ] || { echo "clang-tidy: nothing to check"; exit 0; }
echo "clang-tidy: ${#sources[@]} files"
# Clang has no CP932 execution character set; the checks do not depend on it.
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy-14 -p "$build" --quiet \
    --extra-arg=-fexec-charset=UTF-8 --extra-arg=-Wno-unknown-warning-option 2>/dev/null
