#!/usr/bin/env bash
# Draws the window's pictures with ImageMagick. The PNG files are kept in the
# repository; run this again only to change them.
#   qrsmith.png          128 x 128  the program's icon (window, desktop entry)
#   about.png             48 x 48   the same mark, on the About page
#   placeholder.png      256 x 256  the empty preview: a faint symbol outline
#   placeholder-icon.png  48 x 48   an arrow down to the options
#   colour-hint.png       16 x 16   the marker beside the colour hint
set -euo pipefail
cd "$(dirname "$0")"

# A 21 x 21 mark in the manner of a version 1 symbol: three finder patterns
# and a fixed scatter of modules from a small linear congruential sequence.
# Prints ImageMagick rectangle primitives for modules of `unit` pixels,
# offset by `origin` pixels.
mark() {
  local unit=$1 origin=$2
  awk -v u="$unit" -v o="$origin" 'BEGIN {
    seed = 7
    for (r = 0; r < 21; r++) for (c = 0; c < 21; c++) {
      finder = 0
      for (k = 0; k < 3; k++) {
        fr = (k == 2) ? 14 : 0; fc = (k == 1) ? 14 : 0
        if (r >= fr - 1 && r <= fr + 7 && c >= fc - 1 && c <= fc + 7) {
          finder = 1
          dr = r - fr; dc = c - fc
          if (dr < 0 || dr > 6 || dc < 0 || dc > 6) dark = 0
          else if (dr == 0 || dr == 6 || dc == 0 || dc == 6) dark = 1
          else if (dr >= 2 && dr <= 4 && dc >= 2 && dc <= 4) dark = 1
          else dark = 0
        }
      }
      if (!finder) { seed = (seed * 1103515245 + 12345) % 2147483648; dark = (int(seed / 65536) % 2) }
      if (dark) printf "rectangle %d,%d %d,%d ", o + c * u, o + r * u, o + (c + 1) * u - 1, o + (r + 1) * u - 1
    }
  }'
}

# The icon, drawn large and reduced, so that its edges stay crisp.
convert -size 250x250 xc:none -fill '#FFFFFF' -stroke '#1F3A93' -strokewidth 6 \
  -draw "roundrectangle 3,3 246,246 28,28" -stroke none -fill '#1F3A93' \
  -draw "$(mark 10 20)" -depth 8 -strip /tmp/qrsmith-mark.png
convert /tmp/qrsmith-mark.png -resize 128x128 -depth 8 -strip qrsmith.png
convert /tmp/qrsmith-mark.png -resize 48x48 -depth 8 -strip about.png
rm -f /tmp/qrsmith-mark.png

# The empty preview: the same mark, faint, where the symbol will appear.
convert -size 256x256 xc:white -fill '#E3E8F2' -draw "$(mark 10 23)" \
  -fill none -stroke '#C4CCDD' -strokewidth 2 -draw "roundrectangle 4,4 251,251 20,20" \
  -depth 8 -strip placeholder.png

# An arrow pointing down to the options below the preview.
convert -size 48x48 xc:white -fill '#1F3A93' \
  -draw "rectangle 19,6 28,26" -draw "polygon 9,24 38,24 24,42" -depth 8 -strip placeholder-icon.png

# A small round marker: a light bulb's circle with a white dot.
convert -size 16x16 xc:none -fill '#E8A317' -draw "circle 8,8 8,1" \
  -fill white -draw "circle 8,8 8,5" -depth 8 -strip colour-hint.png
