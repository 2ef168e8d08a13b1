#!/bin/bash
# Sets up the machine, then builds and passes every test: the native unit
# tests (plain and under AddressSanitizer and UndefinedBehaviorSanitizer),
# the shipping 32-bit DLL (its static checks, and the Windows test host
# running it under the 32-bit Wine, emulated by qemu), the same host against
# the 64-bit DLL under Wine, the date macros compared across both DLLs and
# the native command, the release checks, and a short pass of every fuzz
# target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
for preset in native native-asan win32 win64; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
  ctest --preset "$preset" -j "$jobs"
done
echo "== the date macros through both DLLs and the native command"
tests/windows/crosscheck/compare.sh 5000
echo "== release (reproducible builds and packages)"
scripts/release-checks.sh
echo "== fuzz (short pass)"
scripts/fuzz.sh short
echo "all tests passed"
