#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the demo and the
# speed and robustness scripts need.
set -euo pipefail
packages=(
  g++ make cmake pkg-config binutils
  libomniorb4-dev omniidl
  libgtest-dev libgmock-dev libbenchmark-dev
  libfast-float-dev
  libcairo2-dev libx11-dev fontconfig fonts-dejavu-core
  xvfb xauth
  clang libclang-rt-14-dev llvm
  dpkg-dev file systemd  # the Debian package: dpkg-shlibdeps, systemd-analyze
)
# A script that has already run this one tells the scripts it calls.
if [ "${STROLVEX_SETUP_DONE:-}" = 1 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "setup.sh installs Debian packages and must run as root" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
echo "setup: packages installed"
