#!/bin/bash
# The shipping 32-bit DLL does its date arithmetic on the x87 unit, the
# 64-bit build and the native command on SSE. This runs the date macros on a
# few thousand generated messages through all three and compares the
# results byte for byte: the spans with the native command too; the
# rendered delivery date between the two DLLs, which read the same regional
# settings.
#   compare.sh COUNT     (after scripts/test.sh has built the presets)
set -euo pipefail
cd "$(dirname "$0")/../../.."
count="${1:-5000}"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

tests/windows/crosscheck/make_mbox.py "$count" 1 >"$scratch/cases.mbox"
status=0
for macro in KORDELIVERYTIME KORDELIVERYTODATE; do
  for build in win32 win64; do
    cmake/wine-run.sh "build/$build/bin/lintrel_crosscheck.exe" "$scratch/cases.mbox" "$macro" \
      >"$scratch/$build.txt"
  done
  outputs=(win32 win64)
  if [[ "$macro" == KORDELIVERYTIME ]]; then
    build/native/tools/lintrel run --mbox "$scratch/cases.mbox" "$macro" >"$scratch/native.txt" || true
    outputs+=(native)
  fi
  for output in "${outputs[@]:1}"; do
    if ! cmp -s "$scratch/win32.txt" "$scratch/$output.txt"; then
      echo "FAIL: $macro: the 32-bit DLL and $output differ:"
      diff "$scratch/win32.txt" "$scratch/$output.txt" | head -10
      status=1
    fi
  done
  lines=$(wc -l <"$scratch/win32.txt")
  (( lines == count )) || { echo "FAIL: $macro: $lines results for $count messages"; status=1; }
  (( status == 0 )) && echo "$macro: ${outputs[*]} agree on $count generated messages"
done
exit $status
