#!/usr/bin/env bash
# The whole chain with a laser: a simulated scene is recorded, the emulator
# serves the recording as a URG-04LX behind a pseudo-terminal, strolvexcomp
# runs conf/laser.conf pointed at it, and the counts logged must equal the
# scene's truth (which strolvex-replay also counts from the recording).
#   laser_pipeline.sh STROLVEXCOMP STROLVEX_REPLAY EMULATOR CONF_DIR  (from the build directory)
set -euo pipefail
strolvexcomp=$1 replay=$2 emulator=$3 conf=$4
work=$(mktemp -d)
emulator_pid=
trap '[ -z "$emulator_pid" ] || kill "$emulator_pid" 2>/dev/null; rm -rf "$work"' EXIT
export STROLVEX_MONITOR=off
seconds=15

# Recorded at the scene's own 10 Hz, computed as fast as the context runs.
"$strolvexcomp" -f "$conf/record.conf" -o exec_cxt.periodic.rate:200 \
  -o Simulator.ScanSimulator.conf.default.scan_rate:10 -o Simulator.ScanSimulator.conf.default.duration_s:$seconds \
  -o Simulator.ScanSimulator.conf.default.seed:4 -o "Recorder.ScanRecorder.conf.default.file:$work/scene.log" >"$work/record.out" 2>&1
truth=$(sed -n 's/.*scene truth IN \([0-9]*\) OUT \([0-9]*\).*/IN \1 OUT \2/p' "$work/record.out")
replayed=$("$replay" "$work/scene.log" 2>/dev/null | tail -n 1 | sed -n 's/.*"count":\[\([0-9]*\),\([0-9]*\),.*/IN \1 OUT \2/p')
echo "scene truth: $truth; strolvex-replay: $replayed"
[ -n "$truth" ] && [ "$truth" = "$replayed" ] && [ "$truth" != "IN 0 OUT 0" ]

"$emulator" --link "$work/laser" "$work/scene.log" >/dev/null &
emulator_pid=$!
# The emulator starts the scene when the scanner asks for scans.
"$strolvexcomp" -f "$conf/laser.conf" -o "Sensor.ScipScanner.conf.default.device:$work/laser" >"$work/laser.out" 2>&1 &
laser=$!
# The scene runs from the scanner's start-up, however late a loaded machine
# makes it; the deadline only ends a run that failed.
for ((waited = 0; waited < 600; ++waited)); do
  ! grep -q "LRF_Total_steps" "$work/laser.out" || break
  kill -0 "$laser" 2>/dev/null || break
  sleep 0.1
done
sleep $((seconds + 3))
kill -TERM "$laser"
wait "$laser" || { cat "$work/laser.out"; echo "strolvexcomp -f laser.conf failed"; exit 1; }
cat "$work/laser.out"
counted=$(sed -n 's/.*ResultLogger0: Strolvex counted \(IN [0-9]* OUT [0-9]*\) in .*/\1/p' "$work/laser.out")
echo "through the laser link: $counted"
[ "$counted" = "$truth" ]
