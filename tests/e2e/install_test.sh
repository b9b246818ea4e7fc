#!/usr/bin/env bash
# Installs the build into a temporary folder and checks the result as a user and a desktop see
# it: the installed program runs and finds its data, and the desktop entry, metainfo, icons,
# manual page and manual are valid and complete.
# Usage: install_test.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A prefix of its own below a staging root, as a package build installs it.
DESTDIR=$work/root cmake --install "$build" --prefix /opt/lumbrix >/dev/null
prefix=$work/root/opt/lumbrix
program=$prefix/bin/lumbrix
share=$prefix/share
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Console output that is not a terminal comes as UTF-16LE lines ending in CR LF.
console_text() { iconv -f UTF-16LE -t UTF-8 | tr -d '\r'; }

help=$("$program" -h | console_text) || fail "lumbrix -h exits with $?"
grep -q '^Usage: lumbrix -i <filename> \[options\]$' <<<"$help" || fail "lumbrix -h: no usage line"

mkdir "$work/out"
"$program" -q -i "$source/samples/sample.png" -o "$work/out" >/dev/null ||
  fail "the installed program does not convert the sample"
[ "$(head -c 4 "$work/out/sample.psd" 2>/dev/null)" = 8BPS ] || fail "no PSD written"

# Relative paths are the current folder's, also for the drawing program in libexec/lumbrix/ that
# a run with a frame goes to; without -o the PSD goes beside the PNG.
[ -x "$prefix/libexec/lumbrix/lumbrix-draw" ] || fail "no drawing program in libexec/lumbrix"
mkdir -p "$work/here/out"
cp "$source/samples/sample.png" "$work/here/photo.png"
for options in "" "--fr-solid-left=4"; do
  rm -f "$work/here/out/photo.psd" "$work/here/photo.psd"
  # shellcheck disable=SC2086 # the options are one word or none
  (cd "$work/here" && "$program" -q -i photo.png -o out/ $options &&
    "$program" -q -i photo.png $options) >/dev/null || fail "lumbrix $options: relative paths"
  [ -s "$work/here/out/photo.psd" ] || fail "lumbrix $options: not written into ./out"
  [ -s "$work/here/photo.psd" ] || fail "lumbrix $options: not written beside the PNG"
done

# Redirected output as UTF-8 when asked, the same lines otherwise.
LUMBRIX_OUTPUT_ENCODING=UTF-8 "$program" -h | tr -d '\r' | grep -q -- '^  --width' ||
  fail "LUMBRIX_OUTPUT_ENCODING=UTF-8 lumbrix -h | grep -- --width finds nothing"

# One version throughout: the program's, the package's, both changelogs' and the release notes'.
version=$("$program" -v | console_text)
grep -q "^set(CPACK_PACKAGE_VERSION \"$version\")" "$build/CPackConfig.cmake" ||
  fail "the package version is not $version"
zcat "$prefix/share/doc/lumbrix/changelog.Debian.gz" | head -1 | grep -qF "($version-1)" ||
  fail "changelog.Debian does not start with $version-1"
zcat "$prefix/share/doc/lumbrix/changelog.gz" | head -1 | grep -qF "Lumbrix $version " ||
  fail "the changelog does not start with $version"
grep -qF "<release version=\"$version\"" "$share"/metainfo/*.metainfo.xml ||
  fail "the metainfo has no release $version"

# The window drawn by screenshot mode (the window program, which lumbrix starts from libexec)
# shows the theme's icons: the same picture as from the build folder, and not the built-in icons
# a lone copy of the two programs falls back to.
mkdir "$work/installed" "$work/built" "$work/lone"
[ -x "$prefix/libexec/lumbrix/lumbrix-window" ] || fail "no window program in libexec/lumbrix"
cp "$program" "$prefix/libexec/lumbrix/lumbrix-window" "$work/lone/"
(cd "$work/installed" && "$program" -T) || fail "lumbrix -T into the current folder fails"
"$build/lumbrix" -T "$work/built"
"$work/lone/lumbrix" -T "$work/lone"
cmp -s "$work/installed/Lumbrix1.jpg" "$work/built/Lumbrix1.jpg" ||
  fail "the installed program draws its window without the theme the build folder has"
! cmp -s "$work/installed/Lumbrix1.jpg" "$work/lone/Lumbrix1.jpg" ||
  fail "the theme makes no difference; the check above proves nothing"

# As a user without the right to write the current folder, -T fails with its reason.
if [ "$(id -u)" = 0 ]; then
  mkdir "$work/locked"
  chmod 755 "$work" "$work/root"
  chmod 555 "$work/locked"
  status=0
  shot=$(cd "$work/locked" && runuser -u nobody -- "$program" -T 2>/dev/null | console_text) || status=$?
  [ "$status" = 1 ] || fail "lumbrix -T in an unwritable folder exits with $status"
  grep -q '^Error: Cannot write .*/locked/Lumbrix1.jpg$' <<<"$shot" ||
    fail "lumbrix -T in an unwritable folder gives no reason: $shot"
fi

desktop=$(ls "$share"/applications/*.desktop)
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
grep -qx 'Exec=lumbrix %F' "$desktop" || fail "desktop entry: no Exec=lumbrix %F"
grep -qx 'MimeType=image/png;' "$desktop" || fail "desktop entry: no MimeType image/png"
grep -qx 'TryExec=lumbrix' "$desktop" || fail "desktop entry: no TryExec=lumbrix"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml >/dev/null ||
  fail "appstreamcli validate $(ls "$share"/metainfo/*.metainfo.xml)"

icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x$size/apps/$icon.png
  [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "${size}x$size" ] || fail "icon $png"
done

# The manual page renders without complaint and names every option the help text lists.
page=$share/man/man1/lumbrix.1.gz
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man -l $page"
[ -z "$warnings" ] || fail "man -l $page: $warnings"
options=$(grep -E '^  -' <<<"$help" | grep -oE '(^|[ ,])--?[a-zA-Z?][a-zA-Z-]*' | tr -d ' ,')
page_text=$(zcat "$page" | sed 's/\\f[BIRP]//g; s/\\-/-/g')
# Also every option of the manual's console tables, which list those the help text leaves out.
manual_source=$source/docs/manual/Lumbrix.html
options+=" $(grep -oE '<tr><td><code>--[a-z-]+' "$manual_source" | sed 's/.*<code>//')"
for option in $options; do
  grep -qwF -- "$option" <<<"$page_text" || fail "the manual page does not name $option"
done

manual=$prefix/share/doc/lumbrix/Lumbrix.html
/usr/bin/python3 "$source/tests/e2e/manual_links.py" "$manual" || fail "links of $manual"
for screen in "$prefix"/share/doc/lumbrix/screens/*; do
  grep -qF "screens/${screen##*/}" "$manual" || fail "$screen is installed but the manual never shows it"
done

[ "$failures" = 0 ] && echo "install checks passed"
exit "$failures"
