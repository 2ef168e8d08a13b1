#!/bin/sh
# Measures the overhead of `lintrel` itself: reading, splitting and printing.
#
#   bench/cli_bench.sh [LINTREL [MACRO]]
#
# Makes a 100 MB message and a 1 GB mailbox of 20,000 messages (one of them
# 25 MB, so that memory can be seen to follow the largest message and not the
# file) in a scratch folder that is removed afterwards, then runs
# `run --message` and `run --mbox` with a cheap macro (KOR_LN_VER, which reads
# nothing, and MACRO, by default KORMAILER, which reads the header block).
# Reports MB/s (file size / wall time, files already in the page cache) and
# peak resident memory. Targets: at least 500 MB/s; peak memory under four
# times the largest message.
set -eu
LINTREL=${1:-build/native/tools/lintrel}
MACRO=${2:-KORMAILER}
[ -x "$LINTREL" ] || { echo "cli_bench: no lintrel at $LINTREL (build it first)" >&2; exit 2; }
WORK=$(mktemp -d "${TMPDIR:-/tmp}/lintrel-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

python3 - "$LINTREL" "$MACRO" "$WORK" <<'PYTHON'
import os, subprocess, sys, time

lintrel, macro, work = sys.argv[1:4]
MB = 1_000_000

HEADER = (b"Received: from relay.example.org (relay.example.org [203.0.113.7])\r\n"
          b"\tby mx.example.net with ESMTP id 2f1c9e0a7b; Thu, 14 Mar 2024 08:26:15 +0000\r\n"
          b"Date: Thu, 14 Mar 2024 09:14:52 +0100\r\n"
          b"From: Marta Kovac <marta.kovac@example.org>\r\n"
          b"Subject: figures\r\n"
          b"Content-Type: text/plain; charset=UTF-8\r\n"
          b"X-Mailer: Wrenfield Mail 3.8.2\r\n\r\n")
LINE = b"The quarterly figures are at http://intranet.example.com/reports/q1.pdf ok\r\n"

def body(size):
    return LINE * (size // len(LINE))

def write_message(path, size):
    with open(path, "wb") as f:
        f.write(HEADER)
        f.write(body(size - len(HEADER)))
    return os.path.getsize(path)

def write_mbox(path, count, total, large):
    small = (total - large) // (count - 1)
    small_message = HEADER + body(small - len(HEADER) - 40)
    large_message = HEADER + body(large - len(HEADER))
    with open(path, "wb") as f:
        for n in range(count):
            f.write(b"From marta.kovac@example.org Thu Mar 14 08:26:15 2024\n")
            f.write(large_message if n == count // 2 else small_message)
            f.write(b"\n")
    return os.path.getsize(path), len(large_message)

def warm(path):
    with open(path, "rb") as f:
        while f.read(1 << 24):
            pass

TIME = "/usr/bin/time" if os.access("/usr/bin/time", os.X_OK) else None

# The peak memory of a process counts the pages of its parent before the
# exec, so lintrel is started from a small parent: GNU time when installed,
# else a fresh interpreter that reports the child's usage itself.
SPAWN = ("import os, sys\n"
         "pid = os.fork()\n"
         "if pid == 0:\n"
         "    os.execv(sys.argv[1], sys.argv[1:])\n"
         "_, status, usage = os.wait4(pid, 0)\n"
         "print(usage.ru_maxrss, file=sys.stderr)\n"
         "sys.exit(os.waitstatus_to_exitcode(status))\n")

def measure(args):
    """Runs lintrel once; answers (seconds, peak resident KiB, stdout bytes)."""
    rss_file = os.path.join(work, "rss")
    if TIME:
        command = [TIME, "-f", "%M", "-o", rss_file, lintrel, *args]
    else:
        command = [sys.executable, "-c", SPAWN, lintrel, *args]
    with open(os.path.join(work, "out"), "wb") as out, open(rss_file + ".err", "wb") as err:
        start = time.perf_counter()
        code = subprocess.call(command, stdout=out, stderr=err)
        seconds = time.perf_counter() - start
    if code not in (0, 1):
        sys.exit(f"cli_bench: lintrel {' '.join(args)} exited {code}")
    with open(rss_file if TIME else rss_file + ".err") as f:
        rss = int(f.read().split()[-1])
    return seconds, rss, os.path.getsize(os.path.join(work, "out"))

def best(args, runs=3):
    results = [measure(args) for _ in range(runs)]
    return min(r[0] for r in results), max(r[1] for r in results), results[0][2]

baseline_kib = best(["run", "KOR_LN_VER"])[1]
print(f"lintrel baseline (built-in sample, nothing read): peak RSS {baseline_kib / 1024:.1f} MiB")

message = os.path.join(work, "big.eml")
size = write_message(message, 100 * MB)
warm(message)
for name in ("KOR_LN_VER", macro):
    seconds, rss, _ = best(["run", "--message", message, name])
    print(f"run --message ({size / MB:.0f} MB) {name:<11} {size / MB / seconds:8.0f} MB/s"
          f"  peak RSS {rss / 1024:6.1f} MiB = {rss * 1024 / size:.2f} x message")
os.remove(message)

mbox = os.path.join(work, "box.mbox")
size, large = write_mbox(mbox, 20_000, 1000 * MB, 25 * MB)
warm(mbox)
for name in ("KOR_LN_VER", macro):
    seconds, rss, out = best(["run", "--mbox", mbox, name], runs=2)
    print(f"run --mbox ({size / MB:.0f} MB, 20000 messages, largest {large / MB:.0f} MB) {name:<11}"
          f" {size / MB / seconds:8.0f} MB/s  peak RSS {rss / 1024:6.1f} MiB ="
          f" {rss * 1024 / large:.2f} x largest message ({(rss - baseline_kib) * 1024 / large:.2f} x"
          f" above the baseline); {out} bytes of output")
PYTHON
