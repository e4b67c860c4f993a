#!/usr/bin/env bash
# The figures for a fleet, checked by Prometheus's own tools: `promtool check metrics`
# reads what `quomble-report --prometheus` prints, and a real prometheus-node-exporter,
# started on a loopback port with its textfile collector pointed at the file that
# `--textfile` writes, serves it on /metrics with the values of `quomble-report --json`.
# Installs prometheus (for promtool), prometheus-node-exporter and curl when they are
# missing (as root or through sudo).
#   QUOMBLE_BUILD_DIR   the build tree with bin/quomble-report (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/checks.sh
build=${QUOMBLE_BUILD_DIR:-build}
report=$PWD/$build/bin/quomble-report
[ -x "$report" ] || { echo "test-metrics.sh: no $report; build first" >&2; exit 1; }

need_packages prometheus prometheus-node-exporter curl

work=$(mktemp -d /tmp/quombleview-metrics.XXXXXX)
exporter=""
cleanup() {
  [ -n "$exporter" ] && kill "$exporter" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT


# A log with two crashes, one of them told by the ends file beside it.
now="07.12.2026 12:00:00"
cp tests/data/sample.log "$work/Quomble.log"
first_crash=$(tr -d '\r' <"$work/Quomble.log" | awk 'length($0) == 20 { print substr($0, 1, 19); exit }')
printf 'QuombleView boot ends 1\n[%s]\ncause=kernel-panic\nconfidence=high\nevidence=pstore: x\n' "$first_crash" \
  >"$work/Quomble.log.ends"

echo "== promtool check metrics"
"$report" --prometheus --now "$now" "$work/Quomble.log" >"$work/metrics.txt"
promtool check metrics <"$work/metrics.txt" >"$work/promtool.txt" 2>&1 && linted=0 || linted=$?
sed 's/^/      | /' "$work/promtool.txt"
check "promtool accepts the exposition without a remark" test "$linted" -eq 0 -a ! -s "$work/promtool.txt"

echo "== a real prometheus-node-exporter serves the file"
mkdir -p "$work/textfile"
check "--textfile writes the file" "$report" --prometheus --textfile "$work/textfile/quombleview.prom" --now "$now" \
  "$work/Quomble.log"
check "no temporary file stays" test ! -e "$work/textfile/quombleview.prom.tmp"
for attempt in 1 2 3 4 5; do
  port=$((20000 + RANDOM % 20000))
  prometheus-node-exporter --web.listen-address="127.0.0.1:$port" --collector.disable-defaults \
    --collector.textfile --collector.textfile.directory="$work/textfile" >"$work/exporter.log" 2>&1 &
  exporter=$!
  for n in $(seq 1 50); do
    curl -sf "http://127.0.0.1:$port/metrics" >"$work/served.txt" 2>/dev/null && break
    kill -0 "$exporter" 2>/dev/null || break
    sleep 0.2
  done
  [ -s "$work/served.txt" ] && break
  kill "$exporter" 2>/dev/null || true
  exporter=""
done
check "the node exporter answers on a loopback port" test -s "$work/served.txt"
value() { awk -v n="$1" '$1 == n { print $2 }' "$work/served.txt"; }
json=$("$report" --json --now "$now" "$work/Quomble.log")
field() { grep -o "\"$1\":[0-9]*" <<<"$json" | head -n 1 | cut -d: -f2; }
stat_sum_on=$(grep -o '"StatSum":{[^}]*}' <<<"$json" | grep -o '"OnTime":[0-9]*' | cut -d: -f2)
unclean=$(awk '$1 ~ /^quombleview_unclean_ends_total\{/ { s += $2 } END { print s + 0 }' "$work/served.txt")
echo "      served: boots $(value quombleview_boots_total), clean $(value quombleview_clean_shutdowns_total)," \
  "unclean $unclean, on-time $(value quombleview_on_time_seconds_total) s"
check "the textfile was read without error" test "$(value node_textfile_scrape_error)" = 0
check "boots as the report counts them" test "$(value quombleview_boots_total)" = "$(field BootCount)"
check "clean shutdowns as the report counts them" test "$(value quombleview_clean_shutdowns_total)" = "$(field LogoutCount)"
check "unclean ends as the report counts its crashes" test "$unclean" = "$(field CrashCount)"
check "the crash with a recorded cause is labelled by it" \
  test "$(value 'quombleview_unclean_ends_total{cause="kernel-panic"}')" = 1
check "on-time as the report sums it" test "$(value quombleview_on_time_seconds_total)" = "$stat_sum_on"

echo "== without the node exporter's folder"
"$report" --prometheus --textfile "$work/missing/quombleview.prom" "$work/Quomble.log" 2>/dev/null && status=0 || status=$?
check "nothing is written and the status says so" test "$status" -eq 1 -a ! -e "$work/missing"

finish
