#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need (Debian 12, as root).
set -euo pipefail
packages=(
  cmake g++ g++-multilib make pkg-config binutils
  libgtest-dev googletest libbenchmark-dev
  qemu-user python3 python3-numpy python3-mido bc sox
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 ardour
  libsndfile1-dev libsmf-dev libcli11-dev libcairo2-dev
  dpf-plugins-vst zynaddsubfx-vst
  clang libclang-rt-14-dev
  jackd2 libjack-jackd2-dev
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  # Non-interactive also answers jackd2's question about real-time priority with its default.
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
