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

# The times of the stages that ran are listed at the end, passed or not, so
# that a slow machine's log shows where its time went.
timings=()
list_times() {
  ((${#timings[@]} == 0)) || printf '%s\n' "time taken:" "${timings[@]/#/  }"
}
trap list_times EXIT
stage() {
  local name=$1 started=$SECONDS
  shift
  echo "== $name"
  "$@"
  timings+=("$name $((SECONDS - started)) s")
}
build_and_test() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs" >/dev/null
  ctest --preset "$1" -j "$jobs"
}

jobs=$(nproc)
stage setup scripts/setup.sh
for preset in native native-asan win32 win64; do
  stage "$preset" build_and_test "$preset"
done
stage "the date macros through both DLLs and the native command" \
  tests/windows/crosscheck/compare.sh 5000
stage "release (reproducible builds and packages)" scripts/release-checks.sh
stage "fuzz (short pass)" scripts/fuzz.sh short
echo "all tests passed"
