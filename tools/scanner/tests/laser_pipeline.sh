#!/usr/bin/env bash
# The whole chain with a laser: a simulated scene is recorded, the emulator
# serves the recording as a URG-04LX behind a pseudo-terminal, and
# strolvexcomp runs conf/laser.conf pointed at it. The counts the result
# logger reports must equal the scene's truth (the scene is one that
# strolvex-replay counts right from the same recording).
#   laser_pipeline.sh STROLVEXCOMP STROLVEX_REPLAY EMULATOR CONF_DIR
# Run from the build directory, where the configurations' module paths point.
set -euo pipefail
strolvexcomp=$1 replay=$2 emulator=$3 conf=$4
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export STROLVEX_MONITOR=off
seconds=15

# Recorded at the scene's own 10 Hz, computed as fast as the context runs.
"$strolvexcomp" -f "$conf/record.conf" -o exec_cxt.periodic.rate:200 \
  -o Simulator.ScanSimulator.conf.default.scan_rate:10 \
  -o Simulator.ScanSimulator.conf.default.duration_s:$seconds \
  -o Simulator.ScanSimulator.conf.default.seed:4 \
  -o "Recorder.ScanRecorder.conf.default.file:$work/scene.log" >"$work/record.out" 2>&1
truth=$(sed -n 's/.*scene truth IN \([0-9]*\) OUT \([0-9]*\).*/IN \1 OUT \2/p' "$work/record.out")
replayed=$("$replay" "$work/scene.log" 2>/dev/null | tail -n 1 | sed -n 's/.*"count":\[\([0-9]*\),\([0-9]*\),.*/IN \1 OUT \2/p')
echo "scene truth: $truth; strolvex-replay: $replayed"
[ -n "$truth" ] && [ "$truth" = "$replayed" ] && [ "$truth" != "IN 0 OUT 0" ]

"$emulator" --link "$work/laser" "$work/scene.log" >"$work/emulator.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -L "$work/laser" ] && break; sleep 0.1; done
"$strolvexcomp" -f "$conf/laser.conf" -o "Sensor.ScipScanner.conf.default.device:$work/laser" \
  >"$work/laser.out" 2>&1 &
laser=$!
pids+=($laser)
# The emulator starts the scene when the scanner asks for scans.
sleep $((seconds + 3))
kill -INT "$laser"
wait "$laser" || { echo "strolvexcomp -f laser.conf failed"; cat "$work/laser.out"; exit 1; }
cat "$work/laser.out"
counted=$(sed -n 's/.*ResultLogger0: Strolvex counted \(IN [0-9]* OUT [0-9]*\) in .*/\1/p' "$work/laser.out")
echo "through the laser link: $counted"
[ "$counted" = "$truth" ]
