#!/bin/bash
# Checks what the shipped 32-bit DLL is beyond its interface: small, without
# symbols or debug information (its unstripped twin has them), with no time
# stamp and no build path in it, and carrying the project version.
#   check_shipped_dll.sh DLL TWIN OBJDUMP VERSION SOURCE_DIR BINARY_DIR
set -u
dll="$1"
twin="$2"
objdump="$3"
version="$4"
shift 4
build_paths=("$@")

# The size the DLL must fit in.
max_bytes=$((256 * 1024))

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

[[ -f "$dll" && -f "$twin" ]] || { echo "FAIL: $dll or $twin is missing"; exit 1; }

size=$(stat -c %s "$dll")
((size <= max_bytes)) || fail "$dll is $size bytes, more than $max_bytes"

sections=$("$objdump" -h "$dll") || { echo "FAIL: cannot read $dll"; exit 1; }
grep -q ' \.debug' <<<"$sections" && fail "$dll has debug sections"
"$objdump" -h "$twin" | grep -q ' \.debug_info ' || fail "$twin has no debug information"
symbols=$("$objdump" -t "$dll" | grep -c '^\[')
((symbols == 0)) || fail "$dll has $symbols symbols"

# The COFF header's time stamp: 4 bytes, 8 bytes after the header's start,
# whose offset is at 0x3c.
header=$(od -A n -t u4 -j 60 -N 4 "$dll" | tr -d ' ')
stamp=$(od -A n -t u4 -j $((header + 8)) -N 4 "$dll" | tr -d ' ')
[[ "$stamp" == 0 ]] || fail "$dll has the time stamp $stamp"

for path in "${build_paths[@]}"; do
  for file in "$dll" "$twin"; do
    grep -qaF "$path" "$file" && fail "$file names the build path $path"
  done
done

build="${version##*.}"
grep -qaF "K.O.R.: Lintrel ver. $version " "$dll" ||
  fail "$dll has no information text for version $version"
grep -qaF $'\r\nBuild date: '"$build"$'\r\n' "$dll" ||
  fail "$dll has no build number $build in its information text"

if ((failures > 0)); then exit 1; fi
echo "KOR_LINTREL.TBP: $size bytes, stripped, no time stamp or build path, version $version"
