#!/usr/bin/env bash
# Draws the program's icon (a blue tile with a white turning arrow around a yellow
# buddy) at 16, 32 and 48 pixels and writes them into one .ico file.
# Usage: tools/icon/make-icon.sh [out.ico]   (default: src/program/iconvane.ico)
# Needs ImageMagick (Debian package "imagemagick"). Each size is drawn on its own,
# 8 times larger and scaled down, so the small ones stay crisp rather than blurred.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$repo/src/program/iconvane.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# draw SIZE ARROW_WIDTH: one picture, written to $work/SIZE.png
draw() {
  local size=$1 aw=$2
  local k=8 s=$((size * 8))
  # Geometry in the large picture; awk does the trigonometry.
  read -r r cx cy a0 a1 hx1 hy1 hx2 hy2 hx3 hy3 face eye smile < <(awk -v s="$s" -v aw="$aw" -v k="$k" 'BEGIN {
    pi = atan2(0, -1); c = s / 2; r = s * 0.30
    a0 = -60; a1 = 235                      # the arc runs clockwise from a0 to a1 degrees
    t = a1 * pi / 180; w = aw * k
    ex = c + r * cos(t); ey = c + r * sin(t) # arc end, where the head sits
    tx = -sin(t); ty = cos(t)                # direction of travel (clockwise on screen)
    nx = cos(t); ny = sin(t)                 # outwards
    hl = w * 1.6; hw = w * 1.5
    printf "%f %f %f %f %f ", r, c, c, a0, a1
    printf "%f %f %f %f %f %f ", ex + nx * hw, ey + ny * hw, ex - nx * hw, ey - ny * hw, ex + tx * hl, ey + ty * hl
    printf "%f %f %f\n", s * 0.17, s * 0.035, s * 0.09
  }')
  local box=$((s * 2 / 16)) corner=$((s * 3 / 16))
  convert -size "${s}x${s}" xc:none \
    -fill '#0a5fa8' -stroke '#06427a' -strokewidth $((k > 0 ? s / 32 : 1)) \
    -draw "roundrectangle $((box / 2)),$((box / 2)) $((s - box / 2 - 1)),$((s - box / 2 - 1)) $corner,$corner" \
    -fill none -stroke white -strokewidth "$((aw * k))" \
    -draw "arc $(awk -v c="$cx" -v r="$r" 'BEGIN{printf "%f,%f %f,%f", c-r, c-r, c+r, c+r}') $a0,$a1" \
    -stroke none -fill white -draw "polygon $hx1,$hy1 $hx2,$hy2 $hx3,$hy3" \
    -fill '#ffd21f' -stroke '#8a6a00' -strokewidth $((s / 64 + 1)) \
    -draw "circle $cx,$cy $(awk -v c="$cx" -v f="$face" 'BEGIN{printf "%f,%f", c+f, c}')" \
    "$work/big-$size.png"
  if [ "$size" -ge 32 ]; then
    # A face only where there is room for one.
    convert "$work/big-$size.png" -fill '#3a2a00' -stroke none \
      -draw "circle $(awk -v c="$cx" -v f="$face" -v e="$eye" 'BEGIN{x=c-f*0.38; y=c-f*0.25; printf "%f,%f %f,%f", x, y, x+e, y}')" \
      -draw "circle $(awk -v c="$cx" -v f="$face" -v e="$eye" 'BEGIN{x=c+f*0.38; y=c-f*0.25; printf "%f,%f %f,%f", x, y, x+e, y}')" \
      -fill none -stroke '#3a2a00' -strokewidth "$(awk -v e="$eye" 'BEGIN{printf "%d", e*0.9}')" \
      -draw "arc $(awk -v c="$cx" -v m="$smile" 'BEGIN{printf "%f,%f %f,%f", c-m, c-m, c+m, c+m}') 25,155" \
      "$work/big-$size.png"
  fi
  convert "$work/big-$size.png" -filter Box -resize "${size}x${size}" -define png:color-type=6 "$work/$size.png"
}

draw 16 2
draw 32 3
draw 48 4
convert "$work/16.png" "$work/32.png" "$work/48.png" "$out"
echo "wrote $out"
