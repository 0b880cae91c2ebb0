#!/usr/bin/env bash
# Takes the benchmark's screen pictures again: real programs from Debian's packages on a private
# Xvfb screen of 1920x1080x24 with the openbox window manager, each copied with ImageMagick's
# `import -window root`; the web page is headless Chromium's own screenshot at the same size.
# Needs: xvfb openbox xterm x11-apps x11-xserver-utils xwallpaper vim man-db imagemagick chromium debian-reference-en
#        mate-backgrounds libpng-dev fonts-dejavu-core
# Usage: bash bench/screens/make_screens.sh [OUTPUT_FOLDER]   (default: this script's folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here}
mkdir -p "$out"
display=:${SCREENS_DISPLAY:-71}
work=$(mktemp -d)
cleanup() {
  for pid in ${pids:-}; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids=$!
export DISPLAY=$display
sleep 2
openbox >/dev/null 2>&1 &
pids="$pids $!"
sleep 1

# Starts a program in the background and remembers it, so that the next picture starts clean.
start() {
  "$@" >/dev/null 2>&1 &
  shown="$shown $!"
}
close_all() {
  for pid in $shown; do kill "$pid" 2>/dev/null || true; done
  shown=""
  sleep 1
}
snap() {
  sleep "${2:-3}"
  import -window root "$work/$1.png"
  # 8-bit RGB, no text chunks: the picture is all that matters here.
  convert "$work/$1.png" -strip -define png:color-type=2 -define png:bit-depth=8 "$out/$1.png"
  close_all
}
shown=""
font=(-fa "DejaVu Sans Mono" -fs 11)

# A plain grey desktop for the screens without a photo.
xsetroot -solid '#3a4a5a'

# 1. text: a manual page in a light terminal, maximised.
start xterm "${font[@]}" -bg white -fg black -geometry 1920x1080+0+0 -maximized \
  -e env MANWIDTH=200 MANPAGER='less -s' man bash
snap text

# 2. code: a C source file with syntax colours in vim, light background, line numbers.
start xterm "${font[@]}" -bg '#fdfdf6' -fg '#202020' -maximized \
  -e vim -N -u NONE -c 'syntax on' -c 'set number background=light ruler laststatus=2' \
  -c 'filetype on' -c 'normal! 876Gzt' /usr/share/doc/libpng-dev/examples/pngtest.c
snap code

# 3. web: a page of the Debian Reference as Chromium shows it.
chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
  --disable-sync --no-first-run --user-data-dir="$work/chromium" --hide-scrollbars \
  --screenshot="$work/web.png" --window-size=1920,1080 \
  file:///usr/share/debian-reference/ch01.en.html >/dev/null 2>&1
convert "$work/web.png" -strip -define png:color-type=2 -define png:bit-depth=8 "$out/web.png"

# 4. photo: a photograph filling the desktop, with a few windows over it.
xwallpaper --zoom /usr/share/backgrounds/mate/nature/Garden.jpg
start xterm "${font[@]}" -geometry 100x30+120+90 -e bash -c 'ls -l /usr/share/backgrounds/mate/*; exec sleep 600'
start xclock -geometry 220x220+1560+60 -update 1
start xcalc -geometry 300x400+1500+560
start xeyes -geometry 200x120+1000+80
snap photo 4

# 5. dark: two dark terminals side by side, vim with a dark scheme on a Python file and a
# coloured file listing.
xsetroot -solid '#202020'
start xterm "${font[@]}" -bg '#1e1e1e' -fg '#d0d0d0' -geometry 130x58+0+0 \
  -e vim -N -u NONE -c 'syntax on' -c 'set number background=dark laststatus=2' -c 'colorscheme desert' \
  -c 'filetype on' /usr/lib/python3.11/json/decoder.py
start xterm "${font[@]}" -bg '#101418' -fg '#c8c8c8' -geometry 95x58+962+0 \
  -e bash -c 'ls -l --color=always /usr/lib/python3.11 | tail -56; exec sleep 600'
snap dark 4

echo "screens written to $out"
