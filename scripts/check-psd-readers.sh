#!/usr/bin/env bash
# Opens the converter's PSDs in GIMP and Krita, the editors users open them in, and writes
# docs/psd-readers.md: per file the layers each editor sees, whether the layer has alpha, and
# whether its pixels equal the layer as psd-tools reads it (which the test suite checks against
# the PNG; colour compared where alpha is not 0). Also takes screenshots of a red disc on a
# transparent canvas open in both, into docs/manual/screens/.
# Usage: scripts/check-psd-readers.sh [build-dir] [PNG...]
# The PNGs named are checked after a red disc, a soft-edged gradient, a fading noise and
# samples/sample.png. Then, each in its own table: a 16-bit RGBA PNG converted with
# --PSD-BPP=64 (the depth each editor opens and its samples against the PNG's); every corpus PNG
# with a gAMA chunk (the pixels GIMP shows from the PNG against those from the PSD); a 300-dpi
# PNG (the resolution in the PSD's resource and in each editor). A screenshot of GIMP's image
# properties for the 16-bit PSD goes to docs/psd-16-bit-in-gimp.png.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
lumbrix=$build/lumbrix
[ -x "$lumbrix" ] || lumbrix=$build/src/lumbrix
[ -x "$lumbrix" ] || { echo "missing: $build/lumbrix" >&2; exit 1; }

packages=(gimp krita xvfb xauth xdotool imagemagick python3-pil python3-psd-tools)
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

# Depth, gamma and resolution. The 16-bit picture's samples run between the 8-bit levels.
mkdir -p "$work/deep/in" "$work/deep/psd" "$work/deep/gimp" "$work/deep/krita"
convert -size 256x128 gradient:'#102a40'-'#f0c8a0' \( -size 128x256 gradient:white-'#202020' \
  -rotate 90 \) -compose copy_opacity -composite -depth 16 PNG64:"$work/deep/in/rgba16.png"
/usr/bin/python3 -c 'from PIL import Image; Image.radial_gradient("L").convert("RGB").save(
  "'"$work/deep/in/dpi300.png"'", dpi=(300, 300))'
"$lumbrix" -q -i "$work/deep/in/rgba16.png" -o "$work/deep/psd/" --PSD-BPP=64
"$lumbrix" -q -i "$work/deep/in/dpi300.png" -o "$work/deep/psd/"
gamma_pngs=()
while IFS= read -r png; do
  name=$(basename "$png" .png)
  # Sixteen-bit files keep their depth at 64 bits; at the default depth they would be tone-mapped.
  depth=()
  [ "$(identify -format '%z' "$png" 2>/dev/null)" = 16 ] && depth=(--PSD-BPP=64)
  cp "$png" "$work/deep/in/gamma-$name.png"
  "$lumbrix" -q -i "$work/deep/in/gamma-$name.png" -o "$work/deep/psd/" "${depth[@]}" || true
  gamma_pngs+=("$work/deep/in/gamma-$name.png")
done < <(/usr/bin/python3 - "$root/tests/data/corpus" <<'PY'
import glob, struct, sys
for path in sorted(glob.glob(f"{sys.argv[1]}/**/*.png", recursive=True)):
    data, at = open(path, "rb").read(), 8
    while at + 8 <= len(data) and data[:8] == b"\x89PNG\r\n\x1a\n":
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind in (b"gAMA", b"IDAT"):
            if kind == b"gAMA":
                print(path)
            break
        at += 12 + length
PY
)

# GIMP, in one batch run: precision and resolution of each file opened, and its first layer
# saved as PNG (at 16 bits where the image has them).
script="(define (open-and-save file out report)
  (let* ((image (car (gimp-file-load RUN-NONINTERACTIVE file file)))
         (layer (aref (cadr (gimp-image-get-layers image)) 0))
         (resolution (gimp-image-get-resolution image))
         (port (open-output-file report)))
    (display (car (gimp-image-get-precision image)) port) (display \" \" port)
    (display (car resolution) port) (display \" \" port) (display (cadr resolution) port)
    (newline port)
    (close-output-port port)
    (file-png-save2 RUN-NONINTERACTIVE image layer out out 0 9 0 0 0 0 0 0 0)))"
# A file GIMP cannot open stops only its own step.
for file in "$work/deep/psd"/*.psd "${gamma_pngs[@]}"; do
  base=$(basename "$file")
  out=$work/deep/gimp/${base%.*}-${base##*.}
  script+=" (catch #f (open-and-save \"$file\" \"$out.png\" \"$out.txt\"))"
done
gimp-console -i -d -f -b "$script" -b '(gimp-quit 0)' >"$work/deep/gimp.log" 2>&1 || true

# Krita: its own format holds the depth, profile and resolution it opened, and the layer's
# samples as it keeps them (an export to PNG would convert them to the PNG's colour space).
for name in rgba16 dpi300; do
  timeout 300 xvfb-run -a krita "$work/deep/psd/$name.psd" --export \
    --export-filename "$work/deep/krita/$name.kra" >>"$work/krita.log" 2>&1 || true
done

/usr/bin/python3 - "$work/deep" "$root/docs/psd-readers.md" "${gamma_pngs[@]}" <<'PY'
import os, re, struct, subprocess, sys, zipfile
import numpy

work, doc, *gamma_pngs = sys.argv[1:]
precisions = {"100": "8-bit linear", "150": "8-bit", "200": "16-bit linear", "250": "16-bit",
              "300": "32-bit linear", "350": "32-bit", "500": "half linear", "550": "half",
              "600": "float linear", "650": "float"}

def samples(path):
    """RGBA at 16 bits as ImageMagick reads the file, colour zeroed where alpha is 0."""
    try:
        size = subprocess.run(["identify", "-format", "%w %h", path + "[0]"], check=True,
                              capture_output=True, text=True).stdout.split()
        raw = subprocess.run(["convert", path + "[0]", "-set", "colorspace", "sRGB", "-depth", "16",
                              "-endian", "MSB", "RGBA:-"], check=True,
                             capture_output=True).stdout
    except (subprocess.CalledProcessError, FileNotFoundError):
        return None
    pixels = numpy.frombuffer(raw, ">u2").reshape(int(size[1]), int(size[0]), 4).astype(int)
    pixels[pixels[..., 3] == 0, :3] = 0
    return pixels

def compare(expected, actual):
    if expected is None or actual is None:
        return "unreadable"
    if expected.shape != actual.shape:
        return f"size {actual.shape[1]}x{actual.shape[0]}"
    worst = int(abs(expected - actual).max())
    return "equal" if worst == 0 else f"off by up to {worst} of 65535"

def gimp(name):
    report = f"{work}/gimp/{name}.txt"
    if not os.path.exists(report):
        return None, None
    precision, x, y = open(report).read().split()
    return precisions.get(precision, precision), f"{float(x):g}x{float(y):g}"

def krita_image(name):
    try:
        with zipfile.ZipFile(f"{work}/krita/{name}.kra") as archive:
            return re.search(r"<IMAGE [^>]*>", archive.read("maindoc.xml").decode()).group(0)
    except (OSError, KeyError, zipfile.BadZipFile, AttributeError):
        return ""

def lzf(data, size):
    out, at = bytearray(), 0
    while at < len(data):
        control = data[at]
        at += 1
        if control < 32:
            out += data[at:at + control + 1]
            at += control + 1
            continue
        length = control >> 5
        if length == 7:
            length += data[at]
            at += 1
        back = len(out) - ((control & 31) << 8) - data[at] - 1
        at += 1
        for _ in range(length + 2):
            out.append(out[back])
            back += 1
    return bytes(out[:size])

def krita_tiles(blob, width, height, left, top):
    """A paint layer of 16-bit BGRA pixels: tiles of byte planes, each LZF-packed or raw."""
    header = dict(re.findall(rb"^([A-Z]+) (\d+)$", blob[:200], re.M))
    tile_w, tile_h, pixel = (int(header[k]) for k in (b"TILEWIDTH", b"TILEHEIGHT", b"PIXELSIZE"))
    pixels = numpy.zeros((height, width, 4), int)
    at = blob.index(b"\n", blob.index(b"DATA")) + 1
    while at < len(blob):
        end = blob.index(b"\n", at)
        x, y, _, size = blob[at:end].split(b",")
        x, y, size, at = int(x) + left, int(y) + top, int(size), end + 1
        raw = blob[at + 1:at + size]
        plain = lzf(raw, tile_w * tile_h * pixel) if blob[at] == 1 else raw
        planes = numpy.frombuffer(plain, numpy.uint8).reshape(pixel, tile_w * tile_h)
        tile = planes.T.copy().view("<u2").reshape(tile_h, tile_w, 4)[..., [2, 1, 0, 3]]
        at += size
        h, w = min(tile_h, height - y), min(tile_w, width - x)
        if h > 0 and w > 0 and x >= 0 and y >= 0:
            pixels[y:y + h, x:x + w] = tile[:h, :w]
    pixels[pixels[..., 3] == 0, :3] = 0
    return pixels

def krita_samples(name, image):
    try:
        with zipfile.ZipFile(f"{work}/krita/{name}.kra") as archive:
            layer = re.search(r"<layer [^>]*nodetype=\"paintlayer\"[^>]*>",
                              archive.read("maindoc.xml").decode()).group(0)
            blob = archive.read(f"{attribute(image, 'name')}/layers/{attribute(layer, 'filename')}")
        return krita_tiles(blob, int(attribute(image, "width")), int(attribute(image, "height")),
                           int(attribute(layer, "x")), int(attribute(layer, "y")))
    except (OSError, KeyError, ValueError, zipfile.BadZipFile, AttributeError):
        return None

def attribute(element, key):
    found = re.search(f'\\s{key}="([^"]*)"', element)
    return found.group(1) if found else "-"

def psd_resolution(path):
    data = open(path, "rb").read()
    at = 26 + 4 + struct.unpack(">I", data[26:30])[0]
    end, at = at + 4 + struct.unpack(">I", data[at:at + 4])[0], at + 4
    while at < end:
        ident, name_length = struct.unpack(">HB", data[at + 4:at + 7])
        at += 6 + (name_length + 2) // 2 * 2
        size = struct.unpack(">I", data[at:at + 4])[0]
        if ident == 0x03ED:
            h, v = struct.unpack(">i", data[at + 4:at + 8])[0], struct.unpack(">i", data[at + 12:at + 16])[0]
            return f"{h / 65536:g}x{v / 65536:g}"
        at += 4 + (size + 1) // 2 * 2
    return "none"

out = ["", "## 16 bits per channel", "",
       "A 256x128 RGBA PNG of 16-bit samples (a gradient whose levels fall between the 8-bit ones, "
       "alpha fading) converted with `--PSD-BPP=64`. GIMP's depth is its image precision; Krita's "
       "is the colour space of its own format after opening the PSD, with the profile it assigns. "
       "Samples are GIMP's first layer saved to PNG and Krita's layer as its own format keeps it, "
       "against the PNG's: alpha everywhere, colour where alpha is not 0.", "",
       "| PNG | PSD depth (psd-tools) | GIMP depth | GIMP samples | Krita colour space | "
       "Krita profile | Krita samples |",
       "|---|---:|---|---|---|---|---|"]
try:
    from psd_tools import PSDImage
    psd_depth = str(PSDImage.open(f"{work}/psd/rgba16.psd").depth)
except Exception:
    psd_depth = "unreadable"
expected = samples(f"{work}/in/rgba16.png")
gimp_depth, _ = gimp("rgba16-psd")
kra = krita_image("rgba16")
out.append(f"| rgba16.png | {psd_depth} | {gimp_depth or 'failed'} | "
           f"{compare(expected, samples(f'{work}/gimp/rgba16-psd.png'))} | "
           f"{attribute(kra, 'colorspacename') if kra else 'failed'} | {attribute(kra, 'profile')} | "
           f"{compare(expected, krita_samples('rgba16', kra))} |")

out += ["", "## Files with a gAMA chunk", "",
        "Every PNG of the test corpus with a gAMA chunk, converted with the default settings "
        "(16-bit files with `--PSD-BPP=64`). GIMP opens the PNG and the PSD; the first layer of "
        "each, saved to PNG, is compared at 16 bits: with each other, and the PSD's with the PNG's "
        "stored samples as ImageMagick reads them. Where only the first differs, GIMP's PNG loader "
        "is the one that departs from the stored samples: it drops a palette's partial "
        "transparency, and the colour of a 16-bit grey pixel whose alpha is nearly 0.", "",
        "| PNG | GIMP depth from the PNG | GIMP depth from the PSD | PNG and PSD in GIMP | "
        "PSD in GIMP and stored samples |", "|---|---|---|---|---|"]
for png in gamma_pngs:
    name = os.path.basename(png)[:-4]
    from_png, _ = gimp(f"{name}-png")
    from_psd, _ = gimp(f"{name}-psd")
    shown = samples(f"{work}/gimp/{name}-psd.png") if from_psd else None
    if not os.path.exists(f"{work}/psd/{name}.psd"):
        verdicts = ["not converted"] * 2
    else:
        verdicts = [compare(samples(f"{work}/gimp/{name}-png.png"), shown) if from_png else "GIMP failed",
                    compare(samples(png), shown) if from_psd else "GIMP failed"]
    out.append(f"| {name[len('gamma-'):]}.png | {from_png or '-'} | {from_psd or '-'} | "
               f"{verdicts[0]} | {verdicts[1]} |")

kra = krita_image("dpi300")
krita_resolution = (f"{float(attribute(kra, 'x-res')):g}x{float(attribute(kra, 'y-res')):g}"
                    if kra else "failed")
_, gimp_resolution = gimp("dpi300-psd")
out += ["", "## Resolution", "",
        "A PNG of 300 dpi (pHYs 11811 pixels per metre, 299.9994 dpi), converted with the default "
        "settings: the PSD's resolution resource (horizontal x vertical, pixels per inch) and what "
        "each editor shows.", "",
        "| PNG | PSD resource | GIMP | Krita |", "|---|---|---|---|",
        f"| dpi300.png | {psd_resolution(f'{work}/psd/dpi300.psd')} | {gimp_resolution or 'failed'} | "
        f"{krita_resolution} |",
        "", "GIMP's image properties for the 16-bit PSD: `docs/psd-16-bit-in-gimp.png`."]
open(doc, "a").write("\n".join(out) + "\n")
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

# GIMP's image properties (Alt+Return) for the 16-bit PSD.
deep=$work/deep/psd/rgba16.psd
if [ -f "$deep" ]; then
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c "gimp --no-splash '$deep' >/dev/null 2>&1 &
    sleep 40; xdotool search --sync --onlyvisible --class gimp | tail -1 | xargs xdotool windowactivate --sync;
    xdotool key alt+Return; sleep 5; import -window root '$root/docs/psd-16-bit-in-gimp.png'; kill %1" ||
    true
fi
