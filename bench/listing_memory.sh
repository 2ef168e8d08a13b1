#!/bin/bash
# The peak memory of `lintrel` over many inputs: a list of a million paths,
# and one folder named two thousand times. Memory is to stay bounded by the
# largest folder and the per-thread buffers, never by the number of inputs.
#
#   bench/listing_memory.sh [--lintrel PATH] [--against PATH] [--paths N] [--times N]
#
# --lintrel  the command measured (default build/native/tools/lintrel)
# --against  another lintrel, measured the same way, whose output must be
#            the same bytes (an earlier build, say)
# --paths    paths in the list (default 1000000)
# --times    times the folder is named (default 2000)
#
# Makes a folder of 500 small messages in a scratch folder, which it removes
# afterwards, and a list that names its files over and over; prints each
# run's peak resident memory (GNU time's %M) against the target of 64 MB.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

lintrel=$root/build/native/tools/lintrel
against=""
paths=1000000
times=2000
fail() {
  echo "listing_memory: $*" >&2
  exit 2
}
usage() {
  echo "usage: bench/listing_memory.sh [--lintrel PATH] [--against PATH] [--paths N] [--times N]"
}
while (($# > 0)); do
  case "$1" in
    --lintrel) (($# > 1)) || fail "$(usage)"; lintrel=$2; shift 2 ;;
    --against) (($# > 1)) || fail "$(usage)"; against=$2; shift 2 ;;
    --paths) (($# > 1)) || fail "$(usage)"; paths=$2; shift 2 ;;
    --times) (($# > 1)) || fail "$(usage)"; times=$2; shift 2 ;;
    -h | --help) usage; exit 0 ;;
    *) fail "$(usage)" ;;
  esac
done
[[ "$paths" =~ ^[1-9][0-9]*$ && "$times" =~ ^[1-9][0-9]*$ ]] || fail "$(usage)"
[[ -x "$lintrel" ]] || fail "no lintrel at $lintrel (build it first)"
[[ -z "$against" || -x "$against" ]] || fail "no lintrel at $against"
if [[ ! -x /usr/bin/time ]]; then
  sudo=()
  ((EUID == 0)) || sudo=(sudo)
  echo "listing_memory: installing time with apt-get" >&2
  "${sudo[@]}" apt-get update -qq >/dev/null && "${sudo[@]}" apt-get install -y -qq time >/dev/null
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/folder"
for ((n = 0; n < 500; n++)); do
  printf 'X-Mailer: Mailer %d\nSubject: message %d\n\nbody %d\n' "$n" "$n" "$n" \
    >"$scratch/folder/$(printf 'm%03d.eml' "$n")"
done
python3 - "$scratch" "$paths" <<'EOF'
import sys
folder, count = sys.argv[1], int(sys.argv[2])
with open(f"{folder}/list.txt", "w") as f:
    f.writelines(f"{folder}/folder/m{n % 500:03d}.eml\n" for n in range(count))
EOF
named=()
for ((n = 0; n < times; n++)); do named+=(-i "$scratch/folder"); done

# Runs one lintrel on one input; prints its peak in MB, and leaves its
# output in $scratch/NAME.out.
measure() {
  local command=$1 name=$2
  shift 2
  /usr/bin/time -f %M -o "$scratch/$name.kb" "$command" run "$@" KORMAILER \
    >"$scratch/$name.out" 2>"$scratch/$name.err" || true
  awk '{ printf "%.1f", $1 / 1024 }' "$scratch/$name.kb"
}

echo "lintrel $("$lintrel" --version | head -1); target: a peak under 64 MB"
for input in list folder; do
  if [[ $input == list ]]; then
    what="a list of $paths paths (--files-from)"
    args=(--files-from "$scratch/list.txt")
  else
    what="one folder of 500 files named $times times (-i)"
    args=("${named[@]}")
  fi
  peak=$(measure "$lintrel" "new-$input" "${args[@]}")
  verdict=$(awk -v p="$peak" 'BEGIN { print (p < 64 ? "ok" : "MISSED") }')
  records=$(wc -l <"$scratch/new-$input.out")
  line="$what: $records records, peak $peak MB ($verdict)"
  if [[ -n "$against" ]]; then
    before=$(measure "$against" "old-$input" "${args[@]}")
    same="the same output"
    cmp -s "$scratch/new-$input.out" "$scratch/old-$input.out" || same="OTHER OUTPUT"
    line+="; $against: peak $before MB, $same"
  fi
  echo "$line"
done
