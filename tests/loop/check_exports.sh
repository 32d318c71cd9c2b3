#!/usr/bin/env bash
# The plug-in must export `main` and no other symbol of its own.
set -euo pipefail
plugin=$1
mapfile -t symbols < <(nm -D --defined-only "$plugin" | awk '{print $3}' | sort -u)
if [[ "${symbols[*]}" != "main" ]]; then
    echo "$plugin exports: ${symbols[*]}" >&2
    exit 1
fi
needed=$(objdump -p "$plugin" | awk '/NEEDED/ {print $2}' | sort | tr '\n' ' ')
echo "exports: main; needs: $needed"
for lib in $needed; do
    case "$lib" in
        libstdc++.so.*|libm.so.*|libgcc_s.so.*|libc.so.*|ld-linux*|libasan.so.*|libubsan.so.*) ;;
        *) echo "$plugin links $lib" >&2; exit 1 ;;
    esac
done
