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
# The settings dialog's sound test button: play and stop.
convert -size 16x16 xc:none -fill '#2f6fb5' -draw 'polygon 4,2 14,8 4,14' play.gif
convert -size 16x16 xc:none -fill '#d7263d' -draw 'rectangle 3,3 12,12' stop.gif
# The about window's picture, its update button and busy mark; the update dialog's marks.
convert -size 600x297 gradient:'#1b3454-#2f6fb5' -fill '#ffffff' -font DejaVu-Sans-Bold -pointsize 46 \
  -annotate +40+110 'Tessaly' -font Noto-Sans-CJK-SC -pointsize 20 -fill '#dde5ef' \
  -annotate +42+150 '外汇资讯 · 财经日历 · 实时报价' -quality 85 about.jpg
convert -size 60x20 xc:'#e8a317' -fill white -font DejaVu-Sans-Bold -pointsize 11 -gravity center \
  -annotate +0+0 'UPDATE' upp.gif
convert -size 60x20 xc:'#8a9bb0' -fill white -font DejaVu-Sans -pointsize 11 -gravity center \
  -annotate +0+0 '...' RelatePost.gif
convert -size 32x32 xc:none -fill '#2f6fb5' -draw 'polygon 10,4 22,4 22,16 28,16 16,28 4,16 10,16' down.gif
convert -size 32x32 xc:none -fill '#d7263d' -draw 'circle 16,16 16,2' -stroke white -strokewidth 4 \
  -draw 'line 10,10 22,22' -draw 'line 22,10 10,22' ddx.gif
