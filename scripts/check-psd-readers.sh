#!/usr/bin/env bash
# Opens the converter's PSDs in GIMP and Krita, the editors users open them in, and writes
# docs/psd-readers.md: per file the layers each editor sees, whether the layer has alpha, and
# whether its pixels equal the layer as psd-tools reads it (which the test suite checks against
# the PNG; colour compared where alpha is not 0). Also takes screenshots of a red disc on a
# transparent canvas open in both, into docs/manual/screens/.
# Usage: scripts/check-psd-readers.sh [build-dir] [PNG...]
# The PNGs named are checked after a red disc, a soft-edged gradient, a fading noise and
# samples/sample.png.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
lumbrix=$build/lumbrix
[ -x "$lumbrix" ] || lumbrix=$build/src/lumbrix
[ -x "$lumbrix" ] || { echo "missing: $build/lumbrix" >&2; exit 1; }

packages=(gimp krita xvfb xauth imagemagick python3-pil python3-psd-tools)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d /tmp/psd-readers.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/psd" "$work/gimp" "$work/krita"

convert -size 400x300 xc:none -fill '#e01010' -draw 'circle 200,150 200,60' "$work/in/red-disc.png"
convert -size 256x128 -depth 8 gradient:'#2040c0'-'#f0a020' \
  \( -size 256x128 gradient:white-none -rotate 90 -resize 256x128\! \) \
  -compose copy_opacity -composite -depth 8 "$work/in/soft-gradient.png"
# Large enough that the writer stores the noisy colour channels raw and packs the rest.
convert -size 512x256 xc:gray +noise Random \( -size 512x256 gradient:white-none \) \
  -compose copy_opacity -composite PNG32:"$work/in/noise-fade.png"
cp "$root/samples/sample.png" "$work/in/sample.png"
inputs=("$work/in"/*.png "$@")

for png in "${inputs[@]}"; do
  "$lumbrix" -q -i "$png" -o "$work/psd/"
done

# GIMP, in one batch run: layer count, extra channels, whether the first layer has alpha, and
# the first layer saved as PNG.
script="(define (check file out report)
  (let* ((image (car (file-psd-load RUN-NONINTERACTIVE file file)))
         (layers (gimp-image-get-layers image))
         (layer (aref (cadr layers) 0))
         (port (open-output-file report)))
    (display (car layers) port) (display \" \" port)
    (display (car (gimp-image-get-channels image)) port) (display \" \" port)
    (display (car (gimp-drawable-has-alpha layer)) port) (newline port)
    (close-output-port port)
    (file-png-save2 RUN-NONINTERACTIVE image layer out out 0 9 0 0 0 0 0 0 0)))"
for psd in "$work/psd"/*.psd; do
  name=$(basename "$psd" .psd)
  script+=" (check \"$psd\" \"$work/gimp/$name.png\" \"$work/gimp/$name.txt\")"
done
gimp-console -i -d -f -b "$script" -b '(gimp-quit 0)' >"$work/gimp.log" 2>&1 || true

# Krita, headless under Xvfb: the document as OpenRaster, whose stack lists the layers.
for psd in "$work/psd"/*.psd; do
  name=$(basename "$psd" .psd)
  timeout 300 xvfb-run -a krita "$psd" --export --export-filename "$work/krita/$name.ora" \
    >>"$work/krita.log" 2>&1 || true
done

/usr/bin/python3 - "$work" "$root/docs/psd-readers.md" "$(git -C "$root" rev-parse --short HEAD)" \
  "${inputs[@]}" <<'PY'
import glob, io, os, re, sys, zipfile, datetime
from PIL import Image
from psd_tools import PSDImage

work, doc, commit, *pngs = sys.argv[1:]

def equal(expected, path_or_file):
    try:
        actual = Image.open(path_or_file).convert("RGBA")
    except Exception:
        return "unreadable"
    if actual.size != expected.size:
        return f"size {actual.size[0]}x{actual.size[1]}"
    worst = 0
    for (r, g, b, a), (r2, g2, b2, a2) in zip(expected.getdata(), actual.getdata()):
        worst = max(worst, abs(a - a2))
        if a:
            worst = max(worst, abs(r - r2), abs(g - g2), abs(b - b2))
    return "equal" if worst == 0 else f"off by up to {worst}"

def has_alpha(image):
    if not isinstance(image, Image.Image):
        image = Image.open(image)
    return "yes" if image.mode in ("RGBA", "LA", "PA") or "transparency" in image.info else "no"

rows = []
for png in pngs:
    name = os.path.splitext(os.path.basename(png))[0]
    expected = PSDImage.open(f"{work}/psd/{name}.psd")[0].topil().convert("RGBA")
    row = [os.path.basename(png)]
    report = f"{work}/gimp/{name}.txt"
    if os.path.exists(report) and os.path.exists(f"{work}/gimp/{name}.png"):
        layers, channels, alpha = open(report).read().split()
        row += [layers, channels, "yes" if alpha == "1" else "no", equal(expected, f"{work}/gimp/{name}.png")]
    else:
        row += ["failed", "-", "-", "-"]
    ora = f"{work}/krita/{name}.ora"
    if os.path.exists(ora):
        with zipfile.ZipFile(ora) as archive:
            layers = re.findall(r"<layer [^>]*>", archive.read("stack.xml").decode())
            row.append(str(len(layers)))
            if layers:
                # Krita crops a layer to its pixels; it goes back on a canvas of the picture's size.
                attribute = lambda key: re.search(f'\s{key}="([^"]*)"', layers[-1]).group(1)
                layer = Image.open(io.BytesIO(archive.read(attribute("src"))))
                canvas = Image.new("RGBA", expected.size, (0, 0, 0, 0))
                canvas.paste(layer.convert("RGBA"), (int(attribute("x")), int(attribute("y"))))
                shown = io.BytesIO()
                canvas.save(shown, "PNG")
                row += [has_alpha(layer), equal(expected, shown)]
            else:
                row += ["-", "-"]
    else:
        row += ["failed", "-", "-"]
    rows.append(row)

out = ["# The PSD in GIMP and Krita", "",
       "Written by `scripts/check-psd-readers.sh`; do not edit by hand. Each PNG is converted with "
       "the default settings; GIMP " "loads the PSD with `file-psd-load` in a batch run and saves "
       "its first layer; Krita (headless under Xvfb) exports it as OpenRaster, whose stack lists "
       "the layers. Pixels are compared with the layer as psd-tools reads it, which the test suite "
       "checks against the PNG: alpha everywhere, colour where alpha is not 0.", "", f"Commit {commit}, {datetime.date.today().isoformat()}.", "",
       "| PNG | GIMP layers | GIMP extra channels | GIMP layer alpha | GIMP pixels | "
       "Krita layers | Krita layer alpha | Krita pixels |",
       "|---|---:|---:|---|---|---:|---|---|"]
out += ["| " + " | ".join(row) + " |" for row in rows]
out += ["", "Screenshots of the red disc on a transparent 400x300 canvas open in each: "
        "`docs/manual/screens/psd-in-gimp.png`, `docs/manual/screens/psd-in-krita.png`."]
open(doc, "w").write("\n".join(out) + "\n")
print("\n".join(out))
PY

# Screenshots: each editor's window on a virtual screen, the disc's transparent canvas showing
# as the editor's checkerboard.
disc=$work/psd/red-disc.psd
if [ -f "$disc" ]; then
  shoot() {
    local out=$1 wait=$2
    shift 2
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c \
      "\"\$@\" >/dev/null 2>&1 & sleep $wait; import -window root '$out'; kill %1" _ "$@" || true
  }
  mkdir -p "$root/docs/manual/screens"
  shoot "$root/docs/manual/screens/psd-in-gimp.png" 40 gimp --no-splash "$disc"
  shoot "$root/docs/manual/screens/psd-in-krita.png" 60 krita --nosplash "$disc"
fi
