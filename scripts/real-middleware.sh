#!/usr/bin/env bash
# The project against real OpenRTM-aist installations, next to its built-in
# runtime:
#   - each version is built once per machine from the source archives
#     (../shared/vendor, or $STROLVEX_OPENRTM_VENDOR) and reused afterwards;
#     without archives, the installations already in /opt are used;
#   - the project is built against each with its tests and warnings as
#     errors, and the whole ctest suite runs there;
#   - the demo and the recording configuration run on every runtime at
#     once, and their counts must equal the scene's truth;
#   - strolvex-replay must print the same bytes on every runtime, for the
#     recordings and for the benchmark scenes;
#   - across processes (1.2 and later): a name server on loopback, the
#     simulator in one manager, Strolvex and the result logger in another,
#     and no name left behind once they have ended.
#   bash scripts/real-middleware.sh [VERSION...]     (default: every archive)
# The built-in build is taken from build-ci (the test command's first
# stage) or made here.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
vendor=${STROLVEX_OPENRTM_VENDOR:-$here/../shared/vendor}
builder=$vendor/../tools/openrtm-build.sh

versions=("$@")
if [ ${#versions[@]} -eq 0 ]; then
  for archive in "$vendor"/OpenRTM-aist-*.tar.gz; do
    [ -f "$archive" ] || continue
    name=${archive##*/OpenRTM-aist-}
    versions+=("${name%.tar.gz}")
  done
fi
if [ ${#versions[@]} -eq 0 ] || [ ! -f "$builder" ]; then
  for stamp in /opt/openrtm-aist-*/.strolvex-openrtm-version; do
    [ -f "$stamp" ] && versions+=("$(cat "$stamp")")
  done
  builder=
fi
if [ ${#versions[@]} -eq 0 ]; then
  echo "real middleware: no OpenRTM-aist archives ($vendor) and no installation in /opt; stage skipped"
  exit 0
fi
echo "== real middleware: OpenRTM-aist ${versions[*]} =="
start=$(date +%s)
bash "$here/scripts/setup.sh"
export STROLVEX_SETUP_DONE=1 STROLVEX_MONITOR=off

builtin=${STROLVEX_BUILTIN_BUILD:-$here/build-ci}
if [ ! -x "$builtin/tools/replay/strolvex-replay" ] || [ ! -x "$builtin/bench/strolvex-busy-scene" ]; then
  builtin=$here/build-builtin
  bash "$here/scripts/build.sh" "$builtin" -DSTROLVEX_MIDDLEWARE=builtin -DSTROLVEX_TESTS=OFF \
    -DSTROLVEX_BENCH=ON
fi

declare -A prefix build
for version in "${versions[@]}"; do
  if [ -n "$builder" ]; then
    prefix[$version]=$(bash "$builder" "$version" | tail -n 1)
  else
    prefix[$version]=/opt/openrtm-aist-$version
  fi
  build[$version]=$here/build-rtm-$version
  echo "-- OpenRTM-aist $version (${prefix[$version]}): build and tests"
  PKG_CONFIG_PATH=${prefix[$version]}/lib/pkgconfig CMAKE_PREFIX_PATH=${prefix[$version]} \
    bash "$here/scripts/build.sh" "${build[$version]}" -DSTROLVEX_MIDDLEWARE=openrtm -DSTROLVEX_WERROR=ON
  (cd "${build[$version]}" && ctest --output-on-failure -j 2)
done

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# The demo and the recording configuration, a minute each, all runtimes at
# once: they idle at the laser's 10 scans a second.
runtimes=(builtin "${versions[@]}")
buildOf() { [ "$1" = builtin ] && echo "$builtin" || echo "${build[$1]}"; }
for runtime in "${runtimes[@]}"; do
  dir=$(buildOf "$runtime")
  for conf in demo record; do
    (cd "$dir" && exec timeout 120 launcher/strolvexcomp -f "$here/conf/$conf.conf" \
       -o "Recorder.ScanRecorder.conf.default.file:$work/$runtime.scanlog" \
       >"$work/$runtime-$conf.out" 2>&1) &
  done
done
wait
counted() { sed -n 's/.*Strolvex counted \(IN [0-9]* OUT [0-9]*\).*/\1/p' "$1" | tail -n 1; }
truth() { sed -n 's/.*scene truth \(IN [0-9]* OUT [0-9]*\).*/\1/p' "$1" | tail -n 1; }
failed=0
for runtime in "${runtimes[@]}"; do
  for conf in demo record; do
    out=$work/$runtime-$conf.out
    seen=$(counted "$out")
    echo "$runtime $conf.conf: Strolvex counted ${seen:-nothing}, the scene had $(truth "$out")"
    if [ -z "$seen" ] || [ "$seen" != "$(truth "$out")" ]; then
      failed=1
      tail -n 20 "$out"
    fi
  done
  recorded=$(grep -c . "$work/$runtime.scanlog" || true)
  echo "$runtime record.conf: $recorded scans recorded"
  [ "$recorded" -eq 600 ] || failed=1
done

# The same scans give the same bytes on every runtime.
for people in 1 6 10; do
  "$builtin/bench/strolvex-busy-scene" "$people" 401 >"$work/busy$people.scanlog"
done
logs=("$work/builtin.scanlog" "$work/busy1.scanlog" "$work/busy6.scanlog" "$work/busy10.scanlog")
for log in "${logs[@]}"; do
  "$builtin/tools/replay/strolvex-replay" "$log" >"$work/expected" 2>/dev/null || true
  for version in "${versions[@]}"; do
    begin=$(date +%s%N)
    status=0
    "${build[$version]}/tools/replay/strolvex-replay" "$log" >"$work/got" 2>"$work/got.err" || status=$?
    ms=$(( ($(date +%s%N) - begin) / 1000000 ))
    if [ "$status" -eq 0 ] && cmp -s "$work/expected" "$work/got"; then
      echo "replay ${log##*/} on $version: identical to the built-in runtime's ($(wc -l <"$work/got") lines, $ms ms)"
    else
      echo "replay ${log##*/} on $version: status $status, output differs"
      head -n 5 "$work/got.err"
      failed=1
    fi
  done
done

# Across processes, through a name server on loopback.
port=$((20000 + RANDOM % 10000))
mkdir -p "$work/names"
omniNames -start "$port" -logdir "$work/names" -ORBendPoint "giop:tcp:127.0.0.1:$port" \
  >"$work/names.log" 2>&1 &
names=$!
sleep 1
# Every name bound, one level of contexts deep (host/name.rtc).
bound() {
  local ns=(-ORBInitRef "NameService=corbaloc:iiop:127.0.0.1:$port/NameService")
  nameclt "${ns[@]}" list 2>/dev/null | while read -r entry; do
    case $entry in
      */) nameclt "${ns[@]}" list "${entry%/}" 2>/dev/null ;;
      *) echo "$entry" ;;
    esac
  done
}
for version in "${versions[@]}"; do
  case $version in 1.1.*) continue ;; esac
  dir=${build[$version]}
  naming="corba.nameservers:127.0.0.1:$port"
  (cd "$dir" && exec timeout 120 launcher/strolvexcomp -o "$naming" \
     -o manager.modules.load_path:tools/logger -o manager.modules.preload:ResultLogger.so \
     -o manager.components.precreate:ResultLogger \
     -o "manager.components.preconnect:Strolvex0.human_dataX?port=ResultLogger0.human_dataX,Strolvex0.human_dataY?port=ResultLogger0.human_dataY,Strolvex0.human_dataV?port=ResultLogger0.human_dataV,Strolvex0.human_dataT?port=ResultLogger0.human_dataT,Strolvex0.count_data?port=ResultLogger0.count_data" \
     -o manager.components.preactivation:Strolvex0,ResultLogger0 -o exec_cxt.periodic.rate:10 \
     >"$work/$version-consumer.out" 2>&1) &
  consumer=$!
  for wait in $(seq 100); do
    bound | grep -q Strolvex0 && break
    sleep 0.1
  done
  rtcd=${prefix[$version]}/bin/rtcd
  [ -x "$rtcd" ] || rtcd=${prefix[$version]}/bin/rtcd2
  # The middleware's own daemon records no run path to its libraries.
  (cd "$dir" && LD_LIBRARY_PATH=${prefix[$version]}/lib exec timeout 120 "$rtcd" -o "$naming" \
     -o manager.modules.load_path:tools/simulator -o manager.modules.preload:ScanSimulator.so \
     -o manager.components.precreate:ScanSimulator -o logger.file_name:stderr \
     -o "manager.components.preconnect:ScanSimulator0.range_data?port=rtcname://127.0.0.1:$port/*/Strolvex0.range_data" \
     -o manager.components.preactivation:ScanSimulator0 -o exec_cxt.periodic.rate:10 \
     -o Simulator.ScanSimulator.conf.default.duration_s:30 \
     -o Simulator.ScanSimulator.conf.default.seed:8 >"$work/$version-producer.out" 2>&1) || true
  kill -INT "$consumer" 2>/dev/null || true
  wait "$consumer" || true
  left=$(bound | grep -c . || true)
  echo "across processes on $version: Strolvex $(counted "$work/$version-consumer.out"), the scene $(truth "$work/$version-producer.out"), names left: $left"
  if [ -z "$(counted "$work/$version-consumer.out")" ] ||
     [ "$(counted "$work/$version-consumer.out")" != "$(truth "$work/$version-producer.out")" ] ||
     [ "$left" -ne 0 ]; then
    failed=1
    tail -n 15 "$work/$version-consumer.out" "$work/$version-producer.out"
  fi
done
kill "$names" 2>/dev/null || true

echo "real middleware: $(( $(date +%s) - start )) s"
exit $failed
