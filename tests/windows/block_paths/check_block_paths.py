#!/usr/bin/env python3
"""Which block searches the 32-bit DLL takes on processors with and without
SSE2 and SSSE3, and that each gives the same bytes.

Runs lintrel_block_paths under the emulated 32-bit Wine on four of qemu's
processor models, with qemu logging the DLL's code as it translates it to run
it (the in_asm log, limited to the DLL's addresses). The DLL's unstripped twin
names the functions that code belongs to:

- pentium3 has SSE but not SSE2, so the DLL must keep to the eight-byte
  searches. qemu runs SSE2 instructions on this model all the same, so the log
  must show that no SSE2 or SSSE3 function and no instruction on an XMM
  register ran.
- core2duo without SSE2 (SSSE3 left, as a virtual machine may show it): the
  same.
- core2duo without SSSE3: every SSE2 search must run, the SSSE3 escaping must
  not (qemu refuses its instructions here).
- core2duo: both.

On every model, instructions on XMM registers may run only inside those
functions, and every run must print the same bytes.

usage: check_block_paths.py WINE_RUN PROGRAM DLL DEBUG_DLL OBJDUMP
"""
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

# The qemu model, what it has, and the searches the DLL must take on it.
MODELS = [
    ("pentium3", "SSE only", set()),
    ("core2duo,-sse2", "SSSE3 but no SSE2", set()),
    ("core2duo,-ssse3", "SSE2, no SSSE3", {"sse2"}),
    ("core2duo", "SSE2 and SSSE3", {"sse2", "ssse3"}),
]

# The functions of the SSE2 searches and of the SSSE3 escaping, as the DLL's
# symbols name them (without their parameters). The texts that the program
# runs lead through each of them.
VECTOR_SEARCHES = {
    "sse2::AllBreaksAreCrLf": "sse2",
    "sse2::CountNonAlphanumeric": "sse2",
    "sse2::FindFirstOf<(char)13, (char)10, (char)0>": "sse2",
    "sse2::FindEitherLetters<(char)104, (char)116, (char)116, (char)102, (char)116, (char)112>": "sse2",
    "sse2::FindQuoteOrNul": "sse2",
    "ssse3::EscapeBlocks": "ssse3",
}

INSTRUCTION = re.compile(r"^0x([0-9a-f]+):\s+[0-9a-f]{2}(?: [0-9a-f]{2})*\s+(\S+)(.*)$")
FUNCTION = re.compile(r"^([0-9a-f]+) <(.*)>:$")
VECTOR_FUNCTION = re.compile(r"::(sse2|ssse3)::(\w+(?:<[^>]*>)?)")


def image_range(objdump, dll):
    """The DLL's preferred load address and the size of its image."""
    headers = subprocess.run([objdump, "-p", dll], check=True, capture_output=True,
                             text=True).stdout
    base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
    size = int(re.search(r"^SizeOfImage\s+([0-9a-f]+)", headers, re.M).group(1), 16)
    return base, size


def vector_functions(objdump, debug_dll):
    """(start, end, instruction set, short name) of each function of the SSE2
    searches and of the SSSE3 escaping."""
    disassembly = subprocess.run([objdump, "-d", "-C", "--no-show-raw-insn", debug_dll],
                                 check=True, capture_output=True, text=True).stdout
    labels = [(int(m.group(1), 16), m.group(2))
              for m in map(FUNCTION.match, disassembly.splitlines()) if m]
    labels.sort()
    functions = []
    for (start, name), (end, _) in zip(labels, labels[1:]):
        if m := VECTOR_FUNCTION.search(name):
            functions.append((start, end, m.group(1), f"{m.group(1)}::{m.group(2)}"))
    return functions


def translated(log_dir):
    """(address, mnemonic, operands) of every instruction in the qemu logs."""
    instructions = []
    for log in sorted(log_dir.glob("qemu.*.log")):
        for line in log.read_text(errors="replace").splitlines():
            if m := INSTRUCTION.match(line):
                instructions.append((int(m.group(1), 16), m.group(2), m.group(3)))
    return instructions


def check_model(model, has, expected_sets, args, functions, image, scratch):
    """Runs the program on `model`; returns its output and the failures."""
    wine_run, program = args[0], args[1]
    base, size = image
    log_dir = scratch / model.replace(",", "_")
    log_dir.mkdir()
    env = dict(os.environ, QEMU_CPU=model, QEMU_LOG="in_asm",
               QEMU_DFILTER=f"0x{base:x}+0x{size:x}",
               QEMU_LOG_FILENAME=str(log_dir / "qemu.%d.log"))
    run = subprocess.run([wine_run, program], env=env, capture_output=True, timeout=300)
    failures = []
    if run.returncode != 0:
        failures.append(f"exit status {run.returncode}: {run.stderr.decode(errors='replace')}")
    first_line = run.stdout.split(b"\n", 1)[0].decode(errors="replace")
    if first_line != f"KOR_LINTREL.TBP loaded at 0x{base:08x}":
        failures.append(f"the DLL is not where the log looks: {first_line!r}")

    instructions = translated(log_dir)
    ran = {}
    outside = []
    counts = {}
    for address, mnemonic, operands in instructions:
        owner = next((f for f in functions if f[0] <= address < f[1]), None)
        if owner:
            ran[owner[3]] = owner[2]
        if "%xmm" in operands:
            counts[mnemonic] = counts.get(mnemonic, 0) + 1
            if owner is None:
                outside.append(f"0x{address:x} {mnemonic}{operands}")
    if not instructions:
        failures.append("the log shows no code of the DLL")
    if outside:
        failures.append("XMM instructions outside the SSE2 and SSSE3 functions: " +
                        "; ".join(outside[:5]))
    for instruction_set in ("sse2", "ssse3"):
        names = {name for name, of in VECTOR_SEARCHES.items() if of == instruction_set}
        taken = sorted(name for name in ran if ran[name] == instruction_set)
        if instruction_set in expected_sets and set(taken) != names:
            failures.append(f"{instruction_set} functions that did not run: " +
                            ", ".join(sorted(names - set(taken))))
        if instruction_set not in expected_sets and taken:
            failures.append(f"{instruction_set} functions ran: " + ", ".join(taken))

    path = " and ".join(sorted(expected_sets)) or "eight-byte"
    print(f"{model} ({has}): {path} path; {len(instructions)} instructions of the DLL "
          f"translated, {sum(counts.values())} on XMM registers")
    for name in sorted(ran):
        print(f"  ran {name}")
    for mnemonic in ("pcmpeqb", "pmovmskb", "pshufb"):
        print(f"  {mnemonic}: {counts.get(mnemonic, 0)}")
    for failure in failures:
        print(f"FAIL: {model}: {failure}")
    return run.stdout, failures


def main(args):
    if len(args) != 5:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    _, _, dll, debug_dll, objdump = args
    image = image_range(objdump, dll)
    functions = vector_functions(objdump, debug_dll)
    present = {f[3] for f in functions}
    if present != set(VECTOR_SEARCHES):
        print("FAIL: the DLL's SSE2 and SSSE3 functions are not the known ones: missing " +
              (", ".join(sorted(set(VECTOR_SEARCHES) - present)) or "none") + "; unknown " +
              (", ".join(sorted(present - set(VECTOR_SEARCHES))) or "none"))
        return 1
    failures = []
    outputs = {}
    with tempfile.TemporaryDirectory() as scratch:
        for model, has, expected_sets in MODELS:
            output, model_failures = check_model(model, has, expected_sets, args, functions,
                                                 image, Path(scratch))
            outputs[model] = output
            failures += model_failures
    first_model, first_output = next(iter(outputs.items()))
    for model, output in outputs.items():
        if output != first_output:
            failures.append(f"{model} printed other bytes than {first_model}")
            print(f"FAIL: {model} printed other bytes than {first_model}")
    if failures:
        return 1
    summary = first_output.rstrip(b"\n").rsplit(b"\n", 1)[-1].decode()
    print(f"the same bytes on all models: {summary}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
