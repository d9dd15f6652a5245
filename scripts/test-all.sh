#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test twice: a normal
# build with warnings as errors, and one under AddressSanitizer and
# UndefinedBehaviorSanitizer. The tests of threaded code then run again,
# repeatedly, under ThreadSanitizer, and each fuzz target runs for 30 s.
# The Debian package is built, installed, run and purged again.
# Last, the same project against real OpenRTM-aist installations (built
# once per machine from ../shared/vendor; skipped without archives).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
export STROLVEX_SETUP_DONE=1

echo "== normal build (warnings are errors) =="
bash "$here/scripts/build.sh" "$here/build-ci" -DSTROLVEX_WERROR=ON -DSTROLVEX_BENCH=ON
(cd "$here/build-ci" && ctest --output-on-failure -j 2)

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
# The sanitizer build also keeps the cycle on its baseline lanes (SSE2).
bash "$here/scripts/build.sh" "$here/build-asan" -DSTROLVEX_WERROR=ON -DSTROLVEX_SANITIZE=ON -DSTROLVEX_AVX=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$here/build-asan" && ctest --output-on-failure -j 2)

echo "== ThreadSanitizer =="
bash "$here/scripts/tsan.sh"

echo "== fuzzing (30 s per target) =="
bash "$here/scripts/fuzz.sh" 30

echo "== Debian package and installation =="
bash "$here/scripts/package.sh"

bash "$here/scripts/real-middleware.sh"
