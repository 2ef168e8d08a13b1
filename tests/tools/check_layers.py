#!/usr/bin/env python3
"""Holds tools/ to its shape: each stage of the pipeline includes only the
stages before it (or itself), the platform folders only what they implement,
and nothing of src/ but what is listed here.

Usage: check_layers.py TOOLS_FOLDER
"""

import pathlib
import re
import sys

# The stages in the order data flows through them.
STAGES = ["base", "arguments", "inputs", "locales", "body_text", "run", "output", "command"]

# posix/ and windows/ implement the seams of base/ (system calls and code
# pages), arguments/ (the platform's help) and run/ (the plug-in), the
# plug-in on Linux with the settings of locales/.
PLATFORMS = {"posix", "windows"}
PLATFORM_MAY_USE = {"base", "arguments", "inputs", "locales", "run"}

# All that tools/ may use of src/: the dispatcher's entry and environment,
# the plug-in's identity texts, the provider interface, the text primitives
# and errors, the settings source that --locale fills, the header lookup for
# a record's message id, and the byte search that splits mbox files.
SRC_ALLOWED = [
    r"plugin/dispatcher\.h",
    r"plugin/identity\.h",
    r"plugin/macro_call\.h",
    r"plugin/data_provider\.h",
    r"text/[a-z_]+\.h",
    r"platform/platform\.h",
    r"headers/field_lookup\.h",
    r"body/byte_search\.h",
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def problems(tools):
    for path in sorted(tools.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        folder = path.relative_to(tools).parts[0]
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            where = f"{path.relative_to(tools.parent)}: includes {included}"
            if not included.startswith("tools/"):
                if not any(re.fullmatch(allowed, included) for allowed in SRC_ALLOWED):
                    yield where + ", which tools/ may not use"
                continue
            target = included.split("/")[1]
            if target == folder:
                continue
            if folder in PLATFORMS:
                if target not in PLATFORM_MAY_USE:
                    yield where + f", which {folder}/ does not implement"
            elif target in PLATFORMS:
                yield where + ": a stage reaches the platform only through its seams"
            elif folder not in STAGES or target not in STAGES:
                yield where + ": a folder that is not a stage"
            elif STAGES.index(target) > STAGES.index(folder):
                yield where + ": a later stage"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    found = list(problems(pathlib.Path(sys.argv[1]).resolve()))
    for problem in found:
        print(problem)
    if found:
        sys.exit(1)
    print("tools/: every include points to an earlier stage or to what src/ allows")


if __name__ == "__main__":
    main()
