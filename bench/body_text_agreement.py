#!/usr/bin/env python3
"""The share of messages whose body text, as lintrel hands it to the plug-in,
is the text that Python's email package gives (tests/tools/mime_corpus/
oracle.py), over a folder of real mail, one message a file.

Usage: body_text_agreement.py [--wine WINE_RUN] [--code-page N] [--raw-body]
                              [--excerpts] LINTREL FOLDER

Reads every file under FOLDER (names beginning with "." left out), as lintrel
-r -i FOLDER does, in code page N (1252 by default; 1250, 1251 and 932 too).
Prints the share for each folder directly under FOLDER and for all, then the
differing files (with --excerpts, where and how each differs). A message on
which the oracle itself fails is named and left out of the share. With
--raw-body, lintrel runs with --raw-body and is compared with every byte
after the message's first empty line instead.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "tools",
                                "mime_corpus"))
import lintrel_bodies  # noqa: E402
import oracle  # noqa: E402


def message_files(folder):
    """Every file under `folder` as lintrel -r lists it, names with a dot
    first left out."""
    found = []
    for root, folders, files in os.walk(folder):
        folders[:] = sorted(f for f in folders if not f.startswith("."))
        found += [os.path.join(root, f) for f in sorted(files) if not f.startswith(".")]
    return found


def set_of(path, folder):
    """The folder directly under `folder` that holds `path` ("." for none)."""
    parts = os.path.relpath(path, folder).split(os.sep)
    return parts[0] if len(parts) > 1 else "."


def main(arguments):
    wine_run = None
    code_page = 1252
    excerpts = False
    raw_body = False
    while arguments and arguments[0].startswith("--"):
        option = arguments.pop(0)
        if option == "--wine" and arguments:
            wine_run = arguments.pop(0)
        elif option == "--code-page" and arguments:
            code_page = int(arguments.pop(0))
        elif option == "--excerpts":
            excerpts = True
        elif option == "--raw-body":
            raw_body = True
        else:
            sys.exit(__doc__)
    if len(arguments) != 2 or code_page not in lintrel_bodies.LOCALES:
        sys.exit(__doc__)
    lintrel = lintrel_bodies.Lintrel(arguments[0], wine_run)
    folder = os.path.normpath(arguments[1])
    found, errors = lintrel.bodies(["-r", "-i", folder], code_page, raw_body)
    found = {os.path.normpath(source): got for source, got in found.items()}

    def expect(raw):
        return lintrel_bodies.raw_body(raw) if raw_body else oracle.body_text(raw, code_page)

    counts = {}  # set -> [messages, agreeing]
    differing = []
    oracle_failures = []
    for path in message_files(folder):
        with open(path, "rb") as f:
            raw = f.read()
        try:
            expected = lintrel_bodies.as_fetched(expect(raw))
        except Exception as error:  # the oracle's own faults are counted, not fatal
            oracle_failures.append(f"{path}: {type(error).__name__}: {error}")
            continue
        got = found.pop(path, ("error", "no record (read as an mbox file?)"))
        count = counts.setdefault(set_of(path, folder), [0, 0])
        count[0] += 1
        if got == ("result", expected):
            count[1] += 1
        else:
            differing.append(lintrel_bodies.describe(path, got, expected) if excerpts
                             else path)

    against = "the bytes after the empty line (--raw-body)" if raw_body else "the oracle"
    print(f"lintrel {arguments[0]}, code page {code_page}, over {folder}, against {against}")
    print(f"{'set':32} {'messages':>9} {'agree':>7} {'share':>7}")
    total = [sum(c[0] for c in counts.values()), sum(c[1] for c in counts.values())]
    for name, (messages, agreeing) in [*sorted(counts.items()), ("all", total)]:
        share = 100.0 * agreeing / messages if messages else 0.0
        print(f"{name:32} {messages:9} {agreeing:7} {share:6.1f}%")
    if oracle_failures:
        print(f"\nthe oracle failed on {len(oracle_failures)} (left out):")
        print("\n".join(oracle_failures))
    if found:
        print(f"\n{len(found)} records of no file found here:")
        print("\n".join(sorted(found)))
    if errors:
        print(f"\nlintrel's standard error:\n{errors}", end="")
    print(f"\n{len(differing)} differing:")
    print("\n".join(differing))


if __name__ == "__main__":
    main(sys.argv[1:])
