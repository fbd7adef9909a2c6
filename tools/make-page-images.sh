#!/usr/bin/env bash
# Draws images of src/pages: the loading mark of a calendar result being
# awaited, the reminder's warning sign and the ticker bar's "new" mark.
# Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../src/pages"
convert -size 16x16 xc:none -fill '#2f6fb5' -draw 'circle 8,8 8,2' -fill white -draw 'circle 8,8 8,5' ldata.gif
convert -size 32x32 xc:none -fill '#e8a317' -draw 'polygon 16,2 31,30 1,30' -fill white \
  -draw 'rectangle 14,10 18,21' -draw 'rectangle 14,24 18,27' warn.gif
convert -size 22x12 xc:"#d7263d" -fill white -font DejaVu-Sans-Bold -pointsize 9 -gravity center -annotate +0+0 NEW new.gif
