#!/usr/bin/env bash
# Builds the Debian package of ${BUILD_DIR:-build} with cpack, shows its control data (name,
# version, dependencies) and runs lintian on it. Tags explained in the README are left out; any
# other error or warning fails. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build=${BUILD_DIR:-build}
rm -f "$build"/lumbrix_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lumbrix_*.deb)
dpkg-deb -I "$deb"
status=0
lintian --fail-on error,warning --display-info --suppress-tags initial-upload-closes-no-bugs \
  "$deb" >"$build/lintian.log" 2>&1 || status=$?
grep -v '^running with root privileges' "$build/lintian.log" || true
[ "$status" = 0 ] || { echo "lintian failed" >&2; exit "$status"; }
echo "$deb"
