#!/usr/bin/env bash
# The main job: build the plug-in and show what a host sees of it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh native >/dev/null
build/tests/describe_plugin build/KestruneVSTi.so
