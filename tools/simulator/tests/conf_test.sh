#!/usr/bin/env bash
# The shipped configurations as a manager reads them: the modules load, the
# components connect and run, and the simulator ends the manager after one
# second of the scene (20 scans; the last one or two may still be under way).
# demo.conf: simulator -> Strolvex -> result logger; record.conf: the scans
# also reach the recorder.   conf_test.sh STROLVEXCOMP CONF_DIR
set -euo pipefail
recording=$(mktemp)
trap 'rm -f "$recording"' EXIT
run() {
  STROLVEX_MONITOR=off "$1" -f "$2/$3" -o exec_cxt.periodic.rate:20 \
    -o Simulator.ScanSimulator.conf.default.duration_s:1 "${@:4}" 2>&1 | tee /dev/stderr
}
samples() { sed -n 's/.*ResultLogger0: Strolvex counted IN 0 OUT 0 in \([0-9]*\) samples.*/\1/p'; }

demo=$(run "$1" "$2" demo.conf)
grep -q "ScanSimulator0: scene truth IN 0 OUT 0 after 1.0 s" <<<"$demo"
[ "$(samples <<<"$demo")" -ge 15 ]
counted=$(run "$1" "$2" record.conf -o "Recorder.ScanRecorder.conf.default.file:$recording" | samples)
[ "$counted" -ge 15 ] && [ "$(grep -cv '^#' "$recording")" -ge 15 ]
