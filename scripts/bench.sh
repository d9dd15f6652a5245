#!/usr/bin/env bash
# Builds the benchmarks, records the busy scenes they feed on, runs them and
# prints the table. Medians of REPEAT runs (5 unless STROLVEX_BENCH_REPEAT).
#   bash scripts/bench.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
repeat=${STROLVEX_BENCH_REPEAT:-5}
bash "$here/scripts/setup.sh"
build="$here/build-bench"
bash "$here/scripts/build.sh" "$build" -DSTROLVEX_BENCH=ON -DSTROLVEX_TESTS=OFF
bin="$build/bench"
data="$build/bench-data"
mkdir -p "$data"
export STROLVEX_MONITOR=off

long_scans=50000
for people in 1 6 10; do
  "$bin/strolvex-busy-scene" "$people" 401 >"$data/busy$people.scanlog"
done
"$bin/strolvex-busy-scene" 6 "$long_scans" >"$data/long6.scanlog"

# Median time of one Google Benchmark run, in the unit asked for (us or ms).
median() {
  local unit=$1; shift
  "$@" --benchmark_repetitions="$repeat" --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null |
    awk -F, -v unit="$unit" '
      # With a single repetition there is no median row: the run itself is it.
      $1 ~ /^"BM_/ && ($1 ~ /_median"$/ || $1 !~ /_(mean|median|stddev|cv)"$/) {
        t = $3; u = $5; gsub(/"/, "", u)
        ns = (u == "ns") ? t : (u == "us") ? t * 1e3 : (u == "ms") ? t * 1e6 : t * 1e9
        value = (unit == "us") ? ns / 1e3 : ns / 1e6 }
      END { printf "%.1f\n", value }'
}

# Median wall time and the largest peak memory of REPEAT runs of a command.
replay_runs() {
  for _ in $(seq "$repeat"); do "$bin/run-measured" "$@"; done |
    awk '{ split($1, w, "="); split($2, c, "="); split($3, m, "="); print w[2], c[2], m[2] }' |
    sort -n | awk '{ wall[NR] = $1; cpu[NR] = $2; if ($3 > rss) rss = $3 }
                   END { m = int((NR + 1) / 2); printf "%s %s %d\n", wall[m], cpu[m], rss }'
}

cycle1=$(median us "$bin/cycle_bench" --benchmark_filter='Human_NUM:1$' "$data/busy1.scanlog")
cycle6=$(median us "$bin/cycle_bench" --benchmark_filter='Human_NUM:6$' "$data/busy6.scanlog")
cycle10=$(median us "$bin/cycle_bench" --benchmark_filter='Human_NUM:10$' "$data/busy10.scanlog")
frame=$(median us "$bin/monitor_bench" --benchmark_filter=Compose)
png=$(median ms "$bin/monitor_bench" --benchmark_filter=Png)
parse=$(median us "$bin/scanlog_bench")
read -r replay_wall replay_cpu replay_rss < <(replay_runs "$build/tools/replay/strolvex-replay" "$data/long6.scanlog")
read -r replay1_wall replay1_cpu _ < <(replay_runs "$build/tools/replay/strolvex-replay" \
  -o Category.Strolvex.conf.default.Human_NUM:1 "$data/long6.scanlog")
# 24 configurations, as a site's tuning sweeps them, against one replay:
# six counting distances share each width's replay. The second grid has
# nothing to share: one replay per configuration.
read -r sweep_wall _ _ < <(replay_runs "$build/tools/sweep/strolvex-sweep" "$data/long6.scanlog" \
  --set Count_area_distance=2300:2800:100 --set Human_width=150:300:50)
read -r sweep_each_wall _ _ < <(replay_runs "$build/tools/sweep/strolvex-sweep" "$data/long6.scanlog" \
  --set Human_width=150:300:50 --set Human_setdistance=2500:3000:100)
read -r _ _ comp_rss < <(replay_runs timeout -s INT 3 "$build/launcher/strolvexcomp" \
  -f "$here/conf/strolvexcomp.conf")

verdict() { awk -v v="$1" -v t="$2" -v dir="$3" 'BEGIN {
  if (v == "") { print "no result"; exit }
  ok = (dir == "max") ? v + 0 <= t : v + 0 >= t; print ok ? "met" : "missed" }'; }
sweep_bound=$(awk -v r="$replay_wall" -v c="$(nproc)" 'BEGIN { printf "%.1f", 24 * r / c * 1.1 }')
rate() { awk -v n="$long_scans" -v s="$1" 'BEGIN { printf "%d", n / s }'; }

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
echo
echo "Machine: ${cpu:-unknown CPU}, $(nproc) cores, $(uname -sr); load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Medians of $repeat runs."
echo
printf '| %-58s | %14s | %12s | %-6s |\n' "Measure" "Result" "Target" "Verdict"
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..60})" "$(printf -- '-%.0s' {1..16})" "$(printf -- '-%.0s' {1..14})" "--------"
row() { printf '| %-58s | %14s | %12s | %-6s |\n' "$@"; }
row "Scan cycle, Human_NUM 1, 1 busy track" "$cycle1 us" "" ""
row "Scan cycle, Human_NUM 6, 6 busy tracks" "$cycle6 us" "<= 10 us" "$(verdict "$cycle6" 10 max)"
row "Scan cycle, Human_NUM 10, 10 busy tracks" "$cycle10 us" "" ""
row "Monitor frame composition, 6 busy tracks" "$frame us" "<= 1000 us" "$(verdict "$frame" 1000 max)"
row "Monitor frame written as PNG" "$png ms" "" ""
row "Scan log line parse (769 ranges)" "$parse us" "" ""
row "strolvex-replay, $long_scans scans, 6 busy tracks (wall)" "$(rate "$replay_wall") scans/s" ">= 100000/s" "$(verdict "$(rate "$replay_wall")" 100000 min)"
row "  the same per second of its CPU time" "$(rate "$replay_cpu") scans/s" "" ""
row "strolvex-replay, same log, Human_NUM 1 (wall)" "$(rate "$replay1_wall") scans/s" "" ""
row "  the same per second of its CPU time" "$(rate "$replay1_cpu") scans/s" "" ""
row "strolvex-sweep, 24 configurations, 4 replays (wall)" "$sweep_wall s" "<= $sweep_bound s" "$(verdict "$sweep_wall" "$sweep_bound" max)"
row "strolvex-sweep, 24 configurations, one replay each (wall)" "$sweep_each_wall s" "<= $sweep_bound s" "$(verdict "$sweep_each_wall" "$sweep_bound" max)"
row "Peak memory, strolvex-replay on that log" "$((replay_rss / 1024)) MiB" "" ""
row "Peak memory, strolvexcomp running Strolvex (3 s)" "$((comp_rss / 1024)) MiB" "" ""
