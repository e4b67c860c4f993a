#!/usr/bin/env bash
# The program under a real Wayland compositor (weston's headless backend), where a window
# can learn neither its place nor set it: the places stored in Quomble.ini must come back
# unchanged after a run, a place never stored must stay unwritten, and the sizes must still
# be taken. Runs the built QuombleV (ended by SIGTERM, which writes the settings) and the
# test that opens, resizes and closes its windows (app_tests WaylandTest.*). Installs weston
# and qt6-wayland when they are missing (as root or through sudo); skips with a message
# where weston cannot start.
#   QUOMBLE_BUILD_DIR   the build tree with bin/QuombleV and tests/app/app_tests (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/checks.sh
build=${QUOMBLE_BUILD_DIR:-build}
program=$PWD/$build/bin/QuombleV
tests=$PWD/$build/tests/app/app_tests
for f in "$program" "$tests"; do
  [ -x "$f" ] || { echo "test-wayland.sh: no $f; build first" >&2; exit 1; }
done

need_packages weston qt6-wayland

# A private runtime folder (mktemp makes it 0700, as Wayland asks) for the compositor's
# socket and the program's single-instance lock.
work=$(mktemp -d /tmp/quombleview-wayland.XXXXXX)
runtime=$work/runtime
mkdir -m 0700 "$runtime"
compositor=""
cleanup() {
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null && wait "$compositor" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT


echo "== weston, headless"
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --no-config --socket=quombleview \
  --width=1280 --height=800 --idle-time=0 >"$work/weston.log" 2>&1 &
compositor=$!
for n in $(seq 1 50); do
  [ -S "$runtime/quombleview" ] && break
  kill -0 "$compositor" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/quombleview" ]; then
  sed 's/^/      | /' "$work/weston.log" | tail -n 15
  skip "weston could not start here: the Wayland test did not run"
fi
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=quombleview QT_QPA_PLATFORM=wayland

# run <folder>: the program in <folder> until it is up, then a SIGTERM; prints its status.
run() {
  "$1/QuombleV" >"$1/out.txt" 2>&1 &
  local pid=$!
  for n in $(seq 1 100); do  # up once it catches SIGTERM, and its window has had a moment
    grep -q '^SigCgt:' "/proc/$pid/status" 2>/dev/null &&
      (($(printf '%d' "0x$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status")") >> 14 & 1)) && break
    sleep 0.1
  done
  sleep 1.5
  kill -TERM "$pid"
  local status=0
  wait "$pid" || status=$?
  echo "$status"
}
crlf() { printf '%s\r\n' "$@"; }

echo "== places stored, the program run and ended"
mkdir "$work/stored"
cp "$program" tests/data/sample.log "$work/stored/"
mv "$work/stored/sample.log" "$work/stored/Quomble.log"
crlf pos_a_x=200 pos_a_y=150 pos_c_x=300 pos_c_y=200 pos_d_x=250 pos_d_y=120 pos_d_w=700 pos_d_h=3000 \
  >"$work/stored/Quomble.ini"
status=$(run "$work/stored")
sed 's/^/      | /' "$work/stored/out.txt"
check "the program ends with status 0" test "$status" -eq 0
ini=$(tr -d '\r' <"$work/stored/Quomble.ini")
check "the settings were written" grep -q '^tab_d_l=' <<<"$ini"
check "the main window's place stays 200,150" grep -qz 'pos_a_x=200.pos_a_y=150' <<<"$ini"
check "the log data window's place stays 300,200" grep -qz 'pos_c_x=300.pos_c_y=200' <<<"$ini"
check "the diagrams window's place stays 250,120" grep -qz 'pos_d_x=250.pos_d_y=120' <<<"$ini"
height=$(sed -n 's/^pos_d_h=//p' <<<"$ini")
check "the diagrams window's size is taken (height 3000 fitted to the screen: $height)" \
  test "${height:-3000}" -lt 3000 -a "${height:-0}" -ge 100

echo "== no places stored"
mkdir "$work/none"
cp "$program" "$work/none/"
cp tests/data/sample.log "$work/none/Quomble.log"
status=$(run "$work/none")
check "the program ends with status 0" test "$status" -eq 0
ini=$(tr -d '\r' <"$work/none/Quomble.ini" 2>/dev/null || true)
check "the settings were written" grep -q '^tab_d_l=' <<<"$ini"
check "no place is made up for the main and log data windows" \
  bash -c '! grep -q "^pos_[ac]_" <<<"$1"' _ "$ini"

echo "== the windows opened, resized and closed (app_tests WaylandTest.*)"
check "WaylandTest passes under weston" bash -c '"$1" --gtest_filter="WaylandTest.*" >"$2" 2>&1 &&
  grep -q "\[  PASSED  \] 1 test" "$2" && ! grep -q SKIPPED "$2"' _ "$tests" "$work/gtest.txt"
grep -E '^\[ *(OK|FAILED|SKIPPED) *\]|Failure' "$work/gtest.txt" | sed 's/^/      | /' || true

finish
