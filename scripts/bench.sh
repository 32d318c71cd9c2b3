#!/usr/bin/env bash
# Builds the native flavour, runs every benchmark and prints one table of figures beside their
# references. Absolute times drift on shared machines; the ratios are measured in one run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh native >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for bench in build/bench/*_bench; do
  "$bench" --benchmark_repetitions=3 --benchmark_min_time=0.1 \
    --benchmark_out="$out/$(basename "$bench").json" --benchmark_out_format=json >/dev/null
done
python3 bench/report.py "$out"/*.json
if [[ -x build/kestrune ]]; then
  bash bench/render_vs_sox.sh build
fi
