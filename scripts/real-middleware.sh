#!/usr/bin/env bash
# The project against real OpenRTM-aist installations, next to its built-in
# runtime:
#   - each version is built once per machine from the source archives
#     (../shared/vendor, or $STROLVEX_OPENRTM_VENDOR) and reused afterwards;
#     without archives, the installations already in /opt are used;
#   - the project is built against each with its tests and warnings as
#     errors, and the whole ctest suite runs there;
#   - the demo and the recording configuration run on every runtime, and
#     their counts must equal the scene's truth;
#   - strolvex-replay must print the same bytes on every runtime, for the
#     recordings and for the benchmark scenes;
#   - across processes (1.2 and later): a name server on loopback, the
#     simulator in the middleware's own daemon, Strolvex and the result
#     logger in strolvexcomp, and no name left once they have ended.
# The runs that mostly wait (a minute of scene at 10 scans a second) go on
# in the background while the next version builds.
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
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

counted() { sed -n 's/.*Strolvex counted \(IN [0-9]* OUT [0-9]*\).*/\1/p' "$1" | tail -n 1; }
truth() { sed -n 's/.*scene truth \(IN [0-9]* OUT [0-9]*\).*/\1/p' "$1" | tail -n 1; }

# demo.conf and record.conf of one build, in the background.
startDemos() {
  local runtime=$1 dir=$2
  for conf in demo record; do
    (cd "$dir" && exec timeout 180 launcher/strolvexcomp -f "$here/conf/$conf.conf" \
       -o "Recorder.ScanRecorder.conf.default.file:$work/$runtime.scanlog" \
       >"$work/$runtime-$conf.out" 2>&1) &
  done
}

# Strolvex in one process, the simulator in the middleware's daemon, joined
# through a name server of their own; the result in $work/$version-across.
across() {
  local version=$1 dir=$2 prefix=$3 port=$4
  local ns=(-ORBInitRef "NameService=corbaloc:iiop:127.0.0.1:$port/NameService")
  local naming="corba.nameservers:127.0.0.1:$port"
  local out=$work/$version-across
  mkdir -p "$out.names"
  omniNames -start "$port" -logdir "$out.names" -ORBendPoint "giop:tcp:127.0.0.1:$port" \
    >"$out.names.log" 2>&1 &
  local names=$!
  # Every name bound, one level of contexts deep (host/name.rtc).
  bound() {
    nameclt "${ns[@]}" list 2>/dev/null | while read -r entry; do
      case $entry in
        */) nameclt "${ns[@]}" list "${entry%/}" 2>/dev/null ;;
        *) echo "$entry" ;;
      esac
    done
  }
  local outputs=human_dataX,human_dataY,human_dataV,human_dataT,count_data preconnect=
  for port_name in ${outputs//,/ }; do
    preconnect+=${preconnect:+,}Strolvex0.$port_name?port=ResultLogger0.$port_name
  done
  sleep 1
  (cd "$dir" && exec timeout 120 launcher/strolvexcomp -o "$naming" \
     -o manager.modules.load_path:tools/logger -o manager.modules.preload:ResultLogger.so \
     -o manager.components.precreate:ResultLogger -o "manager.components.preconnect:$preconnect" \
     -o manager.components.preactivation:Strolvex0,ResultLogger0 -o exec_cxt.periodic.rate:10 \
     >"$out.consumer" 2>&1) &
  local consumer=$!
  for _ in $(seq 100); do
    bound | grep -q Strolvex0 && break
    sleep 0.1
  done
  local rtcd=$prefix/bin/rtcd
  [ -x "$rtcd" ] || rtcd=$prefix/bin/rtcd2
  # The middleware's own daemon records no run path to its libraries.
  (cd "$dir" && LD_LIBRARY_PATH=$prefix/lib exec timeout 120 "$rtcd" -o "$naming" \
     -o manager.modules.load_path:tools/simulator -o manager.modules.preload:ScanSimulator.so \
     -o manager.components.precreate:ScanSimulator -o logger.file_name:stderr \
     -o "manager.components.preconnect:ScanSimulator0.range_data?port=rtcname://127.0.0.1:$port/*/Strolvex0.range_data" \
     -o manager.components.preactivation:ScanSimulator0 -o exec_cxt.periodic.rate:10 \
     -o Simulator.ScanSimulator.conf.default.duration_s:20 \
     -o Simulator.ScanSimulator.conf.default.seed:8 >"$out.producer" 2>&1) || true
  kill -INT "$consumer" 2>/dev/null || true
  wait "$consumer" || true
  bound >"$out.left"
  kill "$names" 2>/dev/null || true
}

builtin=${STROLVEX_BUILTIN_BUILD:-$here/build-ci}
if [ ! -x "$builtin/tools/replay/strolvex-replay" ] || [ ! -x "$builtin/bench/strolvex-busy-scene" ]; then
  builtin=$here/build-builtin
  bash "$here/scripts/build.sh" "$builtin" -DSTROLVEX_MIDDLEWARE=builtin -DSTROLVEX_TESTS=OFF \
    -DSTROLVEX_BENCH=ON
fi
startDemos builtin "$builtin"

declare -A prefix build
port=$((20000 + RANDOM % 10000))
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
  startDemos "$version" "${build[$version]}"
  case $version in
    1.1.*) ;;  # 1.1 knows no rtcname:// addresses
    *) across "$version" "${build[$version]}" "${prefix[$version]}" $((port++)) & ;;
  esac
  (cd "${build[$version]}" && ctest --output-on-failure -j 2)
done
wait

failed=0
for runtime in builtin "${versions[@]}"; do
  for conf in demo record; do
    out=$work/$runtime-$conf.out
    seen=$(counted "$out")
    echo "$runtime $conf.conf: Strolvex counted ${seen:-nothing}, the scene had $(truth "$out")"
    if [ -z "$seen" ] || [ "$seen" != "$(truth "$out")" ]; then
      failed=1
      tail -n 20 "$out"
    fi
  done
  recorded=$(grep -vc -e "^#" -e "^$" "$work/$runtime.scanlog" || true)
  echo "$runtime record.conf: $recorded scans recorded"
  [ "$recorded" -eq 600 ] || failed=1
done

for version in "${versions[@]}"; do
  out=$work/$version-across
  [ -f "$out.consumer" ] || continue
  seen=$(counted "$out.consumer")
  echo "across processes on $version: Strolvex counted ${seen:-nothing}, the scene had $(truth "$out.producer"), names left: $(grep -c . "$out.left" || true)"
  if [ -z "$seen" ] || [ "$seen" != "$(truth "$out.producer")" ] || [ -s "$out.left" ]; then
    failed=1
    tail -n 15 "$out.consumer" "$out.producer" "$out.left"
  fi
done

# The same scans give the same bytes on every runtime.
for people in 1 6 10; do
  "$builtin/bench/strolvex-busy-scene" "$people" 401 >"$work/busy$people.scanlog"
done
for log in "$work/builtin.scanlog" "$work"/busy{1,6,10}.scanlog; do
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

echo "real middleware: $(( $(date +%s) - start )) s"
exit $failed
