#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing, and nothing else; then
# makes sure 32-bit Wine runs. Safe to run again.
set -eu
cd "$(dirname "$0")/.."
packages=(cmake g++ googletest libgtest-dev g++-mingw-w64-i686 wine wine32:i386 wine64 tmux
          clang clang-tidy clang-format cppcheck libclang-rt-14-dev libimage-exiftool-perl unzip)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
scripts/setup-wine32.sh
