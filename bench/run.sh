#!/usr/bin/env bash
# Measures the converter against ImageMagick and a decode-only floor, and writes
# docs/benchmarks.md and its plots in docs/benchmarks/. The commands alternate within each round, so a change in the machine's load
# touches all of them alike. Needs a Release build with the bench programs.
# Usage: bench/run.sh [build-dir] [rounds]
# BENCH_INPUTS (names of the inputs below, space-separated) limits the single-file rows to those;
# BENCH_EXTRAS=0 leaves out the step, tone-mapping, hostile-input and durable-write sections.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-perf}
rounds=${2:-5}
work=${BENCH_WORK:-/tmp/lumbrix-bench}
lumbrix=$build/src/lumbrix
[ -x "$lumbrix" ] || lumbrix=$build/lumbrix
magick=/usr/bin/convert
[ -x "$magick" ] || magick=$(command -v convert)
timer=/usr/bin/time
"$root/bench/install-deps.sh"
for tool in "$lumbrix" "$build/bench/make_noise_png" "$build/bench/decode_floor" \
  "$build/bench/stage_bench" "$build/bench/tone_map_bench" "$build/bench/durable_write_bench" \
  "$magick" "$timer"; do
  [ -x "$tool" ] || { echo "missing: $tool" >&2; exit 1; }
done

mkdir -p "$work/in" "$work/out" "$work/times"
rm -f "$work/times"/*

# name width height kind depth: photographs, a logo (bench/make_picture_png.py) and noise
# (bench/make_noise_png) of a colour type.
all_inputs=("photo-rgba 4000 3000 photo-alpha 8" "photo-rgb 4000 3000 photo 8"
  "photo-rgb-large 12000 8000 photo 8" "logo 1000 1000 logo 8"
  "rgba8 4000 3000 rgba 8" "rgba16 4000 3000 rgba 16" "rgb8-large 12000 8000 rgb 8"
  "palette 1000 1000 palette 8")
inputs=()
for entry in "${all_inputs[@]}"; do
  read -r name _ <<<"$entry"
  [ -z "${BENCH_INPUTS:-}" ] || [[ " $BENCH_INPUTS " == *" $name "* ]] && inputs+=("$entry")
done
for entry in "${inputs[@]}"; do
  read -r name width height type depth <<<"$entry"
  [ -s "$work/in/$name.png" ] && continue
  case $type in
  photo | photo-alpha | logo)
    /usr/bin/python3 "$root/bench/make_picture_png.py" "$type" "$width" "$height" "$work/in/$name.png" ;;
  *) "$build/bench/make_noise_png" "$width" "$height" "$type" "$depth" "$work/in/$name.png" ;;
  esac
done

# A resize, a solid frame and a text watermark together.
full_options=(--WIDTH=2000 --HEIGHT=1500 --FR-SOLID-LEFT=40 --FR-SOLID-RIGHT=40
  --FR-SOLID-TOP=40 --FR-SOLID-BOTTOM=40 "--WM-TEXT=Lumbrix benchmark" --WM-FONT-SIZE=48)

# The modes each input is converted in besides the default (one layer, PackBits).
modes_of() {
  case $1 in
  photo-rgba) echo "flat raw full" ;;
  photo-rgb-large | rgb8-large) echo "flat raw" ;;
  rgba8) echo "flat raw full" ;;
  *) echo "" ;;
  esac
}

# measure label round command...: one run under GNU time, which gives the peak RSS; the wall
# time is taken here, finer than GNU time's hundredths.
# Hostile inputs (labels bomb.*) are refused by design: for them status 1 is the expected end.
measure() {
  local label=$1 round=$2 start end status=0 expected=0
  shift 2
  [[ $label == bomb.* ]] && expected=1
  start=$EPOCHREALTIME
  "$timer" -v -o "$work/times/$label.$round" "$@" >/dev/null 2>"$work/times/$label.$round.err" ||
    status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "failed: $label round $round" >&2
    echo "FAILED" >>"$work/times/$label.$round"
  fi
  end=$EPOCHREALTIME
  echo "Wall: $start $end" >>"$work/times/$label.$round"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for round in $(seq 1 "$rounds"); do
  for entry in "${inputs[@]}"; do
    read -r name _ <<<"$entry"
    in=$work/in/$name.png
    # Each output is removed untimed, so no run pays for freeing the previous one's blocks.
    measure "$name.lumbrix" "$round" "$lumbrix" -q -i "$in" -o "$work/out/"
    rm -f "$work/out/$name.psd"
    for mode in $(modes_of "$name"); do
      case $mode in
      flat) options=(--PSD-LAYERS=0) ;;
      raw) options=(--PSD-COMPRESSION=NONE) ;;
      full) options=("${full_options[@]}") ;;
      esac
      measure "$name.lumbrix-$mode" "$round" "$lumbrix" -q -i "$in" -o "$work/out/" "${options[@]}"
      rm -f "$work/out/$name.psd"
    done
    measure "$name.imagemagick" "$round" "$magick" "$in" "$work/out/$name-im.psd"
    measure "$name.floor" "$round" "$build/bench/decode_floor" "$in" "$work/out/$name.raw"
    rm -f "$work/out/$name-im.psd" "$work/out/$name.raw"
  done
  echo "round $round of $rounds done" >&2
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# File sizes, once: the default PSD and ImageMagick's of each input.
for entry in "${inputs[@]}"; do
  read -r name _ <<<"$entry"
  "$lumbrix" -q -i "$work/in/$name.png" -o "$work/out/"
  "$magick" "$work/in/$name.png" "$work/out/$name-im.psd"
  echo "$(stat -c %s "$work/out/$name.psd") $(stat -c %s "$work/out/$name-im.psd")" >"$work/times/$name.sizes"
  rm -f "$work/out/$name.psd" "$work/out/$name-im.psd"
done

if [ "${BENCH_EXTRAS:-1}" != 0 ]; then
# One conversion per process, as the program does: a second one in the same process would find
# memory already mapped and look faster than any real run.
mkdir -p "$work/stages"
rm -f "$work/stages"/*
for round in 1 2 3; do
  for run in "photo-rgba default" "photo-rgba flat" "photo-rgba full" "rgba16 default" "rgb8-large default"; do
    read -r name kind <<<"$run"
    "$build/bench/stage_bench" "$work/in/$name.png" "$work/out" 1 "$kind" 2>/dev/null \
      >"$work/stages/$name-$kind.$round"
  done
done
rm -rf "$work/out"

# The tone mapping of the 16-bit input alone: FreeImage's operator and the banded one.
for round in $(seq 1 "$rounds"); do
  for way in library banded; do
    measure "rgba16.tone-$way" "$round" "$build/bench/tone_map_bench" "$way" "$work/in/rgba16.png"
  done
done

# Small files that claim gigabytes, and a profile of 100 MB: each is refused.
mkdir -p "$work/bombs"
python3 "$root/bench/make_bombs.py" "$work/bombs"
for round in $(seq 1 "$rounds"); do
  for bomb in text deep flat; do
    measure "bomb.$bomb" "$round" "$lumbrix" -q -i "$work/bombs/$bomb-bomb.png" -o "$work/bombs/"
  done
  measure "bomb.profile" "$round" "$lumbrix" "--profile=$work/bombs/blank-profile.ini"
done

# Putting a file in place with and without syncing it and its folder: config.ini, and the PSDs
# of the 4000x3000 and 12000x8000 inputs, in the folder the outputs go to.
mkdir -p "$work/out"
"$build/bench/durable_write_bench" "$work/out" "$rounds" 3000 48000040 384000040 \
  >"$work/durable.txt"
rm -rf "$work/out"

fi

# A folder of pictures in one run, against a run per file and ImageMagick's mogrify.
"$root/bench/batch.sh" "$build" "${BATCH_ROUNDS:-3}" >"$work/batch.md"

# How the progress of the largest photograph's conversion moves, sampled as a window would.
rm -f "$work/progress.md"
if [ -f "$work/in/photo-rgb-large.png" ]; then
  mkdir -p "$work/out"
  /usr/bin/python3 "$root/bench/progress_while_loading.py" "$lumbrix" \
    "$work/in/photo-rgb-large.png" "$work/out/" >"$work/progress.md"
  rm -rf "$work/out"
fi

/usr/bin/python3 - "$work" "$root/docs/benchmarks.md" "$rounds" "$load_before" "$load_after" \
  "$(nproc)" "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')" \
  "$(git -C "$root" rev-parse --short HEAD)" "${full_options[*]}" <<'PY'
import glob, os, re, statistics, sys, datetime
work, doc, rounds, load_before, load_after, cpus, cpu, commit, full = sys.argv[1:]
inputs = [("photo-rgba", "photograph 4000x3000 RGBA (alpha ramp)", 4000, 3000),
          ("photo-rgb", "photograph 4000x3000 RGB", 4000, 3000),
          ("photo-rgb-large", "photograph 12000x8000 RGB", 12000, 8000),
          ("logo", "flat logo 1000x1000 RGBA", 1000, 1000),
          ("rgba8", "noise 4000x3000 RGBA 8-bit", 4000, 3000),
          ("rgba16", "noise 4000x3000 RGBA 16-bit", 4000, 3000),
          ("rgb8-large", "noise 12000x8000 RGB 8-bit", 12000, 8000),
          ("palette", "noise 1000x1000 paletted", 1000, 1000)]
modes = ["lumbrix", "lumbrix-flat", "lumbrix-raw", "lumbrix-full"]

def parse(path):
    text = open(path).read()
    if "FAILED" in text:
        return None
    wall = re.search(r"Wall: ([\d.]+) ([\d.]+)", text)
    rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", text)
    return float(wall.group(2)) - float(wall.group(1)), int(rss.group(1)) / 1024

def result(label):
    runs = [parse(p) for p in sorted(glob.glob(f"{work}/times/{label}.[0-9]*")) if not p.endswith(".err")]
    if not runs or None in runs:
        return None
    return statistics.median(r[0] for r in runs), max(r[1] for r in runs)

r = {(name, tool): result(f"{name}.{tool}") for name, *_ in inputs
     for tool in modes + ["imagemagick", "floor"]}

def ratio(a, b):
    return f"{a[0] / b[0]:.2f}" if a and b and b[0] > 0 else "-"

def secs(x):
    return f"{x[0]:.3f}" if x else "-"

def mb(x):
    return f"{x[1]:.0f}" if x else "-"

out = ["# Benchmarks", "",
       "Written by `bench/run.sh`; do not edit by hand. Every row names its input: photographs "
       "(scikit-image's sample photos in a mosaic, scaled, with and without a soft alpha ramp) "
       "and a flat logo made by `bench/make_picture_png.py`, and random-noise PNGs made by "
       "`bench/make_noise_png`, which do not pack; a row of dashes was not measured in this run. "
       "Every command runs once per round, the commands alternating, and "
       f"the median wall time of {rounds} rounds is shown with the largest peak RSS "
       "(`/usr/bin/time -v`).", "",
       f"Machine: {cpus} CPUs, {cpu}. Load average (1, 5, 15 min) before: {load_before}; "
       f"after: {load_after}. The cores are shared with other work, so absolute times vary; the "
       "ratios come from the same rounds.", "",
       f"Commit {commit}, {datetime.date.today().isoformat()}.", "",
       "Commands: `lumbrix -q -i X -o DIR` (default settings: one layer and the composite, "
       "PackBits); *flat*: the same with `--PSD-LAYERS=0` (the composite alone, raw, as earlier "
       "versions wrote it); *raw*: `--PSD-COMPRESSION=NONE`; *full*: the default with "
       f"`{full}`; ImageMagick `convert X Y.psd`; floor: `bench/decode_floor X Y.raw`, which "
       "only decodes the PNG with libpng and writes the decoded bytes.", "",
       "## Ratios", "",
       "| Input | default / ImageMagick | default / floor | flat / floor | raw / floor | full / default |",
       "|---|---:|---:|---:|---:|---:|"]
measured = [i for i in inputs if r[(i[0], "lumbrix")] or r[(i[0], "floor")]]
for name, title, *_ in measured:
    out.append(f"| {title} | {ratio(r[(name, 'lumbrix')], r[(name, 'imagemagick')])} | "
               f"{ratio(r[(name, 'lumbrix')], r[(name, 'floor')])} | "
               f"{ratio(r[(name, 'lumbrix-flat')], r[(name, 'floor')])} | "
               f"{ratio(r[(name, 'lumbrix-raw')], r[(name, 'floor')])} | "
               f"{ratio(r[(name, 'lumbrix-full')], r[(name, 'lumbrix')])} |")
out += ["", "## Seconds and peak RSS (MB)", "",
        "| Input | default | flat | raw | full | ImageMagick | floor | default RSS | flat RSS | raw RSS | ImageMagick RSS | floor RSS |",
        "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
for name, title, *_ in measured:
    row = [secs(r[(name, t)]) for t in modes + ["imagemagick", "floor"]]
    row += [mb(r[(name, t)]) for t in ["lumbrix", "lumbrix-flat", "lumbrix-raw", "imagemagick", "floor"]]
    out.append(f"| {title} | " + " | ".join(row) + " |")
out += ["", "## File sizes (bytes, default settings)", "",
        "| Input | lumbrix | ImageMagick | lumbrix / ImageMagick |", "|---|---:|---:|---:|"]
for name, title, *_ in measured:
    path = f"{work}/times/{name}.sizes"
    if os.path.exists(path):
        ours, theirs = map(int, open(path).read().split())
        out.append(f"| {title} | {ours:,} | {theirs:,} | {ours / theirs:.2f} |")

def check(ok, text):
    return f"- {'met' if ok else 'NOT met'}: {text}"

def target(name, mode, against, limit, text, faster=False):
    ours, theirs = r[(name, mode)], r[(name, against)]
    if not ours or not theirs:
        return f"- not measured: {text}"
    value = theirs[0] / ours[0] if faster else ours[0] / theirs[0]
    return check(value >= limit if faster else value <= limit, f"{text} ({value:.2f})")

limit = 2 * 12000 * 8000 * 4 / 2**20 + 100
out += ["", "## Targets", "",
        target("photo-rgba", "lumbrix", "floor", 1.6, "photograph 4000x3000 RGBA, default: at most 1.6 x the floor"),
        target("photo-rgba", "lumbrix", "imagemagick", 0.20, "photograph 4000x3000 RGBA, default: at most 0.20 x ImageMagick"),
        target("photo-rgba", "lumbrix-flat", "floor", 1.2, "photograph 4000x3000 RGBA without layers: at most 1.2 x the floor"),
        target("photo-rgb-large", "lumbrix", "floor", 1.6, "photograph 12000x8000 RGB, default: at most 1.6 x the floor"),
        target("photo-rgba", "lumbrix-full", "lumbrix", 1.4, "photograph 4000x3000 RGBA: resize, frame and watermark at most 1.4 x the default")]
for name in ("photo-rgb-large", "rgb8-large"):
    for mode, label in (("lumbrix", "default"), ("lumbrix-flat", "without layers"), ("lumbrix-raw", "uncompressed")):
        m = r[(name, mode)]
        if m:
            out.append(check(m[1] <= limit, f"{dict((i[0], i[1]) for i in inputs)[name]} {label}: peak RSS at most {limit:.0f} MB ({m[1]:.0f} MB)"))
out += ["", "## Steps of one conversion", "",
        "`bench/stage_bench` runs `convert_file` once per process (no console, no checks) and "
        "times each step; tone mapping is its own row. Median of 3 processes; steps that took "
        "under a millisecond in every run are left out.", ""]
order = ["photo-rgba-default", "photo-rgba-flat", "photo-rgba-full", "rgba16-default", "rgb8-large-default"]
cases = sorted({os.path.basename(p).rsplit(".", 1)[0] for p in glob.glob(f"{work}/stages/*.*")},
               key=order.index)
steps, table = [], {}
if not cases:
    out.append("Not measured in this run (`BENCH_EXTRAS=0`).")
for case in cases:
    for path in glob.glob(f"{work}/stages/{case}.*"):
        for step, value in re.findall(r"^\| \**([^|*]+?)\** \| \**([\d.]+)\** \|$", open(path).read(), re.M):
            if step not in steps:
                steps.append(step)
            table.setdefault((case, step), []).append(float(value))
if cases:
    out += ["| Step | " + " | ".join(cases) + " |", "|---|" + "---:|" * len(cases)]
for step in steps:
    values = [table.get((case, step)) for case in cases]
    if all(v is None or max(v) < 0.001 for v in values):
        continue
    out.append(f"| {step} | " + " | ".join(f"{statistics.median(v):.3f}" if v else "-" for v in values) + " |")
load = table.get(("photo-rgba-default", "load"))
fl = r[("photo-rgba", "floor")]
if load and fl:
    l = statistics.median(load)
    out += ["", f"The PNG load alone (the step table's load row, rows read by libpng into the FreeImage bitmap) is {l:.3f} s, "
            f"{l / fl[0]:.2f} x the floor of the same run: the part of every conversion that the "
            "writer cannot shorten."]
tone = {way: result(f"rgba16.tone-{way}") for way in ("library", "banded")}
if all(tone.values()):
    out += ["", "## Tone mapping of 16-bit pictures", "",
            "`bench/tone_map_bench` loads the 4000x3000 RGBA 16-bit input and maps it once per "
            "process; the wall time and peak RSS are the whole process's (median, largest). The "
            "results are equal byte for byte (`tone_map_bench compare`).", "",
            "| Way | Seconds | Peak RSS (MB) |", "|---|---:|---:|",
            f"| FreeImage_TmoDrago03, float copies of the picture | {secs(tone['library'])} | {mb(tone['library'])} |",
            f"| banded, statistics then mapping straight into the result | {secs(tone['banded'])} | {mb(tone['banded'])} |"]
bombs = [("text", "PNG of 705 bytes, a text chunk after the image data claiming 2 GB"),
         ("deep", "PNG of 312 bytes declaring 30000x30000 RGBA 16-bit, one row of data"),
         ("flat", "PNG of 196 bytes declaring 30000x30000 RGBA 8-bit, one row of data"),
         ("profile", "`--profile` of 100 MB of blank lines")]
bombs_measured = any(result(f"bomb.{bomb}") for bomb, _ in bombs)
out += ["", "## Hostile inputs", ""] if bombs_measured else []
out += [
        "Each is refused before it costs memory: the conversion stops with the reason, or the "
        "profile is an option error (status 1 either way). Median wall time and largest peak RSS "
        "of the whole run.", "",
        "| Input | Seconds | Peak RSS (MB) |", "|---|---:|---:|"] if bombs_measured else []
for bomb, title in bombs if bombs_measured else []:
    b = result(f"bomb.{bomb}")
    out.append(f"| {title} | {secs(b)} | {mb(b)} |")
durable_path = f"{work}/durable.txt"
durable = [line.split() for line in open(durable_path) if line.strip()] if os.path.exists(durable_path) else []
if durable:
    out += ["", "## Durable replace", "",
            "`bench/durable_write_bench`: the same bytes put in place over an earlier file, the old "
            "way (created by name, written, renamed) and through the temporary-file object "
            f"(unnamed until placed, synced before the rename, its folder synced after); median "
            f"of {rounds} alternating rounds, in the output folder's file system.", "",
            "| Bytes | Old way (s) | Synced (s) | Cost of syncing (s) |", "|---:|---:|---:|---:|"]
    for size, old, synced in durable:
        out.append(f"| {int(size):,} | {float(old):.4f} | {float(synced):.4f} | "
                   f"{float(synced) - float(old):.4f} |")
batch = open(f"{work}/batch.md").read().rstrip()
if batch:
    out += ["", batch]
if os.path.exists(f"{work}/progress.md"):
    out += ["", "## Progress while loading", "",
            "`bench/progress_while_loading.py`: the 12000x8000 RGB photograph converted with "
            "`--progress=always`, the file's percentage read every 0.5 s (the first 30 % is the "
            "PNG's load, reported row by row as it decodes).", "",
            open(f"{work}/progress.md").read().rstrip()]
notes = os.path.join(os.path.dirname(doc), "..", "bench", "notes.md")
if os.path.exists(notes):
    out += ["", open(notes).read().rstrip()]
open(doc, "w").write("\n".join(out) + "\n")
print("\n".join(out))
PY
/usr/bin/python3 "$root/bench/plot.py" "$root/docs/benchmarks.md" "$root/docs/benchmarks"
