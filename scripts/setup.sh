#!/bin/bash
# Installs what building and testing Lintrel needs on Debian 12; quiet, and
# a no-op when everything is already there.
#   scripts/setup.sh                everything the test command needs
#   scripts/setup.sh --native-only  what the native build and the report need
#
# Only ordinary packages of the machine's own architecture are installed. The
# shipping DLL is a 32-bit program, which these machines cannot execute: the
# 32-bit Wine runs it, under qemu's user-mode emulation, from a private tree
# in the user's cache (scripts/wine32-runtime.sh), so the system gains no
# foreign architecture. Debian 12's own qemu cannot host Wine's address-space
# layout; the backports suite's can.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/archive.sh"

native=(cmake make g++ python3 libgtest-dev libgmock-dev libbenchmark-dev)
packages=("${native[@]}" clang-14 libclang-rt-14-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64
          wine64 locales zip unzip man-db dpkg-dev lintian)
backports=(qemu-user)
if [[ "${1:-}" == "--native-only" ]]; then
  packages=("${native[@]}")
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
  [[ -n "$uri" ]] || die "no Debian 12 entry found in apt's sources"
  printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: %s\n' \
    "$uri" "${keyring:-/usr/share/keyrings/debian-archive-keyring.gpg}" |
    $sudo tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
}

missing=()
for package in "${packages[@]}"; do
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

install_packages() {
  local log
  log=$(mktemp)
  if ! "${apt_get[@]}" -o Acquire::Retries=3 install "$@" >"$log" 2>&1; then
    echo "setup: apt-get cannot install $*:" >&2
    apt_reason "$log" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
}

if (( ${#missing[@]} + ${#missing_backports[@]} > 0 )); then
  echo "setup: installing ${missing[*]} ${missing_backports[*]}"
  if (( ${#missing_backports[@]} > 0 )) &&
     ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d/; then
    add_backports
  fi
  apt_get=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=600
           --no-install-recommends)
  update_indexes "${apt_get[@]}"
  if (( ${#missing[@]} > 0 )); then
    install_packages "${missing[@]}"
  fi
  if (( ${#missing_backports[@]} > 0 )); then
    install_packages -t bookworm-backports "${missing_backports[@]}"
  fi
fi

if [[ "${1:-}" != "--native-only" ]]; then
  "$here/wine32-runtime.sh" >/dev/null
fi
