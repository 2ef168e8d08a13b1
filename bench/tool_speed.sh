#!/bin/sh
# Compares `lintrel` on one large text with the line tools a user would
# compare it with, whole process against whole process.
#
#   bench/tool_speed.sh [LINTREL [RUNS]]
#
# Makes a 64 MB and a 16 MB mail text (quoted lines at several depths,
# links, plain lines; CR LF line breaks; the same bytes every time) in a
# scratch folder that is removed afterwards, then runs each pair below RUNS
# times (default 5) in turn, A B A B ..., after one run of each that is not
# counted. No output goes to /dev/null, where GNU grep stops early: each pair
# is run three times, with lintrel writing a file of its own (--output FILE,
# where it writes the result as the plug-in stores it) and the tool a new
# file ("> file"; GNU cat then copies file to file inside the kernel, its
# speed as a user sees it); both writing to a new file that the shell opened
# ("> file"); and both into a pipe read by cat ("| cat > file", the whole
# pipeline timed). Prints the median wall time of each command, the median of
# the ratios lintrel / tool pair by pair, the target (for the runs with
# --output), and lintrel's peak memory (/usr/bin/time %M) against the size
# of its input.
set -eu
LINTREL=${1:-build/native/tools/lintrel}
RUNS=${2:-5}
[ -x "$LINTREL" ] || { echo "tool_speed: no lintrel at $LINTREL (build it first)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "tool_speed: needs GNU time (/usr/bin/time)" >&2; exit 2; }
WORK=$(mktemp -d "${TMPDIR:-/tmp}/lintrel-speed.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

python3 - "$LINTREL" "$RUNS" "$WORK" <<'PYTHON'
import os, shlex, statistics, subprocess, sys, time

lintrel, runs, work = os.path.abspath(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
MB = 1_000_000

LINES = [
    b"Hi Jonas, thanks; the figures for the Lisbon office look right to me now.",
    b"The full report is at http://intranet.example.com/reports/2024-q1.pdf for everyone.",
    b"> Could you check the Lisbon numbers before Friday? Paulo sent his corrections.",
    b">> Reminder: the agenda is at ftp://ftp.example.org/pub/agenda.txt, room 3 at 10:00.",
    b">>> Lisbon figures are still missing from the draft of the quarterly review.",
    b"> > An older client quotes with blanks between: HTTP://WWW.EXAMPLE.NET/Index.html?a=1",
    b"",
    b"Plain words of a reply that go on for a while, with nothing in them to find at all.",
]

def make_text(path, size):
    """A mail text of `size` bytes of whole CR LF lines, the same every time."""
    state = 20240315
    out = bytearray()
    while len(out) < size:
        state = (state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        out += LINES[(state >> 33) % len(LINES)] + b"\r\n"
    cut = out.rfind(b"\r\n", 0, size) + 2
    with open(path, "wb") as f:
        f.write(out[:cut])
    # Read once, so that every run finds it in the page cache.
    with open(path, "rb") as f:
        while f.read(1 << 24):
            pass
    return cut

def run(command, output, how):
    """One whole-process run writing `output` the way `how` says ("--output",
    "> file" or "| cat > file"): (wall seconds, peak resident KiB)."""
    memory = os.path.join(work, "memory")
    piped = how == "| cat > file"
    own = how == "--output" and command[0] == lintrel
    if own:
        command = [command[0], command[1], "--output", output, *command[2:]]
    # A new file each time: the old one's pages are freed before the clock runs.
    if os.path.exists(output):
        os.remove(output)
    with open(os.devnull if own else output, "wb") as out:
        start = time.perf_counter()
        timed = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", memory, *command],
                                 stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE if piped else out)
        if piped:
            reader = subprocess.Popen(["cat"], stdin=timed.stdout, stdout=out)
            timed.stdout.close()
            reader.wait()
        code = timed.wait()
        seconds = time.perf_counter() - start
    if code != 0:
        sys.exit(f"tool_speed: {' '.join(command)} exited {code}")
    with open(memory) as f:
        return seconds, int(f.read().split()[-1])

def shown(command):
    """The command as a shell would take it, the texts by their short names."""
    return shlex.join(names.get(word, word) for word in command)

def compare(name, mine, tool, size, target, within):
    mine_out, tool_out = os.path.join(work, "lintrel.out"), os.path.join(work, "tool.out")
    print(f"{name}: {shown(['lintrel', *mine[1:]])}  against  {shown(tool)}")
    for how in ("--output", "> file", "| cat > file"):
        run(mine, mine_out, how)
        run(tool, tool_out, how)
        pairs = []
        for _ in range(runs):
            pairs.append((run(mine, mine_out, how), run(tool, tool_out, how)))
        mine_s = statistics.median(p[0][0] for p in pairs)
        tool_s = statistics.median(p[1][0] for p in pairs)
        ratio = statistics.median(p[0][0] / p[1][0] for p in pairs)
        peak = max(p[0][1] for p in pairs) * 1024
        # The targets are for the whole process writing a file of its own;
        # a file the shell opened may be shared, so lintrel copies the result
        # once and writes it at the end, and a pipe shows what streaming adds,
        # which lintrel, whose result is whole only when the macro returns,
        # cannot have.
        verdict = f"{within}: {'ok' if ratio <= target else 'MISSED'}" if how == "--output" \
            else "for comparison"
        print(f"  {how:<12} lintrel {mine_s:6.3f} s"
              f"  {tool[0]} {tool_s:6.3f} s  ratio {ratio:5.2f} ({verdict})"
              f"  peak {peak / (1 << 20):5.1f} MiB = {peak / size:4.2f} x input")
    return mine_out, tool_out

with open("/sys/kernel/mm/transparent_hugepage/enabled") as f:
    huge_pages = f.read().strip()
big = os.path.join(work, "text64.txt")
mid = os.path.join(work, "text16.txt")
big_size, mid_size = make_text(big, 64 * MB), make_text(mid, 16 * MB)
names = {big: "T64", mid: "T16"}
print(f"lintrel against line tools on T64 and T16, texts of {big_size / MB:.0f} MB and "
      f"{mid_size / MB:.0f} MB; {runs} runs of each in turn, medians; "
      f"transparent huge pages: {huge_pages}")

mine, tool = compare("KORKILLCITE (64 MB)", [lintrel, "run", "--param-file", "0", big, "KORKILLCITE"],
                     ["grep", "-avF", ">>", big], big_size, 1.0, "no slower")
with open(mine, "rb") as a, open(tool, "rb") as b:
    if a.read() != b.read():
        sys.exit("tool_speed: KORKILLCITE and grep -v kept other lines")
compare("KORGETLINKS (64 MB)", [lintrel, "run", "--param-file", "0", big, "KORGETLINKS"],
        ["grep", "-aoiE", "(http|ftp):[!-:@_a-zA-Z~]*", big],
        big_size, 0.2, "at most 1/5")
compare("KORCITE count 10 (64 MB)", [lintrel, "run", "--param-file", "0", big, "KORCITE", "", "", "10"],
        ["cat", big], big_size, 2.0, "within 2x")
compare("KORMKLINK (16 MB)", [lintrel, "run", "--param-file", "0", mid, "KORMKLINK"],
        ["cat", mid], mid_size, 4.0, "within 4x")
PYTHON
