#!/usr/bin/env bash
# Checks that this commit computes exactly what an earlier one did:
#   bash scripts/replay-identity.sh [BASE] [extra cmake options...]
# BASE defaults to the merge base with main. Both commits are built (Release,
# built-in runtime unless the options say otherwise) from clean exports;
# the same recordings (busy scenes and simulated crowds of several seeds) are
# replayed under several configurations, and for every pair both the
# replay's output bytes and a per-scan hash of the full-precision tracking
# state must match. The base gets this commit's bench helpers, which read the
# state through the component's members only.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
bash "$here/scripts/setup.sh"
base=${1:-$(git merge-base HEAD main)}
[ $# -gt 0 ] && shift
base=$(git rev-parse --verify "$base^{commit}")
head=$(git rev-parse HEAD)
work=${STROLVEX_IDENTITY_DIR:-$here/build-identity}
rm -rf "$work/src-head" "$work/src-base" "$work/out"
mkdir -p "$work/src-head" "$work/src-base" "$work/out" "$work/logs"

git archive "$head" | tar -x -C "$work/src-head"
git archive "$base" | tar -x -C "$work/src-base"
# The whole folder, as its CMakeLists.txt names every benchmark's source;
# only the helpers below are built.
rm -rf "$work/src-base/bench"
cp -r "$work/src-head/bench" "$work/src-base/bench"

targets=(strolvex-replay strolvex-state-digest strolvex-sim-scene strolvex-busy-scene)
for tree in head base; do
  echo "building $tree ($([ $tree = head ] && echo "$head" || echo "$base"))"
  cmake -S "$work/src-$tree" -B "$work/build-$tree" -DCMAKE_BUILD_TYPE=Release \
    -DSTROLVEX_MIDDLEWARE=builtin -DSTROLVEX_BENCH=ON -DSTROLVEX_TESTS=OFF "$@" >/dev/null
  cmake --build "$work/build-$tree" -j "$(nproc)" --target "${targets[@]}" >"$work/logs/$tree.log"
done

bin="$work/build-head/bench"
logs="$work/logs"
recordings=()
for people in 1 6 10; do
  "$bin/strolvex-busy-scene" "$people" 600 >"$logs/busy$people.scanlog"
  recordings+=("$logs/busy$people.scanlog")
done
for seed in 1 2 3 4; do
  "$bin/strolvex-sim-scene" "$seed" 3000 >"$logs/sim$seed.scanlog"
  recordings+=("$logs/sim$seed.scanlog")
done
"$bin/strolvex-sim-scene" 5 3000 60 >"$logs/sim5-crowded.scanlog"
recordings+=("$logs/sim5-crowded.scanlog")

key=Category.Strolvex.conf.default
configurations=(
  "Human_NUM:1"
  "Human_NUM:6"
  "Human_NUM:10"
  "Human_NUM:6 Count_area_distance:2000"
  "Human_NUM:10 Human_setdistance:2500 Environmental_maxdata:5000"
  "Human_NUM:6 Human_width:150 Count_mode:OUT,IN"
  "Human_NUM:4 StrolvexData:3000 LRFdata_min:100 LRFdata_max:660"
)

export STROLVEX_MONITOR=off
identical=0
differing=0
for log in "${recordings[@]}"; do
  for conf in "${configurations[@]}"; do
    options=()
    for setting in $conf; do options+=(-o "$key.$setting"); done
    name="$(basename "$log" .scanlog) [$conf]"
    same=1
    for tree in head base; do
      "$work/build-$tree/tools/replay/strolvex-replay" "${options[@]}" "$log" \
        >"$work/out/$tree.replay" 2>/dev/null || echo "status $?" >>"$work/out/$tree.replay"
      "$work/build-$tree/bench/strolvex-state-digest" "${options[@]}" "$log" \
        >"$work/out/$tree.digest" 2>&1 || echo "status $?" >>"$work/out/$tree.digest"
    done
    cmp -s "$work/out/head.replay" "$work/out/base.replay" || { same=0; echo "DIFFERS (replay output): $name"; }
    cmp -s "$work/out/head.digest" "$work/out/base.digest" || { same=0; echo "DIFFERS (state): $name"; }
    if [ "$same" = 1 ]; then
      identical=$((identical + 1))
    else
      differing=$((differing + 1))
    fi
  done
done
echo "identity: $identical pairs identical, $differing differing" \
  "($((identical + differing)) recording and configuration pairs, replay bytes and state hashes)"
[ "$differing" = 0 ]
