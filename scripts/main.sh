#!/usr/bin/env bash
# Installs what is needed, builds, and runs the demo: a simulated scene of
# people walking past a laser, tracked and counted by Strolvex.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
mkdir -p "$here/build"
echo "Building (a few minutes the first time; log in build/build.log)..."
if ! bash "$here/scripts/build.sh" "$here/build" -DSTROLVEX_TESTS=OFF > "$here/build/build.log" 2>&1; then
  tail -n 30 "$here/build/build.log" >&2
  echo "The build failed; the whole log is in build/build.log" >&2
  exit 1
fi
exec bash "$here/scripts/demo.sh" "$here/build"
