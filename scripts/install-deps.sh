#!/usr/bin/env bash
# Installs the Debian packages the build, the program, the tests and the package need (as root),
# or, given package names, those packages; each only when it is missing.
set -euo pipefail
if [ $# -gt 0 ]; then
  packages=("$@")
else
  packages=(build-essential cmake ninja-build pkg-config
    qt6-base-dev libfreeimage-dev libdevil-dev libpng-dev libjpeg-dev libarchive-dev zlib1g-dev
    libgtest-dev imagemagick python3-psd-tools python3-numpy xvfb openbox xdotool
    fonts-dejavu-core qt6-svg-dev desktop-file-utils appstream man-db file dpkg-dev lintian parallel)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
