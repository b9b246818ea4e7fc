#!/usr/bin/env bash
# Times 4000x3000 RGBA pictures of 16-bit samples, random noise and a photograph-like plasma
# (smooth tones, fine grain, a soft alpha), converted at the default depth (tone-mapped to 8 bits),
# at --PSD-BPP=64 (16 bits kept) and by ImageMagick, alternating within each round, and prints
# each run's wall time and peak RSS; then the same for 8-bit samples at both depths.
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
[ -s "$work/photo16.png" ] ||
  convert -seed 7 -size 4000x3000 plasma:'#4060a0'-'#e0c090' -blur 0x1.5 -attenuate 0.2 \
    +noise Gaussian \( -size 4000x3000 radial-gradient:white-'#404040' \) \
    -compose copy_opacity -composite -depth 16 PNG64:"$work/photo16.png"

run() {
  local label=$1
  shift
  /usr/bin/time -f "$label %e s %M KB" "$@" >/dev/null 2>"$work/time" || echo "$label failed"
  tail -1 "$work/time"
  rm -f "$work/out"/*
}

for round in $(seq 1 "$rounds"); do
  for picture in photo16 rgba16 rgba8; do
    in=$work/$picture.png
    run "$picture default" "$build/lumbrix" -q -i "$in" -o "$work/out"
    run "$picture 64-bit" "$build/lumbrix" -q -i "$in" -o "$work/out" --PSD-BPP=64
    if [ "$picture" != rgba8 ]; then run "$picture ImageMagick" convert "$in" "$work/out/im.psd"; fi
  done
done
