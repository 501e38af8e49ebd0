#!/bin/sh
# Draws the window icon (16, 24, 32, 48 and 256 px) and the About picture
# (132 x 78 px) with ImageMagick. The PNGs are kept next to this script so
# that a build never needs ImageMagick; run it again only to change them.
#
# The output is byte for byte reproducible with one ImageMagick version:
# metadata, time stamps and the ImageMagick signature chunks are left out,
# and every image is written as 8-bit RGBA (PNG32) whatever its colours.
set -eu
cd "$(dirname "$0")"

# Colours of the emblem: a dark teal stick with a steel plug, the serial
# line as a warm square wave on the stick.
BODY='#1f5f73'
BODY_EDGE='#123c49'
PLUG='#c9d1d6'
PLUG_EDGE='#7b878e'
HOLE='#3c474d'
WAVE='#ffb53c'

write() {
  # -strip drops profiles and text chunks; the exclude list drops the
  # time stamps and the background chunk that -strip leaves behind.
  convert "$@" -strip -define png:exclude-chunks=date,time,tIME,bKGD \
    -define png:compression-level=9 "PNG32:$OUT"
}

# rect U X0 Y0 X1 Y1 [R]: a rectangle whose edges lie on the lines X0..X1,
# Y0..Y1 of a grid with U pixels a step, as an ImageMagick draw primitive
# (which counts X1 and Y1 as the last pixel inside); R rounds the corners.
rect() {
  awk -v u="$1" -v x0="$2" -v y0="$3" -v x1="$4" -v y1="$5" -v r="${6:-0}" 'BEGIN {
    if (r > 0) printf "roundrectangle %g,%g %g,%g %g,%g", x0*u, y0*u, x1*u-1, y1*u-1, r*u, r*u
    else printf "rectangle %g,%g %g,%g", x0*u, y0*u, x1*u-1, y1*u-1 }'
}

# icon SIZE: the emblem on a transparent square, every part a rectangle.
# The layout lives on a 16-step grid, so 16, 32, 48 and 256 px land every
# edge on a pixel boundary; 24 px, 1.5 px a step, gets a layout of its own.
# Outlines stay thin (1 px up to 32 px) instead of growing with the grid.
icon() {
  n=$1
  OUT="icon-$n.png"
  e=$((n / 24)); [ "$e" -ge 1 ] || e=1
  if [ "$n" -eq 24 ]; then
    u=1
    plug='0 8 6 16'; holes='2 10 4 11|2 13 4 14'; body='6 4 24 20'; radius=3
    wave='9 14 13 16|11 8 13 16|11 8 17 10|15 8 17 16|15 14 21 16|19 8 21 16'
  else
    u=$((n / 16))
    plug='0 5 4 11'; holes='1 6 3 7|1 9 3 10'; body='4 3 16 13'; radius=2
    wave='6 9 8 10|7 6 8 10|7 6 11 7|10 6 11 10|10 9 14 10|13 6 14 10'
  fi
  # The inner faces sit e pixels inside the outlines: in grid steps e/u.
  i=$(awk "BEGIN{print $e/$u}")
  inset() { echo "$1" | awk -v i="$i" '{printf "%g %g %g %g", $1+i, $2+i, $3-i, $4-i}'; }
  ri=$(awk "BEGIN{print $radius - $i}")
  # The coordinate strings are split into their numbers on purpose.
  # shellcheck disable=SC2046,SC2086
  {
    set -- -fill "$PLUG_EDGE" -draw "$(rect $u $plug)" \
      -fill "$PLUG" -draw "$(rect $u $(inset "$plug"))" -fill "$HOLE"
    for h in $(echo "$holes" | tr ' |' ',\n'); do
      set -- "$@" -draw "$(rect $u $(echo "$h" | tr ',' ' '))"
    done
    set -- "$@" -fill "$BODY_EDGE" -draw "$(rect $u $body $radius)" \
      -fill "$BODY" -draw "$(rect $u $(inset "$body") $ri)" -fill "$WAVE"
    for w in $(echo "$wave" | tr ' |' ',\n'); do
      set -- "$@" -draw "$(rect $u $(echo "$w" | tr ',' ' '))"
    done
  }
  write -size "${n}x${n}" xc:none -stroke none "$@"
}

for n in 16 24 32 48 256; do icon "$n"; done

# The About picture: the logger box seen from the front, the serial cable
# plugged in at the left, a USB stick at the right, two status lights and
# a blank name plate. Opaque, on a white card with a thin frame, so it
# looks the same on any dialog background.
OUT=about.png
write -size 132x78 xc:white \
  -fill none -stroke '#a0a6aa' -draw "rectangle 0,0 131,77" \
  -stroke none -fill '#55595c' -draw "rectangle 2,36 12,41" \
  -fill '#8a9297' -stroke '#5d666b' -draw "polygon 12,29 22,31 22,46 12,48" \
  -fill '#d9dee1' -stroke '#7b878e' -draw "rectangle 96,33 103,44" \
  -fill "$BODY" -stroke "$BODY_EDGE" -draw "roundrectangle 103,30 127,47 3,3" \
  -stroke "$WAVE" -fill none -draw "polyline 107,41 110,41 110,36 115,36 115,41 120,41 120,36 123,36" \
  -fill '#dfe3e6' -stroke '#6f7a80' -draw "roundrectangle 22,14 96,63 5,5" \
  -fill none -stroke '#ffffff' -draw "line 27,16 91,16" \
  -fill '#c4cbcf' -stroke '#9aa3a8' -draw "roundrectangle 30,21 88,37 2,2" \
  -stroke "$BODY" -strokewidth 2 -draw "polyline 35,32 40,32 40,26 47,26 47,32 54,32 54,26 61,26 61,32 68,32 68,26 75,26 75,32 83,32" \
  -strokewidth 1 -stroke '#2f6b2f' -fill '#49c24a' -draw "circle 36,50 36,53" \
  -stroke '#7a2e1e' -fill '#e0603c' -draw "circle 46,50 46,53" \
  -stroke none -fill '#b7bfc4' -draw "rectangle 56,47 88,48" -draw "rectangle 56,52 80,53" \
  -fill '#b8c0c5' -draw "rectangle 26,63 32,66" -draw "rectangle 86,63 92,66"
