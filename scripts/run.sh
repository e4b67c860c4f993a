#!/usr/bin/env bash
# Installs what is missing, builds QuombleView and starts it. The program reads
# Quomble.log beside its executable; when there is none yet, a demo log is written there.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev

if [ ! -e build/bin/Quomble.log ]; then
  echo "No build/bin/Quomble.log yet: writing a demo log of two years."
  build/bench/quomble-genlog --boots 3000 --years 2 build/bin/Quomble.log
fi

if [ -x build/bin/QuombleV ]; then
  exec build/bin/QuombleV
fi
exec build/bin/quomble-report
