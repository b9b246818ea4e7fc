#!/usr/bin/env bash
# Redraws the window screenshots of the user manual (and the README): the real program on a
# virtual X display with a window manager, driven by xdotool. Needs Xvfb, openbox, xdotool and
# ImageMagick. Usage: docs/manual/capture.sh [build-folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
screens=$here/screens
build=$(cd "${1:-$here/../../build}" && pwd)
work=/tmp/lumbrix-screenshots
rm -rf "$work" && mkdir -p "$work"
display=:$((90 + RANDOM % 100))
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

export DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$work/converted"
chmod 700 "$XDG_RUNTIME_DIR"
# A history of output folders, so the drop-down has something to offer: a first run writes the
# settings file, then the history goes in.
settings_file=$XDG_CONFIG_HOME/Vantrel/Lumbrix/config.ini
# Large enough that the progress window is seen while it works.
mkdir -p "$work/Pictures"
picture=$work/Pictures/holiday-at-the-sea-panorama.png
convert -size 6000x4000 gradient:steelblue-orange -depth 8 "$picture"

Xvfb "$display" -screen 0 1024x700x24 >/dev/null 2>&1 &
sleep 1
openbox >/dev/null 2>&1 &
sleep 1
"$build/lumbrix" >/dev/null 2>&1 &
sleep 2
xdotool key alt+x
sleep 1
sed -i "s|^Recent Out Folders = .*|Recent Out Folders = $work/converted/\t/home/user/Pictures/\r|" "$settings_file"
"$build/lumbrix" >/dev/null 2>&1 &
sleep 2

shot() { import -window root "$work/root.png" && convert "$work/root.png" -trim +repage "$screens/$1"; }

# The window opens centred: 510 x 260 at (257, 220) on this screen; the menu titles File,
# Converter and Help sit at x 275, 332 and 390 of its menu bar.
menu() { xdotool mousemove "$1" 248 click 1; sleep 0.4; }

menu 275
shot menu-file.png
xdotool key Escape
menu 332
shot menu-converter.png
xdotool key Escape
menu 390
shot menu-help.png
xdotool key Escape
sleep 0.3

# Convert with nothing chosen: the warning names what is missing.
xdotool key F5
sleep 0.5
shot message-no-input.png
xdotool key Return ctrl+n
sleep 0.3

xdotool mousemove 440 336 click 1 type --delay 5 "$picture"
xdotool mousemove 440 376 click 1
sleep 0.5
xdotool key Return
sleep 0.3
shot main-window.png

xdotool key F5
sleep 0.15
shot progress-window.png
sleep 5
shot progress-window-done.png
xdotool key Return
sleep 0.3

# A file that only looks like a PNG: the progress window names it and the reason.
echo "not a picture" >"$work/Pictures/scan-from-mail.png"
xdotool mousemove 440 336 click 1 key ctrl+a
xdotool type --delay 5 "$work/Pictures/scan-from-mail.png"
xdotool key F5
sleep 1
shot progress-window-failed.png
xdotool key Return ctrl+n
sleep 0.3

menu 332
xdotool key Down Down Return
sleep 0.5
xdotool type --delay 20 "PNG"
xdotool key Tab
xdotool type --delay 20 "psd"
sleep 0.3
shot finder-window.png
xdotool key Escape
sleep 0.3

# Help > About is the last entry of the Help menu.
menu 390
xdotool key Up Return
sleep 0.5
shot about-window.png
xdotool key Return
sleep 0.3
xdotool key alt+x
sleep 1

"$build/lumbrix" -U >/dev/null 2>&1 &
uninstall=$!
sleep 1.5
shot uninstall-page.png
kill "$uninstall"
sleep 0.5

# Screenshot mode draws the window by itself.
"$build/lumbrix" -T "$work"
cp "$work/Lumbrix1.jpg" "$screens/"
