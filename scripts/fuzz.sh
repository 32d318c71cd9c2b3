#!/usr/bin/env bash
# Builds the fuzz flavour and fuzzes for a bounded time: scripts/fuzz.sh [SECONDS] (60 by default)
# on the effect, and a third of that on each of the host's readers (cue sheets, MIDI files).
# Fails on any finding; the input that caused it is kept in build-fuzz/findings/. New inputs found
# on the way go to build-fuzz/corpus/TARGET, which later runs start from as well.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/build.sh fuzz
# libsmf keeps the record of a file it fails to parse: a leak of the library's, not ours.
export LSAN_OPTIONS="suppressions=$PWD/tests/host/third_party_leaks.supp:print_suppressions=0"

# fuzz TARGET SEEDS SECONDS
fuzz() {
  local target=$1 seeds=$2 time=$3
  echo "--- $target, $time s"
  mkdir -p "build-fuzz/corpus/$target" build-fuzz/findings
  # A run that is still busy after 25 s on one input counts as a hang.
  "build-fuzz/fuzz/$target" -max_total_time="$time" -timeout=25 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/findings/ "build-fuzz/corpus/$target" "$seeds" 2>&1 |
    grep -vE '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|^\s+NEW_FUNC|# Uses: |^#+ (Recommended|End of recommended)'
}

fuzz loop_effect_fuzz fuzz/corpus/loop_effect "$seconds"
fuzz cue_sheet_fuzz fuzz/corpus/cue_sheet $((seconds / 3))
fuzz midi_file_fuzz fuzz/corpus/midi_file $((seconds / 3))
