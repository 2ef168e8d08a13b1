#!/bin/bash
# Sets up, builds the native tree and runs the main job: the `lintrel`
# report of every message macro over the built-in sample message. Its
# arguments go on to `lintrel report` (--now TIME, --locale NAME, --format).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --native-only
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target lintrel >/dev/null
exec build/native/tools/lintrel report --sample "$@"
