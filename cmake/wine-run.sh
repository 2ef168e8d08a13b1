#!/bin/sh
# Runs a Windows console program under Wine with a prefix inside the build
# tree (next to the program's bin folder) and Wine's own diagnostics off.
program="$1"
shift
build_dir=$(cd "$(dirname "$program")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$build_dir/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
exec "$wine" "$program" "$@"
