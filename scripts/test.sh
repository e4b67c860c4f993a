#!/usr/bin/env bash
# Builds everything and runs every test: the format check, a short run of each fuzz target,
# the full build (core, report tool, desktop program, benchmarks) with warnings as errors and
# its tests, the accessible names of the windows over AT-SPI (scripts/test-atspi.sh), the
# clang-tidy checks (scripts/check-tidy.sh), the Prometheus export against
# promtool and a real node exporter (scripts/test-metrics.sh), the window places under a
# Wayland compositor (scripts/test-wayland.sh), the Debian package end to end
# (scripts/test-package.sh), the boot log under a real systemd in a container
# (scripts/test-container.sh), and a second build of the standard-library-only code and its
# tests under AddressSanitizer +
# UndefinedBehaviorSanitizer. The builds are the presets of CMakePresets.json: fuzz, ci and
# asan.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh

# Fuzzing: each target for about a minute on the seed corpus (new inputs go to a scratch
# folder, the corpus in the repository stays as it is). A finding fails the run.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_intake fuzz_settings fuzz_import fuzz_evidence
for target in intake settings import evidence; do
  mkdir -p "build-fuzz/corpus-$target"
  "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="${QUOMBLE_FUZZ_SECONDS:-60}" \
    -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
    "build-fuzz/corpus-$target" "tests/fuzz/corpus/$target" 2>&1 | tail -n 12
done

cmake --workflow --preset ci
# The windows through a screen reader's eyes: every control and chart has a name in the
# AT-SPI tree (scripts/test-atspi.sh).
QUOMBLE_BUILD_DIR=build-ci scripts/test-atspi.sh
# The checks of .clang-tidy over the sources, with the ci build's compile commands.
scripts/check-tidy.sh build-ci

# The Debian package, end to end: built from the ci build tree, installed, used by a new
# user, removed and purged (needs root; QUOMBLE_SKIP_PACKAGE_TEST=1 leaves it out).
if [ "${QUOMBLE_SKIP_PACKAGE_TEST:-0}" != 1 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    QUOMBLE_BUILD_DIR=build-ci scripts/test-package.sh
  else
    sudo QUOMBLE_BUILD_DIR=build-ci scripts/test-package.sh
  fi
fi

# The stored window places under a real Wayland compositor, weston's headless backend
# (scripts/test-wayland.sh; skips with a message where weston cannot start).
QUOMBLE_BUILD_DIR=build-ci scripts/test-wayland.sh

# The figures for a fleet, read by Prometheus's own promtool and a real node exporter on a
# loopback port (scripts/test-metrics.sh).
QUOMBLE_BUILD_DIR=build-ci scripts/test-metrics.sh

# The boot log under a real systemd: the package in a container booted again and again
# (scripts/test-container.sh; needs root; QUOMBLE_SKIP_CONTAINER_TEST=1 leaves it out).
if [ "${QUOMBLE_SKIP_CONTAINER_TEST:-0}" != 1 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    QUOMBLE_BUILD_DIR=build-ci scripts/test-container.sh
  else
    sudo QUOMBLE_BUILD_DIR=build-ci scripts/test-container.sh
  fi
fi

cmake --workflow --preset asan
