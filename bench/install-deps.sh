#!/usr/bin/env bash
# Installs the Debian packages the benchmarks need beyond the build's (as root): GNU time for peak
# memory, ImageMagick to compare against, matplotlib for the plots and scikit-image for its sample
# photographs.
set -euo pipefail
packages=(time imagemagick python3-matplotlib python3-skimage)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
