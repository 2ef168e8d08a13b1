#!/bin/sh
# Runs a Windows console program of a build under Wine, with a prefix of the
# build's own (BUILD/wineprefix) and Wine's diagnostics off. A 32-bit build
# runs through its emulating Wine folder, BUILD/wine32 (made by
# tests/windows/wine32/make_loader.sh); a 64-bit build through the system's
# Wine.
#   wine-run.sh BUILD/bin/PROGRAM [ARGUMENTS]
#   wine-run.sh --prepare BUILD   creates the prefix, once, and waits until
#                                 Wine has written all of it
#   wine-run.sh --persist BUILD/bin/PROGRAM
#                                 starts the prefix's Wine server and services,
#                                 to run for 30 s after the last program ends,
#                                 so that a series of short runs does not start
#                                 them anew for each, and so that they do not
#                                 hold the output of the first of them open
set -eu
if [ "$1" = "--prepare" ]; then
  build_dir=$(cd "$2" && pwd)
elif [ "$1" = "--persist" ]; then
  build_dir=$(cd "$(dirname "$2")/.." && pwd)
else
  build_dir=$(cd "$(dirname "$1")/.." && pwd)
fi
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_dir=/usr/lib/wine
[ -d "$build_dir/wine32" ] && wine_dir="$build_dir/wine32/lib/wine"

if [ "$1" = "--persist" ]; then
  # An error here only means that a server is running already.
  "$wine_dir/wineserver" -p30 </dev/null >/dev/null 2>&1 || true
  exec "$wine_dir/wine64" "$2" --help </dev/null >/dev/null 2>&1
fi
if [ "$1" != "--prepare" ]; then
  exec "$wine_dir/wine64" "$@"
fi
# The mark is written last, so a prefix that an interrupted run left half
# made is made again. It names the 32-bit runtime whose files the prefix
# copied, so a new runtime gets a new prefix.
runtime=""
[ -f "$build_dir/wine32/runtime" ] && runtime=$(cat "$build_dir/wine32/runtime")
[ -f "$WINEPREFIX/.complete" ] && [ "$(cat "$WINEPREFIX/.complete")" = "$runtime" ] && exit 0
rm -rf "$WINEPREFIX"
"$wine_dir/wine64" wineboot --init
# Wine writes the registry when the prefix's server exits.
"$wine_dir/wineserver" -w
echo "$runtime" >"$WINEPREFIX/.complete"
