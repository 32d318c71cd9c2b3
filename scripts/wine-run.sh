#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs one 64-bit Windows program under Wine in the Wine
# prefix PREFIX (created by whichever run comes first), quietly and without the .NET and HTML
# installers.
set -euo pipefail
if (($# < 2)); then
    echo "usage: $0 PREFIX PROGRAM [ARGS...]" >&2
    exit 2
fi
wine=/usr/lib/wine/wine64
export WINEPREFIX=$1
shift
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
            "$wine" wineboot --init >/dev/null 2>&1 9>&-
            /usr/lib/wine/wineserver -w 9>&-
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
