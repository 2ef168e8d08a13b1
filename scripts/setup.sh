#!/bin/bash
# Installs what building and testing Lintrel needs on Debian 12; quiet, and
# a no-op when everything is already there.
set -euo pipefail

packages=(cmake make g++ python3 libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 locales zip unzip man-db dpkg-dev lintian)
[[ "${1:-}" == "--native-only" ]] && packages=(cmake make g++ python3 libgtest-dev libbenchmark-dev)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if (( ${#missing[@]} > 0 )); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  (( EUID != 0 )) && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
