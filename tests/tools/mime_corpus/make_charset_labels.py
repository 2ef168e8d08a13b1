#!/usr/bin/env python3
"""Makes charset_labels.json, the Encoding Standard's labels and the encoding
each names, from npm's whatwg-encoding package (the pinned version below).

Usage: make_charset_labels.py     (needs npm; writes the JSON beside itself)

The package's lib/labels-to-names.json leaves out the encodings its own
decoder lacks; ISO-2022-JP, ISO-8859-8-I and x-mac-cyrillic are added here
with their labels from the Standard. The labels of its "replacement" encoding
(iso-2022-kr, hz-gb-2312, ...) stay out: a text so labelled is handed over as
it stands, as under any label nobody knows.

The oracle reads lintrel's own table, tools/body_text/charset_table.cpp; this
extract stands in for it in a tree without that table.
"""

import json
import os
import subprocess
import tarfile
import tempfile

PACKAGE = "whatwg-encoding@3.1.1"
ADDED = {
    "csiso2022jp": "ISO-2022-JP",
    "iso-2022-jp": "ISO-2022-JP",
    "csiso88598i": "ISO-8859-8-I",
    "iso-8859-8-i": "ISO-8859-8-I",
    "logical": "ISO-8859-8-I",
    "x-mac-cyrillic": "x-mac-cyrillic",
    "x-mac-ukrainian": "x-mac-cyrillic",
}


def main():
    with tempfile.TemporaryDirectory() as folder:
        name = subprocess.run(["npm", "pack", "--silent", PACKAGE], cwd=folder, check=True,
                              capture_output=True, text=True).stdout.strip().splitlines()[-1]
        with tarfile.open(os.path.join(folder, name)) as archive:
            labels = json.load(archive.extractfile("package/lib/labels-to-names.json"))
    clashes = {label for label in ADDED if label in labels and labels[label] != ADDED[label]}
    assert not clashes, clashes
    labels.update(ADDED)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "charset_labels.json")
    with open(out, "w") as f:
        json.dump(dict(sorted(labels.items())), f, indent=0)
        f.write("\n")
    print(f"{out}: {len(labels)} labels, {len(set(labels.values()))} encodings, from {PACKAGE}")


if __name__ == "__main__":
    main()
