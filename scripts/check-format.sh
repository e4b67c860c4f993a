#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format makes of it.
# With --fix, rewrites the files instead.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run -Werror "${files[@]}"; then
  echo "Formatting differs from .clang-format; scripts/check-format.sh --fix mends it." >&2
  exit 1
fi
echo "format: ${#files[@]} files as .clang-format wants them"
