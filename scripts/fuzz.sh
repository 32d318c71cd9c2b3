#!/usr/bin/env bash
# Builds the fuzz flavour and fuzzes the effect for a bounded time: scripts/fuzz.sh [SECONDS]
# (60 by default). Fails on any finding; the input that caused it is kept in build-fuzz/findings/.
# New inputs found on the way go to build-fuzz/corpus/, which later runs start from as well.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/build.sh fuzz
mkdir -p build-fuzz/corpus build-fuzz/findings
# A run that is still busy after 25 s on one input counts as a hang.
build-fuzz/fuzz/loop_effect_fuzz -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
  -artifact_prefix=build-fuzz/findings/ build-fuzz/corpus fuzz/corpus/loop_effect 2>&1 |
  grep -vE '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|^\s+NEW_FUNC|# Uses: |^#+ (Recommended|End of recommended)'
