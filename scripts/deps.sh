#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# when any of them is missing.
set -euo pipefail
packages=(cmake ninja-build g++ googletest libbenchmark-dev
          mingw-w64 g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-apps imagemagick fonts-wine python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
