#!/bin/bash
# Builds the libFuzzer targets and runs each from its seeds, as many at once
# as there are processors.
#   scripts/fuzz.sh short        about 20 seconds a target (what CI runs)
#   scripts/fuzz.sh long [SECS]  SECS seconds a target (default 600)
#   scripts/fuzz.sh long 600 NAME   one target only (NAME as in fuzz/NAME_fuzz.cpp)
# A finding stops the run with a non-zero status; the crashing input is
# left in build/fuzz/findings/. The grown corpus stays in build/fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-short}"
seconds=20
[[ "$mode" == "long" ]] && seconds="${2:-600}"
only="${3:-}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null

mkdir -p build/fuzz/findings

# Runs one target; its verdict goes to build/fuzz/NAME.verdict, its exit
# status to build/fuzz/NAME.status.
fuzz_one() {
  local program=$1 name
  name=$(basename "$program" _fuzz)
  local corpus="build/fuzz/corpus/$name" seeds="fuzz/corpus/$name" log="build/fuzz/$name.log"
  mkdir -p "$corpus"
  [[ -d "$seeds" ]] || seeds=""
  if "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$name-" \
       "$corpus" $seeds >"$log" 2>&1; then
    local stats coverage
    stats=$(grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" |
            sed 's/^stat:://' | tr -s ' ' | tr '\n' ' ')
    coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -1)
    echo "fuzz $name: ok, ${seconds}s, $coverage, $stats" >"build/fuzz/$name.verdict"
    echo 0 >"build/fuzz/$name.status"
  else
    { echo "fuzz $name: FINDING (see $log)"; tail -40 "$log"; } >"build/fuzz/$name.verdict"
    echo 1 >"build/fuzz/$name.status"
  fi
}

# The targets run side by side, one a processor; their verdicts are printed
# in order once all have run.
names=()
running=0
for program in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$program" _fuzz)
  [[ -n "$only" && "$name" != "$only" ]] && continue
  names+=("$name")
  rm -f "build/fuzz/$name.verdict" "build/fuzz/$name.status"
  fuzz_one "$program" &
  if ((++running >= $(nproc))); then
    wait -n
    running=$((running - 1))
  fi
done
wait
status=0
for name in "${names[@]}"; do
  cat "build/fuzz/$name.verdict"
  [[ "$(cat "build/fuzz/$name.status")" == 0 ]] || status=1
done
exit $status
