#!/usr/bin/env bash
# tests/ardour/run.sh BUILD_DIR: KestruneVSTi in Ardour 7, headless. Scans the plug-in with Ardour's
# VST scanner and checks what it recorded; builds a session in which the plug-in gets a noise burst
# on its audio input and Record commands on its MIDI input; renders it with ardour7-export and
# checks that the recorded burst comes back one loop later.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
python=/usr/bin/python3  # Debian's, with python3-numpy and python3-mido
work=$build/ardour-test
rm -rf "$work"
mkdir -p "$work/home" "$work/config/ardour7" "$work/cache" "$work/vst"

# Ardour keeps its state in these; LXVST_PATH replaces its whole plug-in search path.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache LXVST_PATH=$work/vst
cat >"$XDG_CONFIG_HOME/ardour7/config" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
  </Config>
</Ardour>
XML

# Shows a step's log when it fails; Ardour's tools are chatty even when all goes well.
step() {
    local name=$1
    shift
    if ! "$@" >"$work/$name.log" 2>&1; then
        echo "ardour test: $name failed:" >&2
        tail -n 40 "$work/$name.log" >&2
        exit 1
    fi
}

# The scanner's cache counts only while the plug-in file is older than it (whole seconds).
plugin=$work/vst/KestruneVSTi.so
cp "$build/KestruneVSTi.so" "$plugin"
touch -d "@$(($(date +%s) - 60))" "$plugin"
step scan env LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner "$plugin"
# The scanner exits 0 even when it fails: what counts is its cache file.
cache_file=$XDG_CACHE_HOME/ardour7/vst/$(printf %s "$plugin" | sha1sum | cut -c1-40)-x64.v2i
if [[ ! -f "$cache_file" ]]; then
    echo "ardour test: the scanner wrote no $cache_file:" >&2
    tail -n 40 "$work/scan.log" >&2
    exit 1
fi
"$python" "$here/check_scan.py" "$cache_file" "$plugin"

# Ardour names the interchange folder after the session folder: both are "kestrune".
step session ardour7-lua "$here/make_session.lua" "$work/kestrune" kestrune
step regions "$python" "$here/add_regions.py" "$work/kestrune" kestrune
step export ardour7-export -b float -o "$work/render.wav" "$work/kestrune" kestrune
"$python" "$here/check_render.py" "$work/render.wav"
