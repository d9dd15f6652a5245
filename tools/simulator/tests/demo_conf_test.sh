#!/usr/bin/env bash
# The demo's configuration, as a manager reads it: the modules load, the
# three components connect and run, and the simulator ends the manager.
# Runs half a second of the scene at 100 scans a second instead of the
# demo's minute.  Usage: demo_conf_test.sh STROLVEXCOMP DEMO_CONF
set -euo pipefail
output=$(STROLVEX_MONITOR=off "$1" -f "$2" -o exec_cxt.periodic.rate:100 \
  -o Simulator.ScanSimulator.conf.default.duration_s:0.5 2>&1) || {
  echo "strolvexcomp failed:"; echo "$output"; exit 1; }
echo "$output"
grep -q "ScanSimulator0: scene truth IN 0 OUT 0 after 0.5 s" <<<"$output"
grep -Eq "ResultLogger0: Strolvex counted IN 0 OUT 0 in [1-9][0-9]* samples" <<<"$output"
