#!/usr/bin/env bash
# The windows as a screen reader sees them: the desktop program runs under its own X server
# (Xvfb), session bus and AT-SPI bus, beside a test log in a temporary folder, and
# scripts/atspi-names.py walks the accessible tree of the main, log data, diagrams, About and
# crashes windows
# and fails on any control, cell or chart without a name. Installs at-spi2-core,
# python3-pyatspi, dbus, dbus-x11, xvfb and xdotool when they are missing (as root or through
# sudo). Skips, saying so, where the AT-SPI bus cannot start.
#   QUOMBLE_BUILD_DIR   the build tree with bin/QuombleV (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/checks.sh
build=${QUOMBLE_BUILD_DIR:-build}
program=$PWD/$build/bin/QuombleV
[ -x "$program" ] || { echo "test-atspi.sh: no $program; build first" >&2; exit 1; }

need_packages at-spi2-core python3-pyatspi dbus dbus-x11 xvfb xdotool

launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || skip "no AT-SPI bus launcher ($launcher)"

# A display nobody uses.
display=""
for n in $(seq 120 199); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    display=$n
    break
  fi
done
[ -n "$display" ] || { echo "test-atspi.sh: no free X display" >&2; exit 1; }

work=$(mktemp -d /tmp/quombleview-atspi.XXXXXX)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -m 700 "$work/run" "$work/app"
cp "$program" "$work/app/QuombleV"
cp tests/data/sample.log "$work/app/Quomble.log"
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done

# The session bus, and in it the AT-SPI bus; as root the accessibility bus needs a home and
# a runtime folder of its own like any user's session.
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work/run" HOME="$work" NO_AT_BRIDGE=0
status=0
dbus-run-session -- bash -c '
  set -u
  '"$launcher"' --launch-immediately >"'"$work"'/atspi.log" 2>&1 &
  launcher=$!
  for _ in $(seq 50); do
    /usr/bin/python3 -c "import pyatspi; pyatspi.Registry.getDesktop(0)" 2>/dev/null && break
    sleep 0.1
  done
  if ! /usr/bin/python3 -c "import pyatspi; pyatspi.Registry.getDesktop(0).childCount" 2>/dev/null; then
    sed "s/^/  /" "'"$work"'/atspi.log"
    kill $launcher 2>/dev/null
    exit 77
  fi
  timeout 60 /usr/bin/python3 scripts/atspi-names.py "'"$work"'/app/QuombleV"
  status=$?
  kill $launcher 2>/dev/null
  exit $status
' || status=$?
[ "$status" -ne 77 ] || skip "the AT-SPI bus did not start (its log is above)"
check "every control, cell and chart has a name" test "$status" -eq 0
finish
