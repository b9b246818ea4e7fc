#!/usr/bin/env bash
# The main job: build, then convert the sample PNG into out/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_TARGET=lumbrix scripts/build.sh
mkdir -p out
./build/lumbrix -i "$PWD/samples/sample.png" -o "$PWD/out"
ls -l out
