#!/bin/bash
# Installs what building and testing Lintrel needs on Debian 12; quiet, and
# a no-op when everything is already there.
#   scripts/setup.sh                everything the test command needs
#   scripts/setup.sh --native-only  what the native build and the report need
set -euo pipefail

native=(cmake make g++ python3 libgtest-dev libgmock-dev libbenchmark-dev)
packages=("${native[@]}" clang-14 libclang-rt-14-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64
          wine64 locales zip unzip man-db dpkg-dev lintian)
# The shipping DLL is a 32-bit program, which these machines cannot execute:
# the 32-bit Wine runs it, itself under qemu's user-mode emulation. Debian 12's
# own qemu cannot host Wine's address-space layout; the backports suite's can.
wine32=(wine32:i386)
backports=(qemu-user)
if [[ "${1:-}" == "--native-only" ]]; then
  packages=("${native[@]}")
  wine32=()
  backports=()
fi

sudo=""
(( EUID != 0 )) && sudo="sudo"

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# The backports suite from the same archive, and with the same keyring, as the
# machine's own Debian 12 entry.
add_backports() {
  local sources=/etc/apt/sources.list.d/debian.sources uri keyring
  if [[ -f "$sources" ]]; then
    uri=$(awk '/^URIs:/ { print $2; exit }' "$sources")
    keyring=$(awk '/^Signed-By:/ { print $2; exit }' "$sources")
  else
    uri=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list)
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  fi
  [[ -n "$uri" ]] || { echo "setup: no Debian 12 entry found in apt's sources" >&2; exit 1; }
  printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: %s\n' \
    "$uri" "${keyring:-/usr/share/keyrings/debian-archive-keyring.gpg}" |
    $sudo tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
}

missing=()
for package in "${packages[@]}" "${wine32[@]}"; do
  installed "$package" || missing+=("$package")
done
missing_backports=()
for package in "${backports[@]}"; do
  # qemu 8 and later reserve Wine's address space where it asks.
  version=$(dpkg-query -W -f='${Version}' "$package" 2>/dev/null || true)
  if ! installed "$package" || dpkg --compare-versions "$version" lt 1:8; then
    missing_backports+=("$package")
  fi
done

if (( ${#missing[@]} + ${#missing_backports[@]} > 0 )); then
  echo "setup: installing ${missing[*]} ${missing_backports[*]}"
  if (( ${#wine32[@]} > 0 )) && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  if (( ${#missing_backports[@]} > 0 )) &&
     ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d/; then
    add_backports
  fi
  apt_get=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=600
           --no-install-recommends)
  "${apt_get[@]}" update >/dev/null
  if (( ${#missing[@]} > 0 )); then
    "${apt_get[@]}" install "${missing[@]}" >/dev/null
  fi
  if (( ${#missing_backports[@]} > 0 )); then
    "${apt_get[@]}" -t bookworm-backports install "${missing_backports[@]}" >/dev/null
  fi
fi
