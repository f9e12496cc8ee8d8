#!/bin/bash
# The README's picture of the tray icon at 100%, 150% and 200% (its 16, 24
# and 32 pixel frames, each on a strip of the taskbar's height at that scale),
# on a light and on a dark taskbar, at real size: docs/tray-scales.png.
set -eu
res=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "$res/../.." && pwd)/docs/tray-scales.png
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Tray.ico's frames, largest first: 128 48 40 32 24 20 16.
convert "$res/Tray.ico" "$work/frame.png"
rows=()
for taskbar in '#F3F3F3' '#202020'; do
  cells=()
  for scale in 100:6:40 150:4:60 200:3:80; do
    IFS=: read -r percent index height <<<"$scale"
    convert -size "$((height * 2))x$height" "xc:$taskbar" "$work/frame-$index.png" -gravity center -composite \
      "$work/cell-$percent-${taskbar#\#}.png"
    cells+=("$work/cell-$percent-${taskbar#\#}.png")
  done
  convert "${cells[@]}" -gravity south -background "$taskbar" +append "$work/row-${taskbar#\#}.png"
  rows+=("$work/row-${taskbar#\#}.png")
done
convert "${rows[@]}" -background white -splice 0x4 -append -chop 0x4 +repage -depth 8 "$out"
echo "wrote $out"
