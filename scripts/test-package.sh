#!/usr/bin/env bash
# End-to-end test of the Debian package, as root on a Debian 12 machine (it installs and
# purges quombleview and adds and removes a user quombletest):
#   build the .deb from the build tree (scripts/build-package.sh), check it with lintian
#   (no errors), desktop-file-validate and appstreamcli; install it; log this boot as the
#   boot service does; as an unprivileged user start QuombleV under Xvfb on that log, close
#   it with Escape and find the settings in the user's ~/.config, start it again and find
#   the window where the settings put it; remove and purge the package and check what is left.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/checks.sh

[ "$(id -u)" -eq 0 ] || { echo "test-package.sh: run as root" >&2; exit 1; }
user=quombletest
display=:${QUOMBLE_TEST_DISPLAY:-71}
work=$(mktemp -d /tmp/quombleview-package.XXXXXX)
xvfb=""

# The test user with everything it still runs (a session bus or an accessibility bus the
# desktop program started keeps userdel from removing it).
remove_user() {
  id "$user" >/dev/null 2>&1 || return 0
  pkill -KILL -u "$user" 2>/dev/null || true
  for _ in $(seq 20); do pgrep -u "$user" >/dev/null || break; sleep 0.1; done
  userdel -r "$user" 2>/dev/null || true
}
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  if dpkg-query -W -f='${Status}' quombleview 2>/dev/null | grep -q installed; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq quombleview >/dev/null 2>&1 || true
  fi
  remove_user
  rm -rf "$work"
}
trap cleanup EXIT
# A test user left by a run that was killed before its clean-up.
remove_user


tools=(lintian desktop-file-utils appstream xvfb xdotool file)
need_packages "${tools[@]}"
if dpkg-query -W -f='${Status}' quombleview 2>/dev/null | grep -q installed; then
  echo "test-package.sh: quombleview is installed already; purge it first" >&2
  exit 1
fi

echo "== building the package"
deb=$(scripts/build-package.sh | tail -n 1)
echo "$deb"

echo "== lintian"
lintian --display-info --fail-on error "$deb" 2>&1 | tee "$work/lintian.txt" || fails=$((fails + 1))
check "lintian: no errors" test "$(grep -c '^E:' "$work/lintian.txt")" -eq 0
check "lintian: no warnings" test "$(grep -c '^W:' "$work/lintian.txt")" -eq 0

echo "== contents"
dpkg-deb -x "$deb" "$work/root"
check "desktop-file-validate" desktop-file-validate "$work/root/usr/share/applications/quombleview.desktop"
check "appstreamcli validate" appstreamcli validate --no-net --pedantic \
  "$work/root/usr/share/metainfo/org.example.quombleview.metainfo.xml"
for program in QuombleV quomble-report quomble-log quomble-import; do
  check "$program is stripped" sh -c "! file -L '$work/root/usr/lib/quombleview/$program' | grep -q 'not stripped'"
done

echo "== install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/install.txt" 2>&1 || true
grep -v '^debconf\|^(Reading\|^Selecting\|^Preparing\|^Unpacking' "$work/install.txt" || true
check "the installation says what it did with the history" grep -q '^quombleview: .*Quomble.log' "$work/install.txt"
check "commands in /usr/bin and /usr/sbin" test -x /usr/bin/QuombleV -a -x /usr/bin/quomble-report \
  -a -x /usr/bin/quomble-import -a -x /usr/sbin/quomble-log
check "Quomble.log beside the programs links to /var/lib" \
  test "$(readlink /usr/lib/quombleview/Quomble.log)" = /var/lib/quombleview/Quomble.log
check "boot service enabled" test -L /etc/systemd/system/multi-user.target.wants/quombleview-log.service
check "sleep service not enabled" test ! -e /etc/systemd/system/sleep.target.wants/quombleview-sleep.service
check "man pages" test -f /usr/share/man/man1/QuombleV.1.gz -a -f /usr/share/man/man8/quomble-log.8.gz
check "clock timer enabled" test -L /etc/systemd/system/timers.target.wants/quombleview-clock.timer
for unit in quombleview-log.service quombleview-sleep.service quombleview-clock.service quombleview-clock.timer \
  quombleview-metrics.service quombleview-metrics.timer \
  quombleview-why.service; do
  check "systemd-analyze verify $unit" sh -c "! systemd-analyze verify /lib/systemd/system/$unit 2>&1 | grep ."
done

# The boot service: started by the package where systemd runs, by hand (its ExecStart) here,
# with the boot id that systemd would put in for %b. (scripts/test-container.sh runs them
# under a real systemd.)
bootid=$(tr -d - </proc/sys/kernel/random/boot_id)
unit_command() {  # unit_command <unit> <ExecStart|ExecStop>
  local line
  line=$(sed -n "s/^$2=//p" "/lib/systemd/system/$1")
  echo "${line//%b/$bootid}"
}
if [ -d /run/systemd/system ]; then
  check "boot service active" systemctl is-active -q quombleview-log.service
else
  start=$(unit_command quombleview-log.service ExecStart)
  echo "no systemd running: $start"
  $start
fi
check "the log holds the running boot" grep -qE '^[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9:]{8} '$'\r''$' \
  /var/lib/quombleview/Quomble.log
# The sleep service, switched on by its documented command; a suspend and a resume as its
# start and stop commands run them.
systemctl enable quombleview-sleep.service >/dev/null 2>&1 || true
check "sleep service enabled by its command" test -L /etc/systemd/system/sleep.target.wants/quombleview-sleep.service
if [ ! -d /run/systemd/system ]; then
  $(unit_command quombleview-sleep.service ExecStart) >/dev/null
  sleep 1
  $(unit_command quombleview-sleep.service ExecStop) >/dev/null
  check "a suspend closes the entry and the resume opens a new one" \
    test "$(tail -n 2 /var/lib/quombleview/Quomble.log | tr -d '\r' | awk '{print NF}' | tr '\n' ' ')" = "4 2 "
fi
quomble-report >"$work/report.txt" 2>&1 || true
check "quomble-report reads the log through the link" grep -q . "$work/report.txt"

echo "== QuombleV as an unprivileged user"
useradd -m "$user"
home=$(getent passwd "$user" | cut -d: -f6)
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 2
as_user() { runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$display" "$@"; }

# Starts QuombleV, waits for its main window, presses Escape and waits for the program to end.
run_and_close() {
  as_user QuombleV >"$work/quomblev.txt" 2>&1 &
  local pid=$! window="" i
  for i in $(seq 60); do
    window=$(as_user xdotool search --onlyvisible --name '^QuombleView [0-9]' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || { echo "no main window"; kill "$pid"; return 1; }
  sleep 1
  as_user xdotool windowactivate --sync "$window" key Escape 2>/dev/null ||
    as_user xdotool windowfocus "$window" key Escape
  for i in $(seq 40); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return; }
    sleep 0.5
  done
  echo "QuombleV did not end (an error box?)"
  as_user xdotool search --name . getwindowname %@ 2>/dev/null || true
  kill "$pid"
  return 1
}

ini=$home/.config/quombleview/Quomble.ini
check "QuombleV starts and closes" run_and_close
check "settings written to ~/.config/quombleview/Quomble.ini" test -f "$ini"
check "settings file is the user's" test "$(stat -c %U "$ini" 2>/dev/null)" = "$user"
check "no settings beside the program" test ! -e /usr/lib/quombleview/Quomble.ini
check "settings begin with the section line" grep -q '^\[QuombleView 3\.9\]' "$ini"
# A place of the main window survives the next run: read from the user's file, written back.
sed -i 's/^pos_a_x=.*/pos_a_x=123\r/; s/^pos_a_y=.*/pos_a_y=77\r/' "$ini"
check "QuombleV starts and closes again" run_and_close
check "the window place is kept across runs" grep -q $'^pos_a_x=123\r$' "$ini"

echo "== remove"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq quombleview >/dev/null 2>&1
check "programs gone" test ! -e /usr/lib/quombleview -a ! -e /usr/bin/QuombleV
check "the log stays after remove" test -s /var/lib/quombleview/Quomble.log
check "boot service masked after remove" test "$(readlink /etc/systemd/system/quombleview-log.service)" = /dev/null

echo "== purge"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq quombleview >/dev/null 2>&1
check "the log and its folder gone after purge" test ! -e /var/lib/quombleview
left=$(find /etc/systemd /usr /var/lib -name '*quomble*' 2>/dev/null | grep -v '^/var/lib/dpkg' || true)
check "nothing of the package left${left:+: $left}" test -z "$left"
check "the user's own settings stay" test -f "$ini"

finish
