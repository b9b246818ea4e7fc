#!/usr/bin/env bash
# Batch conversion against one process per file and against ImageMagick's mogrify, and one small
# picture against ImageMagick's convert. Prints a Markdown section; bench/run.sh puts it into
# docs/benchmarks.md. The ways alternate within each round, so a change in the machine's load
# touches all of them alike.
# Usage: bench/batch.sh build-dir [rounds]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build folder}
rounds=${2:-3}
work=${BENCH_WORK:-/tmp/lumbrix-bench}/batch
lumbrix=$build/src/lumbrix
[ -x "$lumbrix" ] || lumbrix=$build/lumbrix
noise=$build/bench/make_noise_png
floor=$build/bench/startup_floor
core_floor=$build/bench/startup_floor_core
# The real ImageMagick programs, whatever else is first on the PATH.
convert=/usr/bin/convert
mogrify=/usr/bin/mogrify
timer=/usr/bin/time
for tool in "$lumbrix" "$noise" "$floor" "$core_floor" "$convert" "$mogrify" "$timer"; do
  [ -x "$tool" ] || { echo "missing: $tool" >&2; exit 1; }
done

# A folder of real pictures: the test corpus's PNGs that convert (the broken ones left out), 100
# desktop icons and 20 photographs of 1200x900 to 1960x1470. Names are made unique by number.
mkdir -p "$work/in" "$work/small"
if [ ! -s "$work/in.done" ]; then
  rm -f "$work/in"/*
  i=0
  while IFS= read -r file; do
    i=$((i + 1))
    cp "$file" "$work/in/$(printf '%03d' "$i")-$(basename "$file")"
  done < <(find "$root/tests/data/corpus" -name '*.png' | sort
    find /usr/share/icons -name '*.png' -size +1k | sort | sed -n '1,100p')
  for i in $(seq -w 1 20); do
    /usr/bin/python3 "$root/bench/make_picture_png.py" photo $((1200 + 40 * 10#$i)) \
      $((900 + 30 * 10#$i)) "$work/in/photo-$i.png"
  done
  rm -rf "$work/probe" && mkdir -p "$work/probe"
  "$lumbrix" -q -i "$work/in" -o "$work/probe/" >/dev/null 2>&1 || true
  for file in "$work/in"/*.png; do
    name=$(basename "$file" .png)
    [ -s "$work/probe/$name.psd" ] || rm -f "$file"
  done
  rm -rf "$work/probe"
  echo done >"$work/in.done"
fi
pictures=$(find "$work/in" -name '*.png' | wc -l)
# One 64x64 desktop icon, or noise where there is none.
icon=$(find /usr/share/icons -path '*64x64*' -name '*.png' | sort | sed -n 1p)
if [ -n "$icon" ]; then cp "$icon" "$work/small/tiny.png"; else "$noise" 64 64 rgb 8 "$work/small/tiny.png"; fi

fresh() { rm -rf "$work/out" && mkdir -p "$work/out"; }
seconds() { python3 -c "import sys; print(f'{float(sys.argv[2]) - float(sys.argv[1]):.4f}')" "$@"; }

# way label: one timed run of a whole folder's conversion into a fresh output folder.
run_way() {
  local start end
  fresh
  start=$EPOCHREALTIME
  case $1 in
  batch) "$timer" -f %M -o "$work/rss" "$lumbrix" -q -i "$work/in" -o "$work/out/" ;;
  loop) for file in "$work/in"/*.png; do "$lumbrix" -q -i "$file" -o "$work/out/"; done ;;
  mogrify) "$mogrify" -path "$work/out" -format psd "$work/in"/*.png 2>/dev/null || true ;;
  esac
  end=$EPOCHREALTIME
  echo "$1 $(seconds "$start" "$end")" >>"$work/folder.times"
  [ "$1" = batch ] && echo "$(cat "$work/rss")" >>"$work/batch.rss"
  return 0
}

rm -f "$work/folder.times" "$work/batch.rss" "$work/tiny.times"
for round in $(seq 1 "$rounds"); do
  for way in batch loop mogrify; do run_way "$way"; done
  echo "batch round $round of $rounds done" >&2
done

# The batch's files equal one-by-one conversions of the same pictures.
fresh
"$lumbrix" -q -i "$work/in" -o "$work/out/"
mkdir -p "$work/single"
rm -f "$work/single"/*
for file in "$work/in"/*.png; do "$lumbrix" -q -i "$file" -o "$work/single/"; done
different=0
for file in "$work/single"/*.psd; do
  cmp -s "$file" "$work/out/$(basename "$file")" || different=$((different + 1))
done
outputs=$(find "$work/out" -name '*.psd' | wc -l)

# One 64x64 picture, twenty times each, alternating; beside it the program printing its version
# and a program that only loads the same libraries.
for round in $(seq 1 20); do
  for way in lumbrix convert version floor core-floor; do
    fresh
    start=$EPOCHREALTIME
    case $way in
    lumbrix) "$lumbrix" -q -i "$work/small/tiny.png" -o "$work/out/" ;;
    convert) "$convert" "$work/small/tiny.png" "$work/out/tiny.psd" ;;
    version) "$lumbrix" -v >/dev/null ;;
    floor) "$floor" ;;
    core-floor) "$core_floor" ;;
    esac
    end=$EPOCHREALTIME
    echo "$way $(seconds "$start" "$end")" >>"$work/tiny.times"
  done
done
rm -rf "$work/out" "$work/single"

budget_kb=$(awk '/MemAvailable/ { print int($2 * 3 / 4) }' /proc/meminfo)
python3 - "$work" "$rounds" "$different" "$outputs" "$budget_kb" "$pictures" "$icon" <<'PY'
import statistics, sys
work, rounds, different, outputs, budget_kb = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
pictures, icon = int(sys.argv[6]), sys.argv[7]
def times(name):
    found = {}
    for line in open(f"{work}/{name}"):
        way, value = line.split()
        found.setdefault(way, []).append(float(value))
    return {way: statistics.median(values) for way, values in found.items()}
folder = times("folder.times")
tiny = times("tiny.times")
rss_kb = max(int(line) for line in open(f"{work}/batch.rss"))
b, l, m = folder["batch"], folder["loop"], folder["mogrify"]
print("## Batch conversion\n")
print(f"A folder of {pictures} real PNGs (the test corpus's PNGs that convert, 100 desktop icons from "
      "`/usr/share/icons` and 20 photographs of 1200x900 to 1960x1470), converted into an empty "
      f"folder; median of {rounds} alternating rounds, wall time.\n")
print("| Way | Seconds | Batch is faster by |\n|---|---:|---:|")
print(f"| `lumbrix -i folder` (one run) | {b:.2f} | |")
print(f"| `lumbrix -i file`, once per file | {l:.2f} | {l / b:.2f} x |")
print(f"| `mogrify -format psd` | {m:.2f} | {m / b:.2f} x |")
print(f"\nPeak RSS of the batch run: {rss_kb / 1024:.0f} MB; its memory budget (three quarters of "
      f"the memory available at the end) {budget_kb / 1024:.0f} MB.")
print(f"\nThe batch's {outputs} PSDs against one-by-one conversions of the same pictures: "
      f"{different} differ.")
t, c = tiny["lumbrix"], tiny["convert"]
print(f"\nOne 64x64 PNG ({icon or 'noise'}), median of 20 alternating runs: "
      f"lumbrix {t * 1000:.1f} ms, ImageMagick's `convert` {c * 1000:.1f} ms ({c / t:.2f} x). "
      f"Of that, `lumbrix -v` takes {tiny['version'] * 1000:.1f} ms, and a program that only loads "
      f"the libraries `lumbrix` loads (Qt Core, FreeImage's archive without its plugins, libpng; "
      f"`bench/startup_floor_core`) {tiny['core-floor'] * 1000:.1f} ms; with Qt Gui and "
      f"FreeImage's shared library with its codec libraries, as `lumbrix-draw` loads for a frame "
      f"or a watermark (`bench/startup_floor`), {tiny['floor'] * 1000:.1f} ms.")
PY
