#!/usr/bin/env bash
# Builds the Debian package and tries it on this machine, as root:
#   - the package (build-deb/strolvex_VERSION_ARCH.deb) from a build of its
#     own (built-in runtime, no tests);
#   - installed with apt-get, which pulls in what its Depends name; the
#     installed strolvexcomp runs the installed demo configuration from
#     another directory and must end by itself with Strolvex's counts equal
#     to the scene's truth; systemd-analyze verify accepts the installed
#     unit;
#   - purged again, and no file it had installed may be left;
#   - the same build installed with cmake --install under a temporary
#     prefix, whose demo runs from / the same way, then removed.
#   bash scripts/package.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build-deb
bash "$here/scripts/setup.sh"
export DEBIAN_FRONTEND=noninteractive

# A shorter scene than the demo's minute, with people in it.
scene=(-o Simulator.ScanSimulator.conf.default.duration_s:20)

# demo PROGRAM CONF DIR: runs the demo from DIR; Strolvex's counts must
# equal the scene's truth, which must not be empty.
demo() {
  local program=$1 conf=$2 dir=$3 output status=0
  output=$(cd "$dir" && STROLVEX_MONITOR=off timeout 120 "$program" -f "$conf" "${scene[@]}" 2>&1) ||
    status=$?
  local counted truth
  counted=$(sed -n 's/.*Strolvex counted IN \([0-9]*\) OUT \([0-9]*\).*/IN \1 OUT \2/p' <<<"$output" | tail -n 1)
  truth=$(sed -n 's/.*scene truth IN \([0-9]*\) OUT \([0-9]*\).*/IN \1 OUT \2/p' <<<"$output" | tail -n 1)
  if [ "$status" -ne 0 ] || [ -z "$truth" ] || [ "$truth" = "IN 0 OUT 0" ] || [ "$counted" != "$truth" ]; then
    printf '%s\n' "$output" | tail -n 30 >&2
    echo "package: $program -f $conf from $dir: status $status, counted '${counted}', truth '${truth}'" >&2
    return 1
  fi
  echo "package: $program from $dir counted $counted, as the scene had"
}

echo "== Debian package =="
bash "$here/scripts/build.sh" "$build" -DSTROLVEX_TESTS=OFF -DSTROLVEX_WERROR=ON
rm -f "$build"/strolvex_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/strolvex_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends

if dpkg -L strolvex >/dev/null 2>&1; then
  echo "package: strolvex is installed already; remove it first (apt-get purge strolvex)" >&2
  exit 1
fi
installed=
scratch=$(mktemp -d)
cleanup() {
  [ -n "$installed" ] && apt-get purge -y -qq strolvex >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT

apt-get install -y -qq "$deb" >/dev/null
installed=1
files=$(dpkg -L strolvex)
demo /usr/bin/strolvexcomp /usr/share/strolvex/demo.conf "$scratch"
unit=$(dpkg -L strolvex | grep '/systemd/system/strolvex.service$')
# Without a running systemd (a container) the unit is checked all the
# same: verify reads the unit files, not the running manager.
SYSTEMD_LOG_LEVEL=warning systemd-analyze verify "$unit"
echo "package: systemd-analyze verify accepts $unit"

apt-get purge -y -qq strolvex >/dev/null
installed=
left=()
while IFS= read -r path; do
  [ -e "$path" ] && [ "$path" != /. ] || continue
  # Folders the package shares with others (/usr/bin, ...) stay.
  if [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1; then continue; fi
  left+=("$path")
done <<<"$files"
if [ ${#left[@]} -ne 0 ]; then
  printf 'package: left after purge: %s\n' "${left[@]}" >&2
  exit 1
fi
echo "package: purged, nothing left of its $(wc -l <<<"$files") paths"

echo "== cmake --install under a temporary prefix =="
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
demo "$prefix/bin/strolvexcomp" "$prefix/share/strolvex/demo.conf" /
rm -rf "$prefix"
