#!/bin/bash
# Checks what a release is made of, after scripts/test.sh has built the win32
# and native presets:
# - one more build of the tree, from a copy of it in a folder of another
#   depth and length, at another time, gives the same KOR_LINTREL.TBP,
#   lintrel.exe and lintrel bytes as the tree's own (tested) build;
# - scripts/release.sh, run twice, gives the same packages; the zip holds the
#   tested DLL and lintrel.exe and their texts; the .deb is lintian-clean of errors, installs
#   into a scratch root, where `man lintrel` shows the page and
#   `lintrel --version` matches the DLL's version text.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(pwd)
jobs=$(nproc)
dll=build/win32/bin/KOR_LINTREL.TBP
exe=build/win32/bin/lintrel.exe
command=build/native/tools/lintrel
[[ -f "$dll" && -f "$exe" && -x "$command" ]] ||
  { echo "release-checks: build the win32 and native presets first" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Reproducibility: copy the tree (without its builds) to a new place and build
# the two products there, with the presets, as a user would.
for copy in "$scratch/another/copy-of-the-sources"; do
  mkdir -p "$copy"
  tar -C "$tree" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$copy" -xf -
  (cd "$copy" &&
     cmake --preset native >/dev/null && cmake --build --preset native -j "$jobs" --target lintrel >/dev/null &&
     cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$jobs" --target lintrel_plugin lintrel >/dev/null) ||
    { echo "FAIL: building the copy in $copy"; exit 1; }
  cmp "$dll" "$copy/$dll" || fail "KOR_LINTREL.TBP built in $copy differs from the tree's"
  cmp "$exe" "$copy/$exe" || fail "lintrel.exe built in $copy differs from the tree's"
  cmp "$command" "$copy/$command" || fail "lintrel built in $copy differs from the tree's"
  rm -rf "$copy"
done
((failures == 0)) && echo "reproducible: KOR_LINTREL.TBP, lintrel.exe and lintrel are the same bytes from another folder"

# The packages, made twice.
scripts/release.sh "$scratch/dist" >/dev/null 2>&1 || { echo "FAIL: scripts/release.sh"; exit 1; }
scripts/release.sh "$scratch/dist-again" >/dev/null 2>&1 || { echo "FAIL: scripts/release.sh"; exit 1; }
cmp -s "$scratch/dist/SHA256SUMS" "$scratch/dist-again/SHA256SUMS" ||
  fail "two runs of scripts/release.sh give different packages"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/native/CMakeCache.txt)
zip_name="lintrel-$version-win32"
deb_name="lintrel_${version}_$(dpkg --print-architecture).deb"
(cd "$scratch/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
[[ "$(ls "$scratch/dist" | sort)" == "$(printf '%s\n' SHA256SUMS "$deb_name" "$zip_name.zip" | sort)" ]] ||
  fail "dist holds $(ls "$scratch/dist" | tr '\n' ' ')"
[[ "$(cut -d' ' -f3 "$scratch/dist/SHA256SUMS" | sort)" == "$(printf '%s\n' "$deb_name" "$zip_name.zip" | sort)" ]] ||
  fail "SHA256SUMS lists $(cut -d' ' -f3 "$scratch/dist/SHA256SUMS" | tr '\n' ' ')"

# The zip: exactly the DLL and the command the tests ran, the install text
# with the DLL's checksum, the documentation and the licence.
zip="$scratch/dist/$zip_name.zip"
listed=$(unzip -Z1 "$zip" | sort)
expected=$(printf "$zip_name/%s\n" "" INSTALL.txt KOR_LINTREL.TBP LICENSE host-errors.md lintrel.exe \
  lintrel.md macros.md | sort)
[[ "$listed" == "$expected" ]] || fail "the zip holds:"$'\n'"$listed"
unzip -q "$zip" -d "$scratch/unzipped"
unzipped="$scratch/unzipped/$zip_name"
cmp -s "$unzipped/KOR_LINTREL.TBP" "$dll" || fail "the zip's KOR_LINTREL.TBP is not the tested one"
cmp -s "$unzipped/lintrel.exe" "$exe" || fail "the zip's lintrel.exe is not the tested one"
cmp -s "$unzipped/lintrel.md" docs/lintrel.md || fail "the zip's lintrel.md differs"
cmp -s "$unzipped/macros.md" docs/macros.md || fail "the zip's macros.md differs"
cmp -s "$unzipped/LICENSE" LICENSE || fail "the zip's LICENSE differs"
cmp -s "$unzipped/host-errors.md" docs/host-errors.md || fail "the zip's host-errors.md differs"
grep -qF "$(sha256sum "$dll" | cut -d' ' -f1)" "$unzipped/INSTALL.txt" ||
  fail "INSTALL.txt does not give the DLL's checksum"

# The Debian package: its metadata, lintian, and an installation into a
# scratch root (the libraries it depends on are checked against this machine).
deb="$scratch/dist/$deb_name"
for field in "Package: lintrel" "Version: $version" "Architecture: $(dpkg --print-architecture)"; do
  dpkg-deb -f "$deb" | grep -qxF "$field" || fail "the .deb lacks '$field'"
done
lintian_report=$(lintian --fail-on error "$deb" 2>&1) ||
  fail "lintian reports errors:"$'\n'"$lintian_report"
apt-get install -s -q "$deb" >"$scratch/apt.log" 2>&1 ||
  fail "the .deb's dependencies cannot be met here:"$'\n'"$(tail -5 "$scratch/apt.log")"
root="$scratch/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --log=/dev/null --force-depends --force-not-root -i "$deb" >"$scratch/dpkg.log" 2>&1 ||
  fail "dpkg -i into a scratch root:"$'\n'"$(cat "$scratch/dpkg.log")"
installed_version=$("$root/usr/bin/lintrel" --version | head -n 1) || fail "the installed lintrel does not run"
dll_version=$(strings -a "$dll" | sed -n 's/^K\.O\.R\.: Lintrel ver\. \([^ ]*\) .*/\1/p')
[[ -n "$installed_version" && "$installed_version" == "$dll_version" && "$dll_version" == "$version" ]] ||
  fail "lintrel --version says '$installed_version', the DLL '$dll_version', the project '$version'"
page=$(MANPATH="$root/usr/share/man" MANWIDTH=80 man -E ascii lintrel 2>&1 | col -b)
grep -qF "lintrel - run the Lintrel plug-in's macros" <<<"$page" ||
  fail "man lintrel does not show the page:"$'\n'"$(head -5 <<<"$page")"

if ((failures > 0)); then
  echo "release checks: $failures failed"
  exit 1
fi
echo "release checks passed: $zip_name.zip, $deb_name (lintian: no errors), installed, man page and version $version"
