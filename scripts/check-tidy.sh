#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the program's sources, in parallel,
# with the compile commands of a build tree (default build-ci; it must have been built, so
# that the generated files exist). Any finding fails the run. GCC-only warning options of
# the compile commands (-Wno-restrict) are no finding.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-ci}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-tidy: no $build/compile_commands.json; configure and build $build first" >&2
  exit 1
fi
mapfile -t files < <(git ls-files 'src/*.cpp')
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option 2>/dev/null
echo "tidy: ${#files[@]} files pass .clang-tidy"
