#!/usr/bin/env bash
# Configures and builds one tree: build.sh DIR [extra cmake options...]
# The built-in runtime unless the options name another middleware: a real
# installation that CMake happens to find must not change what the
# project's scripts test.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTROLVEX_MIDDLEWARE=builtin "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
