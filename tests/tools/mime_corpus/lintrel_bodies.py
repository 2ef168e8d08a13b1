"""The body text that lintrel hands the plug-in, read back through KORCITE,
and how it differs from the oracle's.

KORCITE with an empty first parameter works on the body text and returns a
text with fewer lines than its count unchanged, so with the largest count its
result is exactly the body text the plug-in was handed.
"""

import json
import re
import os
import subprocess

# The code pages compared, each with a Windows locale of that ANSI code page
# (lintrel's --locale) and the POSIX locale from which Wine takes it.
LOCALES = {
    1252: ("en-US", "en_US.UTF-8"),
    1250: ("pl-PL", "pl_PL.UTF-8"),
    1251: ("ru-RU", "ru_RU.UTF-8"),
    932: ("ja-JP", "ja_JP.UTF-8"),
}
# A line break, CR LF taken whole, then an empty line's break; or an empty
# first line.
EMPTY_LINE = re.compile(rb"(?:\A|\r\n|\r(?!\n)|\n)(?:\r\n|\r(?!\n)|\n)")
WHOLE_TEXT = ["KORCITE", "", "", "2147483647"]


class Lintrel:
    """lintrel, or lintrel.exe run through a Wine script."""

    def __init__(self, path, wine_run=None):
        self.command = [os.path.abspath(path)]
        if wine_run:
            self.command.insert(0, os.path.abspath(wine_run))
        self.wine = bool(wine_run)

    def bodies(self, inputs, code_page, raw_body=False):
        """Runs over `inputs` (lintrel's input options) for `code_page`;
        answers {source: ("result", bytes) or ("error", text)}, an mbox
        message's source being "SOURCE#INDEX", and lintrel's standard error.
        Raises when lintrel ends without records."""
        windows_name, posix_name = LOCALES[code_page]
        arguments = ["run", *inputs, "--format", "jsonl"]
        if raw_body:
            arguments.append("--raw-body")
        environment = dict(os.environ)
        if self.wine:
            environment["LC_ALL"] = posix_name
        else:
            arguments += ["--locale", windows_name]
        done = subprocess.run([*self.command, *arguments, *WHOLE_TEXT], capture_output=True,
                              env=environment, timeout=1800)
        found = {}
        for line in done.stdout.splitlines():
            record = json.loads(line)
            source = record["source"]
            if record["index"] is not None:
                source += f"#{record['index']}"
            if "result" in record:
                found[source] = ("result", record["result"].encode("utf-8", "surrogateescape"))
            else:
                found[source] = ("error", record["error"])
        if not found and done.returncode != 0:
            raise RuntimeError(f"lintrel {' '.join(arguments)}: exit status {done.returncode}: "
                               f"{done.stderr.decode(errors='replace')}")
        return found, done.stderr.decode(errors="replace")


def first_difference(a, b):
    """The first offset at which bytes `a` and `b` differ (the shorter's
    length when one begins the other), or None when they are equal."""
    if a == b:
        return None
    low, high = 0, min(len(a), len(b))
    # Halving on slices finds the offset in C's time, not Python's.
    while low < high:
        middle = (low + high + 1) // 2
        if a[:middle] == b[:middle]:
            low = middle
        else:
            high = middle - 1
    return low


def describe(name, got, expected):
    """A line or two on how `got` differs from `expected`."""
    if got[0] == "error":
        return f"{name}: lintrel: error: {got[1]}"
    got = got[1]
    offset = first_difference(got, expected)
    start = max(0, offset - 16)
    return (f"{name}: differs at byte {offset} (lintrel {len(got)} bytes, oracle {len(expected)})\n"
            f"    lintrel: {got[start:offset + 40]!r}\n"
            f"    oracle:  {expected[start:offset + 40]!r}")


def as_fetched(text):
    """`text` as the plug-in keeps a text it fetches: up to its first NUL."""
    return text.split(b"\0", 1)[0]


def raw_body(raw):
    """Every byte after the first empty line, as lintrel splits a message: CR,
    LF and CR LF each end a line; no empty line, no body."""
    found = EMPTY_LINE.search(raw)
    return raw[found.end():] if found else b""
