#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for
# SECONDS (default 30), all at once, on a copy of its committed seed corpus.
# Any crash or sanitizer report fails the run; the input that caused it is
# left in build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build=$here/build-fuzz
bash "$here/scripts/setup.sh"

echo "Building the fuzz targets in $build..."
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTROLVEX_MIDDLEWARE=builtin \
  -DSTROLVEX_FUZZ=ON -DSTROLVEX_WERROR=ON -DSTROLVEX_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target scanline_fuzz scipreply_fuzz cycle_fuzz >"$build/fuzz-build.log" 2>&1 || {
  tail -n 30 "$build/fuzz-build.log" >&2
  echo "fuzz: the build failed; the whole log is in $build/fuzz-build.log" >&2
  exit 1
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export STROLVEX_MONITOR=off

targets=(
  "scanline_fuzz tools/scanlog/fuzz"
  "scipreply_fuzz tools/scip/fuzz"
  "cycle_fuzz component/fuzz"
)
pids=()
for entry in "${targets[@]}"; do
  read -r name folder <<<"$entry"
  work=$build/fuzz-work/$name
  rm -rf "$work" "$build/findings/$name"
  mkdir -p "$work/corpus" "$build/findings/$name"
  cp "$here/$folder/corpus/"* "$work/corpus/"
  (cd "$work" && exec "$build/$folder/$name" -max_total_time="$seconds" -print_final_stats=1 \
     -artifact_prefix="$build/findings/$name/" corpus >"$work/log" 2>&1) &
  pids+=($!)
done

failed=0
for k in "${!targets[@]}"; do
  read -r name folder <<<"${targets[$k]}"
  work=$build/fuzz-work/$name
  if wait "${pids[$k]}"; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    coverage=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log" | tail -n 1)
    echo "$name: ok, $runs runs in ${seconds} s"
    echo "  $coverage"
  else
    failed=1
    echo "$name: FAILED; the input is in $build/findings/$name/, the log follows" >&2
    grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse|RELOAD)' "$work/log" | tail -n 60 >&2
  fi
done
exit $failed
