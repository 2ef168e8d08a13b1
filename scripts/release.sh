#!/bin/bash
# Makes the release packages of the checked-out tree:
#   lintrel-VERSION-win32.zip   KOR_LINTREL.TBP, lintrel.exe, INSTALL.txt, host-errors.md,
#                               lintrel.md, macros.md, LICENSE
#   lintrel_VERSION_ARCH.deb    the lintrel command and its manual page
#   SHA256SUMS                  the checksums of both
# into dist/, or into the folder given:
#   scripts/release.sh [DIR]
# The DLL and the command are the ones the win32 and native presets build and
# test. The same commit gives the same bytes: every time stamp in the packages
# is the commit's time (or SOURCE_DATE_EPOCH, when set).
set -euo pipefail
cd "$(dirname "$0")/.."
dist="${1:-dist}"

scripts/setup.sh
jobs=$(nproc)
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target lintrel_plugin lintrel >/dev/null
ctest --preset win32 -R 'dll32_(static|shipping)_checks' >/dev/null ||
  { echo "release: the DLL fails its static checks (ctest --preset win32)" >&2; exit 1; }
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target lintrel >/dev/null

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/native/CMakeCache.txt)
arch=$(dpkg --print-architecture)
if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
    { echo "release: not a git checkout; set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH
if [[ -n "$(git status --porcelain 2>/dev/null)" ]]; then
  echo "release: warning: the tree has uncommitted changes; the packages are not the commit's" >&2
fi
commit=$(git rev-parse --short=12 HEAD 2>/dev/null || echo unknown)
date_rfc2822=$(LC_ALL=C date -u -R -d "@$SOURCE_DATE_EPOCH")

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
umask 022

# Files in a package: owned by root (the tools below), read-only for others,
# dated at the release's time.
settle() {
  find "$1" -type d -exec chmod 755 {} +
  find "$1" -type f -exec chmod 644 {} +
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# The plug-in for Windows.
zip_name="lintrel-$version-win32"
zip_dir="$stage/$zip_name"
mkdir -p "$zip_dir"
cp build/win32/bin/KOR_LINTREL.TBP build/win32/bin/lintrel.exe docs/host-errors.md docs/lintrel.md \
   docs/macros.md LICENSE "$zip_dir/"
dll_sum=$(sha256sum build/win32/bin/KOR_LINTREL.TBP | cut -d' ' -f1)
cat >"$zip_dir/INSTALL.txt" <<EOF
Lintrel $version: the KOR_LINTREL.TBP macro plug-in for 32-bit Windows

Installing
  Quit the e-mail client. Copy KOR_LINTREL.TBP into the folder from which
  the client loads its plug-ins (its plug-in folder; the client's own
  documentation says where that is on your system), then start the client
  again. It loads the plug-in at start-up and lists it as "K.O.R.: Lintrel",
  version $version, with thirteen macros whose names begin with KOR. The
  plug-in is a 32-bit DLL that needs nothing else installed.

Checking the file
  The SHA-256 checksum of KOR_LINTREL.TBP in this release is
    $dll_sum
  In a command prompt, in the folder that holds the file,
    certutil -hashfile KOR_LINTREL.TBP SHA256
  (or in PowerShell: Get-FileHash KOR_LINTREL.TBP) must print the same
  digits. The file was built from commit $commit of the Lintrel
  sources; building that commit on Debian 12 gives the same bytes. The
  SHA256SUMS file published beside this zip lists the zip's own checksum.

Running the macros outside the client
  lintrel.exe, beside the DLL, loads it as the client does and runs its
  macros on message files, mailboxes and Maildirs, so that a template
  author can see what a macro gives on the message that puzzled them. In a
  command prompt, in this folder:
    lintrel report --message C:\path\to\message.eml
    lintrel run --message C:\path\to\message.eml KORGETHEADER Subject:
    lintrel run --mbox C:\path\to\inbox.mbox KORMAILER
  With --dll PATH it loads another copy of KOR_LINTREL.TBP, for instance the
  one in the client's plug-in folder. lintrel --help lists every option;
  lintrel.md describes them. A macro that reads the body is handed the
  message's text, as the client hands it: its text part, decoded, in the
  code page of Windows (lintrel.md, "The body text").

The macros
  macros.md tells what each macro computes, its parameters and their
  defaults, its result and its errors, with an example.

For host authors
  host-errors.md describes how the plug-in reports its errors.

Licence
  MIT; see LICENSE.
EOF
settle "$zip_dir"

# The command for Debian: the binary and the manual page as cmake installs
# them, stripped and compressed as Debian packages have them.
root="$stage/deb"
DESTDIR="$root" cmake --install build/native --prefix /usr >/dev/null
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$root/usr/bin/lintrel"
gzip -9n "$root/usr/share/man/man1/lintrel.1"
doc="$root/usr/share/doc/lintrel"
mkdir -p "$doc" "$root/DEBIAN"
{
  echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
  echo "Upstream-Name: lintrel"
  echo
  echo "Files: *"
  echo "Copyright: 2026 the Lintrel project"
  echo "License: Expat"
  echo
  echo "License: Expat"
  sed -n '/^Permission/,$p' LICENSE | sed 's/^$/./; s/^/ /'
} >"$doc/copyright"
printf 'lintrel (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- the Lintrel project <maintainers@lintrel.invalid>  %s\n' \
  "$version" "$version" "$date_rfc2822" | gzip -9n >"$doc/changelog.gz"
settle "$root"
chmod 755 "$root/usr/bin/lintrel"

# The libraries the command needs, as Debian's own tools name them.
mkdir -p "$stage/shlibs/debian"
printf 'Source: lintrel\n\nPackage: lintrel\nArchitecture: any\n' >"$stage/shlibs/debian/control"
depends=$(cd "$stage/shlibs" && dpkg-shlibdeps -O "$root/usr/bin/lintrel" |
          sed -n 's/^shlibs:Depends=//p')
cat >"$root/DEBIAN/control" <<EOF
Package: lintrel
Version: $version
Architecture: $arch
Maintainer: the Lintrel project <maintainers@lintrel.invalid>
Installed-Size: $(du -k -s --exclude=DEBIAN "$root" | cut -f1)
Depends: $depends
Section: mail
Priority: optional
Description: runs the Lintrel mail plug-in's macros over messages
 lintrel plays the part of the e-mail client for the Lintrel macro plug-in:
 it reads a message or a whole mbox mailbox, hands it to the plug-in's own
 macro dispatcher and prints what each macro returns: transit time, age and
 delivery date of a message, its charset, mail program and any header
 field, the links in a text, and the quote and link tools.
EOF
(cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$root/DEBIAN/md5sums"
settle "$root/DEBIAN"
chmod 755 "$root/usr/bin/lintrel"

mkdir -p "$dist"
deb_name="lintrel_${version}_$arch.deb"
rm -f "$dist/$zip_name.zip" "$dist/$deb_name" "$dist/SHA256SUMS"
(cd "$stage" && LC_ALL=C find "$zip_name" | LC_ALL=C sort |
   TZ=UTC zip -q -X -@ "$stage/$zip_name.zip")
mv "$stage/$zip_name.zip" "$dist/"
dpkg-deb --root-owner-group -Zxz --build "$root" "$dist/$deb_name" >/dev/null
(cd "$dist" && sha256sum "$zip_name.zip" "$deb_name" >SHA256SUMS)
echo "release $version in $dist:"
(cd "$dist" && cat SHA256SUMS)
