#!/usr/bin/env bash
# The Windows DLL must export `main` alone, under that plain name, and import only DLLs that every
# Windows machine has: the compiler's runtime is linked in.
set -euo pipefail
objdump=$1
dll=$2
expected_format=$3
tables=$(mktemp)
trap 'rm -f "$tables"' EXIT
if ! "$objdump" -p "$dll" >"$tables"; then
    echo "$dll: $objdump cannot read it" >&2
    exit 1
fi
format=$(awk '/file format/ {print $NF; exit}' "$tables")
if [[ "$format" != "$expected_format" ]]; then
    echo "$dll: file format $format, expected $expected_format" >&2
    exit 1
fi
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on = 1; next}
               on && NF == 0 {exit}
               on {print $NF}' "$tables" | sort | tr '\n' ' ')
if [[ "$exports" != "main " ]]; then
    echo "$dll exports: ${exports:-nothing}" >&2
    exit 1
fi
imports=$(awk '/DLL Name:/ {print $3}' "$tables" | sort | tr '\n' ' ')
for lib in $imports; do
    case "${lib,,}" in
        kernel32.dll|msvcrt.dll) ;;
        *) echo "$dll imports $lib (imports: $imports)" >&2; exit 1 ;;
    esac
done
echo "$format; exports: main; imports: $imports"
