#!/usr/bin/env bash
# Builds every flavour and runs its tests: native, 32-bit Linux, sanitizers, the 32-bit Windows DLL
# (built and inspected) and the 64-bit Windows DLL (tests under Wine); then hosts the native plug-in
# in Ardour 7. Prints each stage's time.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
timings=()
for flavour in native 32 asan win32 win64; do
  started=$SECONDS
  echo "=== $flavour build"
  bash scripts/build.sh "$flavour"
  case "$flavour" in
    native) dir=build ;;
    32) dir=build32 ;;
    asan) dir=build-asan ;;
    win32) dir=build-win32 ;;
    win64) dir=build-win64 ;;
  esac
  echo "=== $flavour tests"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
  timings+=("$flavour: $((SECONDS - started)) s")
done
started=$SECONDS
echo "=== Ardour 7"
bash tests/ardour/run.sh build
timings+=("ardour: $((SECONDS - started)) s")
printf '=== times\n'
printf '  %s\n' "${timings[@]}"
