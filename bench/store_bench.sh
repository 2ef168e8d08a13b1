#!/bin/bash
# Compares `lintrel` over a whole mail store with the tools a user would
# search the same store with, whole process against whole process.
#
#   bench/store_bench.sh [--lintrel PATH] [--count N] [--runs N]
#
# --lintrel  the command to time (default build/native/tools/lintrel)
# --count    messages in the store (default 50000, about 400 MB)
# --runs     timed runs of each command of a pair (default 5, at least 3)
#
# Makes a Maildir and an mbox of the same generated messages with
# bench/make_store.py in build/bench/store/, and reuses them while the
# generator and the count stay the same. Installs ripgrep, mblaze (mlist,
# mhdr) and GNU time with apt-get when they are missing. Then runs each pair
# below RUNS times in turn, A B A B ..., after one run of each that is not
# timed and whose output is counted, so that a reader sees both found the
# same fields or links. Prints the median wall time of each, the median of
# the ratios lintrel / tool pair by pair with its target, and lintrel's peak
# memory (/usr/bin/time %M).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

lintrel=$root/build/native/tools/lintrel
count=50000
runs=5
fail() {
  echo "store_bench: $*" >&2
  exit 2
}
usage() {
  echo "usage: bench/store_bench.sh [--lintrel PATH] [--count N] [--runs N]"
}
while (($# > 0)); do
  case "$1" in
    --lintrel) (($# > 1)) || fail "$(usage)"; lintrel=$2; shift 2 ;;
    --count) (($# > 1)) || fail "$(usage)"; count=$2; shift 2 ;;
    --runs) (($# > 1)) || fail "$(usage)"; runs=$2; shift 2 ;;
    -h | --help) usage; exit 0 ;;
    *) fail "$(usage)" ;;
  esac
done
[[ "$count" =~ ^[1-9][0-9]*$ ]] || fail "--count wants a number of messages"
if ! [[ "$runs" =~ ^[0-9]+$ ]] || ((runs < 3)); then
  fail "--runs wants 3 or more"
fi
[[ -x "$lintrel" ]] || fail "no lintrel at $lintrel (build it first)"

# The tools compared with, and what the script itself runs on.
missing=()
command -v rg >/dev/null || missing+=(ripgrep)
{ command -v mlist && command -v mhdr; } >/dev/null || missing+=(mblaze)
[[ -x /usr/bin/time ]] || missing+=(time)
command -v python3 >/dev/null || missing+=(python3)
if ((${#missing[@]} > 0)); then
  sudo=()
  if ((EUID != 0)); then
    command -v sudo >/dev/null || fail "needs ${missing[*]}; install them as root"
    sudo=(sudo)
  fi
  echo "store_bench: installing ${missing[*]} with apt-get"
  # shellcheck source=scripts/archive.sh
  source "$root/scripts/archive.sh"
  apt_get=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q
           -o DPkg::Lock::Timeout=600 --no-install-recommends)
  log=$(mktemp)
  if ! "${apt_get[@]}" install "${missing[@]}" >"$log" 2>&1; then
    # A machine that never read the archive's index has nothing to install from.
    update_indexes "${apt_get[@]}"
    if ! "${apt_get[@]}" install "${missing[@]}" >"$log" 2>&1; then
      echo "store_bench: apt-get cannot install ${missing[*]}:" >&2
      apt_reason "$log" >&2
      rm -f "$log"
      exit 1
    fi
  fi
  rm -f "$log"
fi

# The store is remade when the generator or the count changes; it is written
# beside its final place and moved there whole, so that a run cut short
# leaves nothing that looks finished.
store=$root/build/bench/store
key="$(sha256sum <"$here/make_store.py" | cut -d' ' -f1) $count"
if [[ -f "$store/key" && "$(cat "$store/key")" == "$key" ]]; then
  echo "store: reusing $store: $(cat "$store/summary")"
else
  echo "store: making $count messages in $store ..."
  rm -rf "$store" "$store.new"
  mkdir -p "$store.new"
  start=$SECONDS
  summary=$(python3 "$here/make_store.py" "$count" "$store.new")
  echo "$summary; made in $((SECONDS - start)) s" >"$store.new/summary"
  echo "$key" >"$store.new/key"
  mv "$store.new" "$store"
  echo "store: $(cat "$store/summary")"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/lintrel-store.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

python3 - "$lintrel" "$runs" "$store" "$work" <<'PYTHON'
import os, shlex, statistics, subprocess, sys, time

lintrel, runs, store, work = os.path.abspath(sys.argv[1]), int(sys.argv[2]), *sys.argv[3:5]
maildir, mbox = os.path.join(store, "Maildir"), os.path.join(store, "store.mbox")
MB = 1_000_000
# GNU grep that writes to /dev/null stops reading a file at its first match,
# -c included, which would leave grep -c next to nothing to do; the timed runs
# write to /dev/zero, which discards writes the same way.
SINK = "/dev/zero"

def run(command, output=SINK):
    """One whole-process run: (wall seconds, peak resident KiB)."""
    memory = os.path.join(work, "memory")
    with open(output, "wb") as out:
        start = time.perf_counter()
        code = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", memory, *command], stdout=out)
        seconds = time.perf_counter() - start
    # grep, rg and mhdr answer 1 when they find nothing, which the counts show.
    if code not in ((0,) if command[0] == lintrel else (0, 1)):
        sys.exit(f"store_bench: {' '.join(command)} exited {code}")
    with open(memory) as f:
        return seconds, int(f.read().split()[-1])

def records(output):
    """The results of lintrel's tab-separated records."""
    with open(output, "rb") as f:
        return [line.rstrip(b"\n").rsplit(b"\t", 1)[-1] for line in f]

def mailers(output):
    results = records(output)
    found = sum(1 for r in results if r != b"<unknown>")
    return f"{found} of its {len(results)} records name a mailer"

def links(output):
    # A record holds its message's links with their CR LF written as \r\n.
    results = records(output)
    found = sum(r.count(b"\\r\\n") + 1 for r in results if r)
    return f"{found} links in its {len(results)} records"

def lines(output):
    with open(output, "rb") as f:
        return f"{sum(1 for _ in f)} lines"

def count(output):
    with open(output) as f:
        return f"count {f.read().strip()}"

def shown(command):
    """The command as a shell would take it, the store by its short names."""
    return " ".join(names.get(word, shlex.quote(word)) for word in command)

peaks = []

def job(name, mine, tally, against):
    """Times lintrel MINE against each (tool, how its output is counted, target) in turn."""
    mine = [lintrel, *mine]
    mine_out = os.path.join(work, "lintrel.out")
    run(mine, mine_out)
    print(f"{name}: lintrel {shown(mine[1:])}  ({tally(mine_out)})")
    for tool, tool_tally, target in against:
        tool_out = os.path.join(work, "tool.out")
        run(tool, tool_out)
        piped = tool[:2] == ["sh", "-c"]
        title, label = (tool[3], "mlist | mhdr") if piped else (shown(tool), tool[0])
        print(f"  against {title}  ({tool_tally(tool_out)})")
        pairs = [(run(mine), run(tool)) for _ in range(runs)]
        mine_s = statistics.median(p[0][0] for p in pairs)
        tool_s = statistics.median(p[1][0] for p in pairs)
        ratio = statistics.median(p[0][0] / p[1][0] for p in pairs)
        peak = max(p[0][1] for p in pairs) * 1024
        peaks.append(peak)
        verdict = "for comparison" if target is None else \
            f"target at most {target:.1f}: {'ok' if ratio <= target else 'MISSED'}"
        print(f"    lintrel {mine_s:6.3f} s  {label} {tool_s:6.3f} s  ratio {ratio:5.2f}"
              f" ({verdict})  lintrel peak {peak / MB:5.1f} MB")

def version(command):
    return subprocess.run(command, capture_output=True, text=True).stdout.splitlines()[0]

with open("/sys/kernel/mm/transparent_hugepage/enabled") as f:
    huge_pages = f.read().strip()
names = {maildir: "DIR", mbox: "BOX"}
size = sum(os.path.getsize(os.path.join(folder, name))
           for folder in (os.path.join(maildir, "cur"), os.path.join(maildir, "new"))
           for name in os.listdir(folder))
print(f"DIR = {maildir} ({size / MB:.0f} MB), BOX = {mbox} ({os.path.getsize(mbox) / MB:.0f} MB)")
print(f"lintrel {version([lintrel, '--version'])}, {version(['grep', '--version'])},"
      f" {version(['rg', '--version'])}; {runs} runs of each in turn, medians;"
      f" output to {SINK}; transparent huge pages: {huge_pages}")

job("Maildir KORMAILER", ["run", "-i", maildir, "KORMAILER"], mailers, [
    (["grep", "-r", "-m1", "-h", "^X-Mailer:", maildir], lines, 0.6),
    (["rg", "-m1", "--no-filename", "-N", "^X-Mailer:", maildir], lines, 0.8),
    (["sh", "-c", 'mlist "$1" | mhdr -h X-Mailer', "mlist DIR | mhdr -h X-Mailer", maildir],
     lines, None),
])
# lintrel hands KORGETLINKS each message's text part, decoded; rg searches
# every byte, HTML alternatives and attachments too, so it finds more links.
job("Maildir KORGETLINKS", ["run", "-i", maildir, "KORGETLINKS"], links, [
    (["rg", "-o", "-i", "--no-filename", "(http|ftp)://[^[:space:]]+", maildir], lines, 0.6),
])
job("mbox KORMAILER", ["run", "-i", mbox, "KORMAILER"], mailers, [
    (["grep", "-c", "^X-Mailer:", mbox], count, 1.0),
])
print(f"lintrel's peak memory over the store: {max(peaks) / MB:.1f} MB"
      f" (target under 100 MB: {'ok' if max(peaks) < 100 * MB else 'MISSED'})")
PYTHON
