#!/usr/bin/env bash
# Installs what the build and the tests need on Debian (12 or later).
# Only missing packages are installed, so a second run is quick.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64 mingw-w64-tools binutils-mingw-w64-x86-64
          wine wine64 fonts-wine xvfb xauth googletest python3)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A mirror in mid-sync can fail one index; the install below still decides.
$sudo apt-get update -q || echo "apt-get update reported errors; trying the install anyway"
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
