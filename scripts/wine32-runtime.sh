#!/bin/bash
# The 32-bit Wine that runs the shipping DLL in the tests, as a private tree of
# i386 files in the user's cache, taken from the machine's own Debian archive
# with apt's state and cache folders of its own: the system gains no foreign
# architecture and no package. The tree is named after the Wine version (that
# of the system's 64-bit Wine, which the 32-bit one must match) and a digest
# of this script, so a second run, or another checkout, reuses it.
#   wine32-runtime.sh          makes the tree unless it is there; prints its folder
#   wine32-runtime.sh --path   prints its folder; fails if it has not been made
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/archive.sh"

wine_version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null) ||
  die "the 64-bit Wine (wine64) is not installed: run scripts/setup.sh"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/lintrel"
recipe=$(cat "$0" "$here/archive.sh" | sha256sum | cut -c1-12)
tree="$cache/wine32-${wine_version//[^A-Za-z0-9.+-]/_}-$recipe"

if [[ "${1:-}" == "--path" ]]; then
  [[ -f "$tree/.complete" ]] || die "the 32-bit Wine runtime is not made ($tree): run scripts/setup.sh"
  echo "$tree"
  exit 0
fi

mkdir -p "$cache"
# One maker at a time; whoever waited finds the tree made.
exec 9>"$cache/.lock"
flock 9
if [[ -f "$tree/.complete" ]]; then
  echo "$tree"
  exit 0
fi
command -v qemu-i386 >/dev/null || die "qemu-i386 is not installed: run scripts/setup.sh"
started=$SECONDS
work=$(mktemp -d "$cache/.making.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The machine's Debian suites (release, updates, security), main component.
. /etc/os-release
apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' 'Target-Of: deb' |
  awk -v codename="$VERSION_CODENAME" '
    $3 == "main" && ($2 == codename || $2 == codename "-updates" || $2 == codename "-security") {
      print "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] " $1 " " $2 " main"
    }' | sort -u >"$work/sources.list"
[[ -s "$work/sources.list" ]] || die "apt's sources list no Debian $VERSION_CODENAME suite to take the 32-bit Wine from"

mkdir -p "$work"/apt/{lists/partial,archives/partial,parts,sources.list.d,preferences.d}
: >"$work/apt/status"
cat >"$work/apt.conf" <<CONF
Dir::Etc::Main "/dev/null";
Dir::Etc::Parts "$work/apt/parts";
Dir::Etc::SourceList "$work/sources.list";
Dir::Etc::SourceParts "$work/apt/sources.list.d";
Dir::Etc::Preferences "/dev/null";
Dir::Etc::PreferencesParts "$work/apt/preferences.d";
Dir::State "$work/apt";
Dir::State::Lists "$work/apt/lists";
Dir::State::status "$work/apt/status";
Dir::Cache "$work/apt";
Dir::Cache::Archives "$work/apt/archives";
APT::Architecture "i386";
APT::Architectures { "i386"; };
APT::Install-Recommends "false";
APT::Sandbox::User "root";
Debug::NoLocking "true";
CONF
export APT_CONFIG="$work/apt.conf"
apt_get=(env DEBIAN_FRONTEND=noninteractive apt-get -q -y)
update_indexes "${apt_get[@]}"
# The whole closure of the two packages, as on a system with nothing installed.
if ! "${apt_get[@]}" -o Acquire::Retries=3 install --download-only \
     "wine32=$wine_version" "libwine=$wine_version" >"$work/download.log" 2>&1; then
  die "cannot get the 32-bit Wine $wine_version (wine32:i386 and what it needs) from the archive:
$(apt_reason "$work/download.log")"
fi

mkdir "$work/tree"
for deb in "$work"/apt/archives/*.deb; do
  dpkg-deb -x "$deb" "$work/tree"
done
# As on an installed Debian 12 system, /lib is /usr/lib: the emulated loader
# then finds every library in the folders it searches.
for folder in lib sbin; do
  if [[ -d "$work/tree/$folder" && ! -L "$work/tree/$folder" ]]; then
    cp -a "$work/tree/$folder/." "$work/tree/usr/$folder/"
    rm -rf "${work:?}/tree/$folder"
    ln -s "usr/$folder" "$work/tree/$folder"
  fi
done
# What libwine's own configure step does: it marks the zlib DLL that Wine
# takes from the MinGW package as one of its own built-in DLLs.
zlib_in="$work/tree/usr/i686-w64-mingw32/lib/zlib1.dll"
zlib_out="$work/tree/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
[[ -f "$zlib_in" ]] || die "the 32-bit Wine's packages hold no zlib1.dll"
{
  head -c 64 "$zlib_in"
  printf 'Wine builtin DLL'
  head -c 16 /dev/zero
  tail -c +97 "$zlib_in"
} >"$zlib_out"
qemu-i386 -L "$work/tree" "$work/tree/usr/lib/wine/wine" --version >/dev/null 2>&1 ||
  die "the 32-bit Wine taken from the archive does not start under qemu-i386"

rm -rf "$tree"
touch "$work/tree/.complete"
mv "$work/tree" "$tree"
echo "setup: made the 32-bit Wine runtime in $tree ($(du -sm "$tree" | cut -f1) MB, $((SECONDS - started)) s)" >&2
echo "$tree"
