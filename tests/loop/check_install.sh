#!/usr/bin/env bash
# `cmake --install` must put the plug-in, unchanged, into <prefix>/lib/vst.
set -euo pipefail
build=$1
plugin=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
installed=$prefix/lib/vst/$(basename "$plugin")
if ! cmp -s "$plugin" "$installed"; then
    echo "cmake --install did not put $(basename "$plugin") into <prefix>/lib/vst; it installed:" >&2
    (cd "$prefix" && find . -type f) >&2
    exit 1
fi
echo "installs lib/vst/$(basename "$plugin")"
