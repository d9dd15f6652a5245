#!/usr/bin/env bash
# Runs the demo on a built tree: a minute of a simulated room where people
# walk past the laser, tracked and counted by Strolvex at the laser's real
# 10 scans a second. Shows each pass as the scene makes it and each change
# of Strolvex's counts, then both totals side by side.
#   scripts/demo.sh [BUILD_DIR]      (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)

if [ -z "${STROLVEX_MONITOR:-}" ] && [ -z "${DISPLAY:-}" ]; then
  export STROLVEX_MONITOR="png:$build/demo-monitor.png"
  echo "No display: the monitor's frames go to $build/demo-monitor.png"
fi

output=$(mktemp)
trap 'rm -f "$output"' EXIT
echo "Running a minute of simulated scene..."
# The manager resolves the module paths of the configuration from here.
(cd "$build" && "$build/launcher/strolvexcomp" -f "$here/conf/demo.conf") 2>&1 | tee "$output"

counted=$(sed -n 's/.*Strolvex counted IN \([0-9]*\) OUT \([0-9]*\).*/IN \1 OUT \2/p' "$output" | tail -n 1)
truth=$(sed -n 's/.*scene truth IN \([0-9]*\) OUT \([0-9]*\).*/IN \1 OUT \2/p' "$output" | tail -n 1)
echo
echo "Strolvex counted: ${counted:-nothing}"
echo "The scene had:    ${truth:-nothing}"
case "${STROLVEX_MONITOR:-}" in
  png:*) echo "Last monitor frame: ${STROLVEX_MONITOR#png:}" ;;
esac
