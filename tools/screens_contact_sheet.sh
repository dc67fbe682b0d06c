#!/usr/bin/env bash
# Contact sheet of every screen the tour test shot (build/screenshots/tour_*.png): one row per
# size and time of day. tools/screens_contact_sheet.sh <screenshots dir> <out.png>
# Take all six rows first: cd build && TAVRO_SCREENSHOTS=1 xvfb-run -a ctest -R Tour.EveryScreenAtTwoSizes
set -euo pipefail
shots=$1
out=$2
rows=()
for size in 640 1024 1920; do
  for time in day night; do
    rows+=("$shots"/tour_${size}_${time}_*.png)
  done
done
montage "${rows[@]}" -tile 8x -geometry '240x180+3+3' -background '#303040' -fill white \
  -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 11 -set label '%t' +dither -colors 256 "PNG8:$out"
