#!/usr/bin/env bash
# Times a 4000x3000 RGBA picture of 16-bit samples converted at the default depth (tone-mapped to
# 8 bits), at --PSD-BPP=64 (16 bits kept) and by ImageMagick, alternating within each round, and
# prints each run's wall time and peak RSS; then the same for 8-bit samples at both depths.
# Usage: bench/deep_depth.sh [build-dir] [rounds]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${2:-3}
work=${BENCH_WORK:-/tmp/lumbrix-deep-bench}
mkdir -p "$work/out"
for depth in 16 8; do
  [ -s "$work/rgba$depth.png" ] ||
    "$build/bench/make_noise_png" 4000 3000 rgba "$depth" "$work/rgba$depth.png"
done

run() {
  local label=$1
  shift
  /usr/bin/time -f "$label %e s %M KB" "$@" >/dev/null 2>"$work/time" || echo "$label failed"
  tail -1 "$work/time"
  rm -f "$work/out"/*
}

for round in $(seq 1 "$rounds"); do
  for depth in 16 8; do
    in=$work/rgba$depth.png
    run "rgba$depth default" "$build/lumbrix" -q -i "$in" -o "$work/out"
    run "rgba$depth 64-bit" "$build/lumbrix" -q -i "$in" -o "$work/out" --PSD-BPP=64
    [ "$depth" = 16 ] && run "rgba$depth ImageMagick" convert "$in" "$work/out/im.psd"
  done
done
