#!/usr/bin/env bash
# One large picture followed by many small ones under a low descriptor limit: every file must
# convert. Prints the limit, the run's closing lines, the files written and the wall time.
# Usage: bench/descriptor_batch.sh build-dir [small-count] [limit]
set -euo pipefail

build=${1:?build folder}
count=${2:-3000}
limit=${3:-256}
work=${BENCH_WORK:-/tmp/lumbrix-bench}/descriptors
lumbrix=$build/src/lumbrix
[ -x "$lumbrix" ] || lumbrix=$build/lumbrix
noise=$build/bench/make_noise_png
for tool in "$lumbrix" "$noise"; do
  [ -x "$tool" ] || { echo "missing: $tool" >&2; exit 1; }
done

mkdir -p "$work/in"
[ -s "$work/in/0big.png" ] || "$noise" 8000 6000 rgb 8 "$work/in/0big.png"
[ -s "$work/in/small.png" ] || "$noise" 16 16 rgb 8 "$work/in/small.png"
for i in $(seq -w 1 "$count"); do
  [ -e "$work/in/s$i.png" ] || cp "$work/in/small.png" "$work/in/s$i.png"
done
rm -rf "$work/out" && mkdir -p "$work/out"

start=$(date +%s.%N)
set +e
(ulimit -n "$limit" && "$lumbrix" -i "$work/in" -o "$work/out") | tr -d '\0' | tail -n 3
status=${PIPESTATUS[0]}
set -e
end=$(date +%s.%N)
echo "descriptor limit: $limit, exit status: $status"
echo "files in: $(find "$work/in" -name '*.png' | wc -l), written: $(find "$work/out" -name '*.psd' | wc -l)"
echo "wall: $(echo "$end - $start" | bc) s"
