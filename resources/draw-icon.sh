#!/usr/bin/env bash
# Draws the program's icon, a camera, at the sizes Windows asks for on scaled screens (small icons
# at 100 % to 200 %, large ones, and the 256-pixel picture of Explorer's large views) and writes
# kamerin.ico beside this script. The 16- and 32-pixel pictures are the hand-set ones already in
# the file; the others are drawn from the same shapes (in 32ths of the side), each eight times as
# large and averaged down, so that their edges are smooth.
#   bash resources/draw-icon.sh      (needs ImageMagick)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

draw() {
  local size=$1 k
  k=$(( size * 8 ))  # the drawing's side; one unit of the design is k/32 pixels
  u() { awk -v v="$1" -v k="$k" 'BEGIN { printf "%.2f", v * k / 32 }'; }
  convert -size "${k}x${k}" xc:none \
    -fill '#3060C0' -draw "rectangle $(u 10),$(u 5) $(u 21),$(u 10)" \
    -draw "roundrectangle $(u 2),$(u 8) $(u 30),$(u 28) $(u 4),$(u 4)" \
    -fill '#FFFFFF' -draw "circle $(u 16.5),$(u 17.5) $(u 16.5),$(u 11)" \
    -fill '#203050' -draw "circle $(u 16.5),$(u 17.5) $(u 16.5),$(u 14.3)" \
    -fill '#FF8080' -draw "rectangle $(u 23),$(u 11) $(u 27),$(u 14)" \
    -filter box -resize "${size}x${size}" "PNG32:$work/$size.png"
}

# The file's picture of a size, by its place in the file.
frame() { identify -format '%p %wx%h\n' "$here/kamerin.ico" | awk -v size="$1x$1" '$2 == size { print $1; exit }'; }
convert "$here/kamerin.ico[$(frame 16)]" "PNG32:$work/16.png"
convert "$here/kamerin.ico[$(frame 32)]" "PNG32:$work/32.png"
for size in 20 24 40 48 64 256; do draw "$size"; done
convert "$work"/{16,20,24,32,40,48,64,256}.png "$work/kamerin.ico"
mv "$work/kamerin.ico" "$here/kamerin.ico"
identify "$here/kamerin.ico"
