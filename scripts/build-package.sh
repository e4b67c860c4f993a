#!/usr/bin/env bash
# Builds the Debian package quombleview_<version>_<arch>.deb from the build tree `build`
# (configured when it is missing; only the four programs are built) and prints its path.
#   QUOMBLE_BUILD_DIR   another build tree
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUOMBLE_BUILD_DIR:-build}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
fi
cmake --build "$build" --target QuombleV quomble-report quomble-log quomble-import >&2
rm -f "$build"/quombleview_*.deb
(cd "$build" && cpack -G DEB) >&2
ls "$PWD/$build"/quombleview_*.deb
