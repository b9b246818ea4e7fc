#!/usr/bin/env bash
# Redraws every screenshot of the user manual and the README from the build: the windows here,
# then the preferences dialog's pages by capture-preferences.sh. The real program on a virtual X
# display with a window manager, driven from the keyboard by xdotool. Needs Xvfb, openbox,
# xdotool and ImageMagick.
# Usage: docs/manual/capture.sh [build-folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
screens=$here/screens
build=$(cd "${1:-$here/../../build}" && pwd)
work=/tmp/lumbrix-screenshots
rm -rf "$work" && mkdir -p "$work"
display=:$((90 + RANDOM % 100))
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

export DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/Vantrel/Lumbrix" "$XDG_RUNTIME_DIR" "$work/converted"
chmod 700 "$XDG_RUNTIME_DIR"
# A history of output folders, so the drop-down has something to offer: a first run writes the
# settings file, then the history goes in.
settings_file=$XDG_CONFIG_HOME/Vantrel/Lumbrix/config.ini
# Large enough that the progress window is seen while it works.
mkdir -p "$work/Pictures"
picture=$work/Pictures/holiday-at-the-sea-panorama.png
convert -size 6000x4000 gradient:steelblue-orange -depth 8 "$picture"
# Text under a picture's name: the run fails and says why.
fake=$work/Pictures/scan-from-phone.png
echo "not a picture" >"$fake"
# Three small pictures for a run of several chosen files.
for name in beach harbour lighthouse; do
  convert -size 1200x800 gradient:skyblue-sandybrown -depth 8 "$work/Pictures/$name.png"
done

Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
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

# File/New, then a run of input into the converted/ folder, typed: the window opens (and File/New
# leaves it) with the keyboard in the input field, and Tab goes on to the output folder.
fill() {
  xdotool key ctrl+n
  sleep 0.3
  xdotool type --delay 5 "$1"
  xdotool key Tab
  xdotool type --delay 5 "$work/converted"
}

# The three menus, opened with Alt and their letters.
for menu in f c h; do
  xdotool key alt+$menu
  sleep 0.5
  case $menu in f) shot menu-file.png ;; c) shot menu-converter.png ;; h) shot menu-help.png ;; esac
  xdotool key Escape
  sleep 0.3
done

# Convert with nothing chosen: the warning names what is missing.
xdotool key F5
sleep 0.5
shot message-no-input.png
xdotool key Return ctrl+n
sleep 0.3

# The output folder's history, opened from the keyboard, gives the first entry.
xdotool type --delay 5 "$picture"
xdotool key Tab alt+Down
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

xdotool key alt+c f
sleep 0.5
xdotool type --delay 20 "PNG"
xdotool key Tab
xdotool type --delay 20 "psd"
sleep 0.3
shot finder-window.png
xdotool key Escape
sleep 0.3

fill "$fake"
xdotool key F5
sleep 1
shot progress-window-failed.png
xdotool key Return
sleep 0.3

# Escape asks whether to stop; Yes abandons the file in progress.
fill "$picture"
xdotool key F5
sleep 0.15
xdotool key Escape
sleep 0.5
xdotool key alt+y
sleep 1
shot progress-window-stopped.png
xdotool key Return
sleep 0.3

# Help > About is the last entry of the Help menu.
xdotool key alt+h Up Return
sleep 0.5
shot about-window.png
xdotool key Return
sleep 0.3

xdotool key ctrl+q
sleep 1

# Four files chosen together, as a file manager hands them over, one of them no picture: the
# list tells each file's result.
"$build/lumbrix" "$work/Pictures/beach.png" "$work/Pictures/harbour.png" \
  "$work/Pictures/lighthouse.png" "$fake" >/dev/null 2>&1 &
sleep 2
xdotool key Tab alt+Down
sleep 0.5
xdotool key Return F5
sleep 4
shot progress-window-batch.png
xdotool key Return ctrl+q
sleep 1

"$build/lumbrix" -U >/dev/null 2>&1 &
sleep 1.5
shot uninstall-page.png
xdotool key Escape
sleep 0.5

# Screenshot mode draws the window by itself.
"$build/lumbrix" -T "$work"
cp "$work/Lumbrix1.jpg" "$screens/"

# Twice the pixels per point, as on a dense screen: text and icons drawn for it.
QT_SCALE_FACTOR=2 "$build/lumbrix" "$picture" >/dev/null 2>&1 &
sleep 3
shot main-window-scale-2.png
xdotool key ctrl+q
sleep 1

# The preferences dialog's pages, on a display of their own.
"$here/capture-preferences.sh" "$build" "$screens"
