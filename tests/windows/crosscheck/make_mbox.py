#!/usr/bin/env python3
"""Writes an mbox of generated messages whose Received: and Date: fields carry
dates of every kind the header date parser reads: ordinary and far years,
two-digit years, zones with odd minutes, days a month does not have, times
out of range and tokens that are not numbers. Deterministic for a seed.

    make_mbox.py COUNT SEED > cases.mbox
"""
import random
import sys

MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
ODD_MONTHS = ["December", "sept", "d", "January", "xyz"]


def year(rng):
    roll = rng.random()
    if roll < 0.6:
        return str(rng.randint(1970, 2040))
    if roll < 0.75:
        return str(rng.randint(0, 99))
    if roll < 0.97:
        return str(rng.randint(1, 9999))
    return rng.choice(["0", "10000", "65535", "65536", "-1", "$7D0", "x"])


def field(rng):
    day = rng.randint(1, 28) if rng.random() < 0.9 else rng.choice([29, 30, 31, 0, 32, "zz"])
    month = rng.choice(MONTHS) if rng.random() < 0.95 else rng.choice(ODD_MONTHS)
    hour = rng.randint(0, 23) if rng.random() < 0.99 else rng.choice([24, 99, "h"])
    minute = rng.randint(0, 59)
    second = rng.randint(0, 59) if rng.random() < 0.99 else 60
    zone = rng.choice(["GMT", "UMC", "+0000", "-0000"]) if rng.random() < 0.2 else \
        "%s%02d%02d" % (rng.choice("+-"), rng.randint(0, 14), rng.choice([0, 15, 30, 45, 59]))
    date = "%s %s %s %s:%02d:%02d %s" % (day, month, year(rng), hour, minute, second, zone)
    if rng.random() < 0.5:
        date = rng.choice(["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]) + ", " + date
    return date


def main():
    count, seed = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    out = sys.stdout.buffer
    for number in range(count):
        lines = ["Received: from a.example by b.example; " + field(rng),
                 "Received: from c.example\r\n\tby d.example; " + field(rng),
                 "Date: " + field(rng),
                 "Subject: case %d" % number]
        out.write(b"From generator Thu Jan  1 00:00:00 1970\n")
        out.write("".join(line + "\r\n" for line in lines).encode("ascii"))
        out.write(b"\n")


if __name__ == "__main__":
    main()
