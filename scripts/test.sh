#!/usr/bin/env bash
# Builds everything and runs every test: a short run of each fuzz target, the full build
# (core, report tool, desktop program, benchmarks) with its tests, the Debian package end to
# end (scripts/test-package.sh), and a second build of
# the standard-library-only code and its tests under AddressSanitizer +
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# Fuzzing: each target for about a minute on the seed corpus (new inputs go to a scratch
# folder, the corpus in the repository stays as it is). A finding fails the run.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUOMBLE_FUZZ=ON -DQUOMBLE_BUILD_UI=OFF -DQUOMBLE_BUILD_BENCH=OFF
cmake --build build-fuzz --target fuzz_intake fuzz_settings
for target in intake settings; do
  mkdir -p "build-fuzz/corpus-$target"
  "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="${QUOMBLE_FUZZ_SECONDS:-60}" \
    -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
    "build-fuzz/corpus-$target" "tests/fuzz/corpus/$target" 2>&1 | tail -n 12
done

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2

# The Debian package, end to end: built from the build tree above, installed, used by a
# new user, removed and purged (needs root; QUOMBLE_SKIP_PACKAGE_TEST=1 leaves it out).
if [ "${QUOMBLE_SKIP_PACKAGE_TEST:-0}" != 1 ]; then
  if [ "$(id -u)" -eq 0 ]; then scripts/test-package.sh; else sudo scripts/test-package.sh; fi
fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUOMBLE_SANITIZE=ON \
      -DQUOMBLE_BUILD_UI=OFF -DQUOMBLE_BUILD_BENCH=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2
