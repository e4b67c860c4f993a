#!/usr/bin/env bash
# The boot log on a real machine: boots a real systemd as PID 1 in a systemd-nspawn
# container (its own time namespace, so the kernel's boot time inside is the container's),
# installs the built package and checks the log after every step of a machine's life:
# installs with and without a wtmp history, clean power-off, reboot, power loss, quick
# reboots and crashes, a crash loop, suspend and resume, the clock that is not set at boot,
# upgrade, remove, reinstall and purge. As root; needs systemd-container and debootstrap
# (installed here when missing).
#
#   scripts/test-container.sh [PACKAGE.deb]
#     QUOMBLE_BUILD_DIR        the build tree the package is built from (default build)
#     QUOMBLE_CONTAINER_CACHE  where the root file system is kept between runs
#                              (default /var/cache/quombleview-test)
#
# The root file system is made once with debootstrap from the Debian archive that apt uses
# here, and reused while its package list stays the same; each run works on an overlay of it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/checks.sh
die() {
  echo "test-container.sh: $*" >&2
  exit 1
}

[ "$(id -u)" -eq 0 ] || skip "containers need root (run it as root or through sudo)"
[ "$(uname -s)" = Linux ] || skip "not a Linux kernel"

need_packages systemd-container debootstrap
unshare --time --fork true 2>/dev/null ||
  skip "this kernel gives no time namespaces (unshare --time), so a container cannot have a boot time of its own"
grep -qw overlay /proc/filesystems || modprobe overlay 2>/dev/null || true
grep -qw overlay /proc/filesystems || skip "this kernel has no overlay file system"

deb=${1:-}
if [ -z "$deb" ]; then
  deb=$(scripts/build-package.sh | tail -n 1)
fi
[ -f "$deb" ] || die "no package: $deb"

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || die "cannot tell the Debian release from /etc/os-release"

# The archive apt uses for this release: the first "deb" source of its main suite, from
# one-line .list files or deb822 .sources files.
archive_uri() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v s="$codename" '$1 == "deb" { i = 2; if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
      if ($(i + 1) == s) { print $i; exit } }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v s="$codename" 'function flush() { if (deb && suite && uri != "") { print uri; exit } deb = suite = 0; uri = "" }
      /^[ \t]*$/ { flush(); next }
      tolower($1) == "types:" { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
      tolower($1) == "uris:" { uri = $2 }
      tolower($1) == "suites:" { for (i = 2; i <= NF; i++) if ($i == s) suite = 1 }
      END { flush() }' "$f"
  done
}
mirror=$(archive_uri | head -n 1)
[ -n "$mirror" ] || die "apt has no source for $codename"

cache=${QUOMBLE_CONTAINER_CACHE:-/var/cache/quombleview-test}
base_packages=systemd,systemd-sysv,dbus,systemd-timesyncd,man-db
root=$cache/root-$codename
depends=$(dpkg-deb -f "$deb" Depends)
base_stamp="$codename $base_packages"
deps_stamp="$depends"

if [ ! -f "$root/.base-stamp" ] || [ "$(cat "$root/.base-stamp")" != "$base_stamp" ]; then
  echo "== making the root file system ($codename from $mirror, once)"
  rm -rf "$root" "$root.new"
  mkdir -p "$cache"
  debootstrap --variant=minbase --include="$base_packages" "$codename" "$root.new" "$mirror" \
    >"$cache/debootstrap.log" 2>&1 || die "debootstrap failed; see $cache/debootstrap.log"
  echo quombletest >"$root.new/etc/hostname"
  echo "$base_stamp" >"$root.new/.base-stamp"
  mv "$root.new" "$root"
fi
if [ ! -f "$root/.deps-stamp" ] || [ "$(cat "$root/.deps-stamp")" != "$deps_stamp" ]; then
  echo "== installing the package's dependencies into the root file system"
  systemd-nspawn -q -D "$root" --register=no --keep-unit --pipe -E DEBIAN_FRONTEND=noninteractive \
    sh -c "apt-get update -qq && apt-get satisfy -y -qq --no-install-recommends '$depends'" \
    >"$cache/dependencies.log" 2>&1 || die "the dependencies could not be installed; see $cache/dependencies.log"
  echo "$deps_stamp" >"$root/.deps-stamp"
fi

work=$(mktemp -d /tmp/quombleview-container.XXXXXX)
runner=""  # the unshare process that holds the running container
leader=""  # the container's PID 1, as the host sees it
boots=0
mounts=()

stop_container() {
  if [ -n "$runner" ] && kill -0 "$runner" 2>/dev/null; then
    [ -n "$leader" ] && kill -9 "$leader" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
  fi
  runner=""
  leader=""
}
cleanup() {
  stop_container
  local m
  for m in "${mounts[@]}"; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT


# A fresh machine: an overlay over the cached root file system.
new_machine() {  # new_machine <name>; sets machine
  machine=$work/$1
  mkdir -p "$machine.upper" "$machine.work" "$machine"
  mount -t overlay overlay -o "lowerdir=$root,upperdir=$machine.upper,workdir=$machine.work" "$machine"
  mounts+=("$machine")
  log=$machine/var/lib/quombleview/Quomble.log
}

in_machine() {
  nsenter -t "$leader" -m -u -i -n -p -C -T -- \
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM=dumb "$@"
}

boot() {  # starts the machine and waits until its boot is done
  local up mono n
  # The log counts whole seconds: a boot in the same second as the end of the one before
  # could not be told from it (a container boots in well under a second).
  sleep 1
  up=$(awk '{ print int($1) }' /proc/uptime)
  mono=$(awk '/^now at/ { print int($3 / 1000000000); exit }' /proc/timer_list)
  boots=$((boots + 1))
  unshare --time --fork --boottime="-$up" --monotonic="-$mono" \
    systemd-nspawn -q -D "$machine" -b --register=no --keep-unit --private-network -M quombletest \
    >"$work/console-$boots.log" 2>&1 </dev/null &
  runner=$!
  leader=""
  for n in $(seq 1 300); do
    local nspawn
    nspawn=$(pgrep -P "$runner" -x systemd-nspawn || true)
    [ -n "$nspawn" ] && leader=$(pgrep -P "$nspawn" -x systemd || true)
    [ -n "$leader" ] && break
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$leader" ] || { cat "$work/console-$boots.log" >&2; die "the container did not start"; }
  # PID 1 answers once its private socket is there; then the boot is waited for.
  local state=""
  for n in $(seq 1 600); do
    state=$(timeout 30 nsenter -t "$leader" -m -u -i -n -p -C -T -- systemctl is-system-running --wait 2>/dev/null || true)
    case $state in running | degraded) break ;; esac
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
  done
  case $state in
    running | degraded) ;;
    *) cat "$work/console-$boots.log" >&2; die "the container's boot did not finish ($state)" ;;
  esac
}

ended() {  # waits for the container to end (a minute at most, then it is killed)
  local status=0 n
  for n in $(seq 1 600); do
    kill -0 "$runner" 2>/dev/null || break
    [ "$n" -lt 600 ] || { echo "      the container did not end; killed" >&2; kill -9 "$leader" 2>/dev/null || true; }
    sleep 0.1
  done
  wait "$runner" || status=$?
  runner=""
  leader=""
  return $status
}
poweroff() { in_machine systemctl poweroff >/dev/null 2>&1 || true; ended || true; }
reboot() { in_machine systemctl reboot >/dev/null 2>&1 || true; ended || true; }
power_loss() { kill -9 "$leader"; ended || true; }
uptime_at_least() {  # waits until the container has run $1 seconds since its boot
  while [ "$(in_machine cat /proc/uptime | awk '{ print int($1) }')" -lt "$1" ]; do sleep 0.5; done
}

# The log's shape: one letter per line, C for a closed entry (39 characters), O for an open one.
shape() {
  [ -f "$log" ] || { echo none; return; }
  tr -d '\r' <"$log" | awk '{ printf "%s", (length($0) == 39 ? "C" : (length($0) == 20 ? "O" : "?")) } END { print "" }'
}
log_is() {  # log_is <expected shape>
  local got
  got=$(shape)
  [ "$got" = "$1" ] || { echo "      the log is $got, expected $1:"; sed 's/^/      | /' "$log"; return 1; }
}
# Every line before the last `changed` lines is the same as in the copy taken before.
kept() {  # kept <copy> <lines that may change at the end of the copy>
  local keep
  keep=$(($(wc -l <"$1") - $2))
  [ "$keep" -le 0 ] || cmp -s <(head -n "$keep" "$1") <(head -n "$keep" "$log")
}
remember() { cp "$log" "$work/before"; }
not_on_chain() { ! grep -q "$1" "$2"; }
service_active() { [ "$(in_machine systemctl is-active "$1" 2>/dev/null)" = active ]; }

# A package one version newer, for the upgrade.
mkdir -p "$work/newer"
dpkg-deb -R "$deb" "$work/newer/tree"
version=$(dpkg-deb -f "$deb" Version)
sed -i "s/^Version: .*/Version: $version+1/" "$work/newer/tree/DEBIAN/control"
dpkg-deb -b --root-owner-group "$work/newer/tree" "$work/newer/quombleview.deb" >/dev/null

echo "== first install with a wtmp history (four boots before the package, one of them lost its power)"
new_machine history
mkdir -p "$machine/var/log/journal"  # the journal kept on disk, so the history's crash can be told
boot
power_loss
boot
reboot
boot
poweroff
boot
cp "$deb" "$machine/root/quombleview.deb"
in_machine dpkg -i /root/quombleview.deb >"$work/install-history.txt" 2>&1 || true
check "the package installs" in_machine dpkg-query -W -f='${Status}' quombleview
check "the history was imported: a crash, two shut-down boots and the running one, logged once" log_is OCCO
first=$(head -n 1 "$log" | cut -c 1-19)
check "the history's crash is told from its journal: power loss or freeze" \
  grep -qx "cause=power-loss-or-freeze" <(awk -v s="[$first]" '$0 == s { on = 1; next } /^\[/ { on = 0 } on' \
    "$machine/var/lib/quombleview/Quomble.log.ends")
check "the boot service is running" service_active quombleview-log.service
check "the clock timer is running" service_active quombleview-clock.timer
poweroff
boot
check "the next boot follows the imported history" log_is OCCCO
poweroff

echo "== first install without a wtmp history"
new_machine fresh
boot
in_machine sh -c ': >/var/log/wtmp; rm -f /var/log/wtmp.1'
# The folder of the node exporter's textfile collector, as prometheus-node-exporter makes it.
mkdir -p "$machine/var/lib/prometheus/node-exporter"
prom=$machine/var/lib/prometheus/node-exporter/quombleview.prom
cp "$deb" "$machine/root/quombleview.deb"
cp "$work/newer/quombleview.deb" "$machine/root/quombleview-newer.deb"
in_machine dpkg -i /root/quombleview.deb >"$work/install-fresh.txt" 2>&1 || true
check "the log starts with the running boot" log_is O
check "the boot service is running" service_active quombleview-log.service
check "the install wrote the figures for the node exporter" grep -qx "quombleview_boots_total 1" "$prom"
check "the metrics timer is running" service_active quombleview-metrics.timer
check "the boot mark names this boot" \
  grep -qx "boot_id=$(in_machine cat /proc/sys/kernel/random/boot_id | tr -d -)" "$machine/var/lib/quombleview/Quomble.log.boot"

echo "== the units"
in_machine systemd-analyze verify /lib/systemd/system/quombleview-log.service \
  /lib/systemd/system/quombleview-sleep.service /lib/systemd/system/quombleview-clock.service \
  /lib/systemd/system/quombleview-clock.timer /lib/systemd/system/quombleview-why.service \
  /lib/systemd/system/quombleview-metrics.service /lib/systemd/system/quombleview-metrics.timer >"$work/verify.txt" 2>&1 && verified=0 || verified=$?
sed 's/^/      | /' "$work/verify.txt"
check "systemd-analyze verify finds nothing" test "$verified" -eq 0 -a ! -s "$work/verify.txt"
for unit in quombleview-log.service quombleview-clock.service quombleview-sleep.service quombleview-why.service \
  quombleview-metrics.service; do
  exposure=$(in_machine systemd-analyze security "$unit" 2>/dev/null |
    sed -n 's/.*Overall exposure level for [^:]*: \([0-9.]*\).*/\1/p')
  echo "      $unit: exposure $exposure"
  check "$unit is 0.7 SAFE or better" awk -v e="${exposure:-99}" 'BEGIN { exit !(e <= 0.7) }'
done

echo "== clean power-off and boot"
remember
poweroff
check "the shutdown closed the entry" kept "$work/before" 1
boot
check "a new open entry follows the closed one" log_is CO

echo "== systemctl reboot"
remember
reboot
boot
check "the reboot closed the entry and the new boot opened one" log_is CCO
check "no earlier line changed" kept "$work/before" 1

echo "== power loss (the container's PID 1 killed)"
remember
power_loss
boot
check "the lost boot stays open as a crash, the new boot follows" log_is CCOO
check "no earlier line changed" kept "$work/before" 0

echo "== reboot 10 s after the boot, 10 s off"
uptime_at_least 10
remember
reboot
sleep 10
boot
check "the quick reboot keeps its shutdown and the new boot has its own entry" log_is CCOCO
check "no earlier line changed" kept "$work/before" 1

echo "== power loss 10 s after the boot, 10 s off"
uptime_at_least 10
power_loss
sleep 10
boot
check "the quick crash stays a crash and the new boot has its own entry" log_is CCOCOO

echo "== five crashes in a row, a few seconds apart"
remember
for n in 1 2 3 4 5; do
  sleep 2
  power_loss
  boot
done
check "five crash lines and the running boot" log_is CCOCOOOOOOO
check "no earlier line changed" kept "$work/before" 0

echo "== suspend and resume through the sleep service"
in_machine systemctl enable quombleview-sleep.service >/dev/null 2>&1
# A container cannot sleep: the suspend itself is stood in for by a second's pause, so the
# whole chain of suspend.target and sleep.target runs (the drop-in lives in the machine's /run).
in_machine sh -c 'mkdir -p /run/systemd/system/systemd-suspend.service.d &&
  printf "[Service]\nExecStart=\nExecStart=/bin/sleep 1\n" >/run/systemd/system/systemd-suspend.service.d/stand-in.conf'
in_machine systemctl daemon-reload
remember
in_machine systemctl start suspend.target >/dev/null 2>&1 || true
for n in $(seq 1 60); do
  [ "$(shape)" = CCOCOOOOOOCO ] && break
  sleep 0.5
done
check "the suspend wrote the logout and the resume a new login" log_is CCOCOOOOOOCO
check "no earlier line changed" kept "$work/before" 1
in_machine systemctl disable quombleview-sleep.service >/dev/null 2>&1
in_machine rm -rf /run/systemd/system/systemd-suspend.service.d

echo "== a boot whose clock is not synchronised (a network time service that never syncs)"
mkdir -p "$machine/etc/systemd/ntp-units.d"
printf '[Unit]\nDescription=A time service that never synchronises\n[Service]\nExecStart=/bin/sleep infinity\n[Install]\nWantedBy=multi-user.target\n' \
  >"$machine/etc/systemd/system/never-sync.service"
echo never-sync.service >"$machine/etc/systemd/ntp-units.d/90-never-sync.list"
in_machine systemctl enable never-sync.service >/dev/null 2>&1
remember
reboot
boot
ntp=$(in_machine timedatectl show -p NTP --value 2>/dev/null || true)
synced=$(in_machine timedatectl show -p NTPSynchronized --value 2>/dev/null || true)
echo "      NTP=$ntp NTPSynchronized=$synced"
in_machine systemd-analyze critical-chain multi-user.target --no-pager >"$work/chain.txt" 2>&1 || true
sed 's/^/      | /' "$work/chain.txt"
in_machine systemd-analyze time --no-pager 2>/dev/null | sed 's/^/      | /' || true
start_us=$(in_machine systemctl show -P InactiveExitTimestampMonotonic quombleview-log.service)
done_us=$(in_machine systemctl show -P ActiveEnterTimestampMonotonic quombleview-log.service)
took_ms=$(((done_us - start_us) / 1000))
echo "      quombleview-log.service took $took_ms ms from its start to active"
check "the clock is not synchronised in this boot" test "$ntp/$synced" = yes/no
check "the boot service does not wait for the clock (under 500 ms)" test "$took_ms" -lt 500
check "the boot service is on the critical chain for under 50 ms, if at all" \
  awk '/quombleview-log.service/ { if (match($0, /\+[0-9.]+m?s/)) { t = substr($0, RSTART + 1, RLENGTH - 1);
    ms = (t ~ /ms$/) ? t + 0 : t * 1000; if (ms >= 50) bad = 1 } } END { exit bad }' "$work/chain.txt"
check "the login was written at once" log_is CCOCOOOOOOCCO
in_machine systemctl disable never-sync.service >/dev/null 2>&1
rm -f "$machine/etc/systemd/ntp-units.d/90-never-sync.list"

echo "== upgrade"
remember
since=$(in_machine systemctl show -P ActiveEnterTimestampMonotonic quombleview-log.service)
in_machine dpkg -i /root/quombleview-newer.deb >"$work/upgrade.txt" 2>&1 || true
check "the newer version is installed" test "$(in_machine dpkg-query -W -f='${Version}' quombleview)" = "$version+1"
check "the log is unchanged" cmp -s "$work/before" "$log"
check "the boot service was not restarted" \
  test "$(in_machine systemctl show -P ActiveEnterTimestampMonotonic quombleview-log.service)" = "$since"

echo "== remove"
in_machine dpkg -r quombleview >"$work/remove.txt" 2>&1 || true
check "the removal logged the shutdown of this boot" log_is CCOCOOOOOOCCC
check "the boot service is stopped" test "$(in_machine systemctl is-active quombleview-log.service)" != active

echo "== remove, then install again"
in_machine dpkg -i /root/quombleview-newer.deb >"$work/reinstall.txt" 2>&1 || true
check "the boot service runs again" service_active quombleview-log.service
check "the clock timer runs again" service_active quombleview-clock.timer
check "this boot's entry is open again, no line added" log_is CCOCOOOOOOCCO

echo "== why boots ended (the journal kept on disk)"
in_machine sh -c 'mkdir -p /var/log/journal && systemd-tmpfiles --create --prefix /var/log/journal && journalctl --flush' \
  >/dev/null 2>&1 || true
ends=$machine/var/lib/quombleview/Quomble.log.ends
# The cause recorded for the entry before the running boot's.
cause_before_last() {
  local login
  login=$(tail -n 2 "$log" | head -n 1 | cut -c 1-19)
  awk -v s="[$login]" '$0 == s { on = 1; next } /^\[/ { on = 0 } on && /^cause=/ { print substr($0, 7) }' "$ends"
}
ended_as() {  # ended_as <cause>
  local got
  got=$(cause_before_last)
  [ "$(tail -n 2 "$log" | head -n 1 | tr -d '\r' | wc -c)" -eq 21 ] || { echo "      the entry before the last is closed"; return 1; }
  [ "$got" = "$1" ] || { echo "      recorded: ${got:-nothing}, expected $1:"; sed 's/^/      | /' "$ends"; return 1; }
}
check "the running boot is recorded with its boot id and kernel" \
  grep -qx "kernel=$(in_machine uname -r)" "$ends"
power_loss
boot
check "a power loss with the journal on disk: power loss or freeze" ended_as power-loss-or-freeze
check "after the crash the node exporter's file counts it by its cause" \
  grep -qx "quombleview_unclean_ends_total{cause=\"power-loss-or-freeze\"} $(grep -c '^cause=power-loss-or-freeze$' "$ends")" "$prom"
power_loss
stamp=$(date +%s)
mkdir -p "$machine/var/lib/systemd/pstore/$stamp"
printf 'Panic#1 Part1\n<0>[  421.120091] Kernel panic - not syncing: sysrq triggered crash\n<4>[  421.120150] CPU: 1 PID: 2217 Comm: bash Not tainted 6.1.0-28-amd64 #1  Debian 6.1.119-1\n' \
  >"$machine/var/lib/systemd/pstore/$stamp/dmesg-efi-${stamp}00001"
boot
check "a crash with a pstore record: kernel panic" ended_as kernel-panic
in_machine systemctl reboot --force >/dev/null 2>&1 || true
ended || true
boot
# PID 1's "Shutting down." reaches the journal on disk only when journald writes it before it
# is killed: the journal then tells a forced reboot; otherwise it just stops, as at a power loss.
forced=$(cause_before_last)
echo "      systemctl reboot --force was recorded as: ${forced:-nothing}"
check "systemctl reboot --force: forced reboot, or the journal just stops" \
  test "$forced" = forced-reboot -o "$forced" = power-loss-or-freeze
in_machine sh -c 'mkdir -p /run/systemd/system/quombleview-log.service.d &&
  printf "[Service]\nExecStop=\n" >/run/systemd/system/quombleview-log.service.d/lost.conf && systemctl daemon-reload'
poweroff
boot
check "a clean shutdown whose logout was lost: missed logout" ended_as missed-logout
start_us=$(in_machine systemctl show -P InactiveExitTimestampMonotonic quombleview-why.service)
done_us=$(in_machine systemctl show -P InactiveEnterTimestampMonotonic quombleview-why.service)
echo "      quombleview-why.service ran $(((done_us - start_us) / 1000)) ms"
in_machine systemd-analyze critical-chain multi-user.target --no-pager >"$work/chain-why.txt" 2>&1 || true
check "quombleview-why.service is not on the critical chain" not_on_chain quombleview-why.service "$work/chain-why.txt"
cp "$ends" "$work/ends.txt"

echo "== purge"
in_machine dpkg -P quombleview >"$work/purge.txt" 2>&1 || true
check "the log and its folder are gone" test ! -e "$machine/var/lib/quombleview"
check "the programs are gone" test ! -e "$machine/usr/lib/quombleview"
check "no unit link is left" test -z "$(find "$machine/etc/systemd" -name 'quombleview*' 2>/dev/null)"
check "the node exporter's file is gone" test ! -e "$prom"
poweroff

echo "$boots boots"
if [ "$fails" -gt 0 ]; then
  echo "test-container.sh: $fails checks failed"
  for f in "$work"/*.txt; do
    echo "--- $(basename "$f")"
    cat "$f"
  done
  exit 1
fi
echo "test-container.sh: all checks passed"
