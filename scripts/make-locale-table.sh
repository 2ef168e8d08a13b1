#!/bin/bash
# Makes tools/locales/locale_table.cpp again from the regional settings that
# Windows has for each of its locales, as Wine implements them: builds
# scripts/locale_table/dump_locales.cpp with mingw-w64, runs it under the
# system's 64-bit Wine in a prefix of its own (build/locale-table/), and
# formats what it wrote with scripts/locale_table/make_table.py. Wine runs
# in the C locale, so that the locales without an ANSI code page of their
# own are written in 1252, as on a Western system.
#   scripts/make-locale-table.sh     (after scripts/setup.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
work=build/locale-table
mkdir -p "$work"
x86_64-w64-mingw32-g++ -std=c++20 -O1 -static -o "$work/dump_locales.exe" \
  scripts/locale_table/dump_locales.cpp
export WINEPREFIX="$PWD/$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
LC_ALL=C /usr/lib/wine/wine64 "$work/dump_locales.exe" >"$work/dump.txt" 2>"$work/wine.log"
/usr/lib/wine/wineserver -w
scripts/locale_table/make_table.py "$work/dump.txt" >"$work/locale_table.cpp"
mv "$work/locale_table.cpp" tools/locales/locale_table.cpp
echo "tools/locales/locale_table.cpp: $(head -3 tools/locales/locale_table.cpp | tail -1 | cut -c4-)"
echo "  $(wc -c <tools/locales/locale_table.cpp) bytes"
