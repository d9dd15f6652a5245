#!/usr/bin/env bash
# Installs what is needed, builds, and runs the demo: a simulated scene of
# people walking past a laser, tracked and counted by Strolvex.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh" "$here/build" -DSTROLVEX_TESTS=OFF
exec bash "$here/scripts/demo.sh" "$here/build"
