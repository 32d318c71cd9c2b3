#!/usr/bin/env bash
# The main job: build the looper and the kestrune host, and render the demo with its plot.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh native >/dev/null
build/kestrune demo -o demo.wav --plot demo.png
echo "wrote demo.wav and demo.png"
