#!/usr/bin/env python3
"""The delivery date in every Windows locale, from the DLL under Wine and
from `lintrel run --locale NAME`, which renders it from its compiled-in
table: both must give the same bytes for every locale that both know. The
dates have one- and two-digit days and months, morning, afternoon and
midnight times, and years before 1900 and after 2038.

    compare_locales.py WINE_RUN CROSSCHECK_EXE LINTREL
"""

import os
import subprocess
import sys
import tempfile

DATES = [
    "Mon, 4 Mar 2024 08:06:05 +0000",
    "Sat, 14 Dec 2024 20:26:15 +0000",
    "Tue, 1 Jan 2002 00:00:00 +0000",
    "Tue, 5 Feb 1850 12:00:00 +0000",
    "Mon, 31 Jul 1899 23:59:59 +0000",
    "Sun, 9 Sep 2040 00:30:00 +0000",
    "Sun, 28 Feb 9999 13:01:02 +0000",
    "Sun, 3 Jun 1601 11:59:59 +0000",
]


# Locales that Wine lists and the table leaves out on purpose.
EXCEPTIONS = {
    "": "the invariant locale, which no user has and no --locale name selects",
}


def mbox():
    out = b""
    for number, date in enumerate(DATES):
        out += (b"From generator Thu Jan  1 00:00:00 1970\n"
                b"Received: from a.example by b.example; " + date.encode() + b"\r\n"
                b"Subject: case " + str(number).encode() + b"\r\n\r\nbody\r\n\n")
    return out


def main():
    wine_run, crosscheck, lintrel = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as scratch:
        cases = os.path.join(scratch, "cases.mbox")
        with open(cases, "wb") as f:
            f.write(mbox())
        # Wine in the C locale, as when the table was made: the locales
        # without an ANSI code page of their own are written in 1252.
        environment = dict(os.environ, LC_ALL="C")
        dll = subprocess.run([wine_run, crosscheck, cases, "KORDELIVERYTODATE", "--every-locale"],
                             stdout=subprocess.PIPE, env=environment, check=True).stdout
        by_locale = {}
        for line in dll.splitlines(keepends=True):
            name, rest = line.split(b"\t", 1)
            by_locale.setdefault(name.decode(), b"")
            by_locale[name.decode()] += rest
        table = subprocess.run([lintrel, "locales"], stdout=subprocess.PIPE, check=True).stdout
        table_names = {line.split()[0].decode() for line in table.splitlines()}

        failures, agreed = [], 0
        for name, expected in sorted(by_locale.items()):
            if name in EXCEPTIONS:
                print(f"left out: {name!r}: {EXCEPTIONS[name]}")
                continue
            if name not in table_names:
                failures.append(f"{name}: Wine has it, the table does not")
                continue
            got = subprocess.run([lintrel, "run", "--locale", name, "--mbox", cases,
                                  "KORDELIVERYTODATE"], stdout=subprocess.PIPE).stdout
            if got != expected:
                failures.append(f"{name}: the DLL gives {expected!r}, lintrel {got!r}")
            else:
                agreed += 1
        for name in sorted(table_names - by_locale.keys()):
            failures.append(f"{name}: the table has it, Wine does not")
        for failure in failures:
            print("FAIL:", failure)
        # The locales must tell apart: a table that rendered all of them
        # alike would agree with a DLL that read no settings at all.
        renderings = len(set(by_locale.values()))
        if renderings < 20:
            print(f"FAIL: only {renderings} different renderings over all the locales")
            failures.append("renderings")
        print(f"{agreed} of {len(by_locale)} locales agree on {len(DATES)} dates"
              f" ({renderings} different renderings); the table has {len(table_names)}")
        return 1 if failures or agreed == 0 else 0


sys.exit(main())
