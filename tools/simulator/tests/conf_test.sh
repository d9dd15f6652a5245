#!/usr/bin/env bash
# The shipped configurations, as a manager reads them: the modules load, the
# components connect and run, and the simulator ends the manager. Runs one
# second of the scene, 20 scans, instead of a minute.
#   conf_test.sh STROLVEXCOMP CONF_DIR
# demo.conf: simulator -> Strolvex -> result logger. record.conf: the same,
# and the scans also reach the recorder. (The last scan or two may still be
# under way when the simulator ends the manager.)
set -euo pipefail
strolvexcomp=$1
conf=$2
recording=$(mktemp)
trap 'rm -f "$recording"' EXIT

run() {
  STROLVEX_MONITOR=off "$strolvexcomp" -f "$conf/$1" -o exec_cxt.periodic.rate:20 \
    -o Simulator.ScanSimulator.conf.default.duration_s:1 "${@:2}" 2>&1 || {
    echo "strolvexcomp -f $1 failed" >&2; return 1; }
}
samples() { sed -n 's/.*ResultLogger0: Strolvex counted IN 0 OUT 0 in \([0-9]*\) samples.*/\1/p' <<<"$1"; }

output=$(run demo.conf)
echo "$output"
grep -q "ScanSimulator0: scene truth IN 0 OUT 0 after 1.0 s" <<<"$output"
[ "$(samples "$output")" -ge 15 ]

output=$(run record.conf -o "Recorder.ScanRecorder.conf.default.file:$recording")
echo "$output"
counted=$(samples "$output")
recorded=$(grep -cv '^#' "$recording")
echo "Strolvex: $counted samples; recorder: $recorded scans"
[ "$counted" -ge 15 ] && [ "$recorded" -ge 15 ]
