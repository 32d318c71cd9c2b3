#!/usr/bin/env bash
# Fuzzes the effect for a minute, then builds the native, 32-bit and sanitizer flavours and runs
# every test in each; the native flavour also runs the full MIDI soak (ten million messages).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
stage() { echo "=== $1 (at ${SECONDS} s)"; }
stage "fuzz for 60 s"
bash scripts/fuzz.sh 60
for flavour in native 32 asan; do
  stage "$flavour build"
  bash scripts/build.sh "$flavour"
  case "$flavour" in
    native) dir=build ;;
    32) dir=build32 ;;
    asan) dir=build-asan ;;
  esac
  stage "$flavour tests"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
  if [[ $flavour == native ]]; then
    stage "MIDI soak"
    build/tests/loop/midi_soak 10000000
  fi
done
