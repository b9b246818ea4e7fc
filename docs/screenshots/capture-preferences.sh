#!/usr/bin/env bash
# Redraws the screenshots of the preferences dialog: every page and both watermark panels, with
# the preview of the sample picture beside four of them, at scale 1 and at QT_SCALE_FACTOR=2.
# The real program on a virtual X display with a window manager, driven from the keyboard by
# xdotool. Needs Xvfb, openbox, xdotool and ImageMagick.
# Usage: docs/screenshots/capture-preferences.sh [build-folder] [output-folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
out=$(mkdir -p "${2:-$here}" && cd "${2:-$here}" && pwd)
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { apt-get update && apt-get install -y xvfb openbox xdotool imagemagick; break; }
done
work=/tmp/lumbrix-preference-shots
rm -rf "$work" && mkdir -p "$work"
display=:$((90 + RANDOM % 100))
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

export DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Vantrel/Lumbrix" && chmod 700 "$XDG_RUNTIME_DIR"
settings_file=$XDG_CONFIG_HOME/Vantrel/Lumbrix/config.ini

# Room for the dialog with its preview at twice the size.
Xvfb "$display" -screen 0 2400x1500x24 >/dev/null 2>&1 &
sleep 1
openbox >/dev/null 2>&1 &
sleep 1

# Waits for a window of that title and gives it the keyboard.
focus() {
  local id
  id=$(xdotool search --sync --name "$1" | head -1)
  xdotool windowactivate --sync "$id" 2>/dev/null || true
  sleep 0.3
}

# A first run writes the settings file; then rotation, resize, a frame and a text watermark go in,
# so every row of those pages shows and is enabled.
"$build/lumbrix" >/dev/null 2>&1 &
focus '^Vantrel PNG to PSD'
xdotool key alt+x
while [ ! -s "$settings_file" ]; do sleep 0.2; done
sleep 0.5
# The first line of that key (Image Rotation is a key of two sections).
set_key() { sed -i "0,/^$1 = .*/s||$1 = $2\r|" "$settings_file"; }
set_key "Do Image Rotation" 1
set_key "Image Rotation" 15
set_key "Do Image Resize" 1
set_key "Image Width" 400
set_key "Image Height" 300
set_key "Do Frame" 1
for side in Left Right Top Bottom; do set_key "Solid $side" 12; set_key "Solid $side Color" 2E5C8A; done
set_key "Do Watermark" 1
set_key "Back Opacity" 160

pages=(general interface input output transform adjustment frame watermark advanced)

# Time for the page and its preview to be drawn.
shot() {
  sleep 1
  import -frame -window "$(xdotool search --name '^Preferences\.\.\.$' | head -1)" "$out/$1"
}

for scale in 1 2; do
  suffix=$([ "$scale" = 1 ] && echo "" || echo "-x$scale")
  QT_SCALE_FACTOR=$scale "$build/lumbrix" >/dev/null 2>&1 &
  program=$!
  focus '^Vantrel PNG to PSD'
  # Converter > Preferences through the menu bar; the page tree has the focus.
  xdotool key alt
  sleep 0.3
  xdotool key Right Down Down Down Return
  focus '^Preferences\.\.\.$'
  for i in "${!pages[@]}"; do
    [ "$i" -gt 0 ] && xdotool key Down
    shot "preferences-${pages[$i]}$suffix.png"
  done
  # The image watermark panel: back to the Watermark page, its list one entry down.
  xdotool key Up Tab Down
  shot "preferences-watermark-image$suffix.png"
  xdotool key Escape
  focus '^Vantrel PNG to PSD'
  xdotool key alt+x
  wait "$program"
done
