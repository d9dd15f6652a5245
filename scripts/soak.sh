#!/usr/bin/env bash
# The soak: 10 million scans (or SCANS) through the component's cycle under
# AddressSanitizer and UndefinedBehaviorSanitizer, memory checked every
# million scans. Fails on any sanitizer report or if the heap grows.
#   bash scripts/soak.sh [SCANS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
scans=${1:-10000000}
bash "$here/scripts/setup.sh"
build="$here/build-soak"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTROLVEX_MIDDLEWARE=builtin -DSTROLVEX_SANITIZE=ON \
  -DSTROLVEX_TESTS=OFF -DSTROLVEX_BENCH=ON -DSTROLVEX_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target strolvex-soak
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== soak: $scans scans under AddressSanitizer + UndefinedBehaviorSanitizer =="
start=$(date +%s)
"$build/bench/strolvex-soak" "$scans"
echo "soak passed in $(( $(date +%s) - start )) s"
