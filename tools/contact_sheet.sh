#!/usr/bin/env bash
# Contact sheet of the 2D pictures of a data tree, shown the way the game blends them
# (premultiplied colour over a background): tools/contact_sheet.sh <data dir> <out.png>
set -euo pipefail
data=$1
out=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
shopt -s nullglob
for img in "$data"/rects/*.bmp "$data"/fonts/*.bmp; do
  case $img in *_a.bmp) continue ;; esac
  alpha=${img%.bmp}_a.bmp
  name=$(basename "${img%.bmp}")
  size=$(identify -format '%wx%h' "$img")
  if [ -f "$alpha" ]; then
    convert -size "$size" pattern:checkerboard -fill '#6a7a99' -colorize 60% \
      \( "$alpha" -negate \) -compose Multiply -composite \
      "$img" -compose Plus -composite "$tmp/$name.png"
  else
    convert "$img" "$tmp/$name.png"
  fi
done
montage "$tmp"/*.png -tile 8x -geometry '+6+6' -background '#303040' -fill white -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 11 \
  -set label '%t' "$out"
