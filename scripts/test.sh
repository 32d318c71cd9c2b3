#!/usr/bin/env bash
# Fuzzes the effect for a minute, then builds the native, 32-bit and sanitizer flavours and runs
# every test in each.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
echo "=== fuzz (60 s)"
bash scripts/fuzz.sh 60
for flavour in native 32 asan; do
  echo "=== $flavour build"
  bash scripts/build.sh "$flavour"
  case "$flavour" in
    native) dir=build ;;
    32) dir=build32 ;;
    asan) dir=build-asan ;;
  esac
  echo "=== $flavour tests"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done
