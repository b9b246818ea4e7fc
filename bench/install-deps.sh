#!/usr/bin/env bash
# Installs the Debian packages the benchmarks need beyond the build's (as root): GNU time for peak
# memory, ImageMagick to compare against, matplotlib for the plots and scikit-image for its sample
# photographs.
set -euo pipefail
exec "$(dirname "$0")/../scripts/install-deps.sh" time imagemagick python3-matplotlib \
  python3-skimage
