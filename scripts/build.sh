#!/usr/bin/env bash
# Configures and builds one flavour of the project: native (default), 32, asan, win32 or win64.
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-native}
jobs=$(nproc)
case "$flavour" in
  native) dir=build; args=() ;;
  32) dir=build32; args=(-DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux.cmake) ;;
  asan) dir=build-asan; args=(-DKESTRUNE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
  win32) dir=build-win32; args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake) ;;
  win64) dir=build-win64; args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake) ;;
  *) echo "unknown flavour: $flavour (native, 32, asan, win32 or win64)" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" "${args[@]}" >/dev/null
cmake --build "$dir" -j "$jobs"
