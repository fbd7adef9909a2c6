#!/usr/bin/env bash
# Draws the calendar's two images of src/pages: the loading mark of a result
# being awaited and the reminder's warning sign. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../src/pages"
convert -size 16x16 xc:none -fill '#2f6fb5' -draw 'circle 8,8 8,2' -fill white -draw 'circle 8,8 8,5' ldata.gif
convert -size 32x32 xc:none -fill '#e8a317' -draw 'polygon 16,2 31,30 1,30' -fill white \
  -draw 'rectangle 14,10 18,21' -draw 'rectangle 14,24 18,27' warn.gif
