#!/bin/bash
# Makes tools/body_text/charset_table.cpp again from the charset labels of
# the WHATWG Encoding Standard as npm's whatwg-encoding package ships them
# (lib/labels-to-names.json of the version below), with the encodings that
# the package leaves out added by scripts/charset_table/make_table.py.
#   scripts/make-charset-table.sh     (needs npm and python3)
set -euo pipefail
cd "$(dirname "$0")/.."
version=3.1.1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "whatwg-encoding@$version" >/dev/null &&
   tar xzf "whatwg-encoding-$version.tgz")
scripts/charset_table/make_table.py "$version" "$work/package/lib/labels-to-names.json" \
  >"$work/charset_table.cpp"
mv "$work/charset_table.cpp" tools/body_text/charset_table.cpp
echo "tools/body_text/charset_table.cpp: $(sed -n 4p tools/body_text/charset_table.cpp | cut -c4-)"
