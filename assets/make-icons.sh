#!/usr/bin/env bash
# Renders the icon's PNG sizes and the Windows .ico from quorvane.svg, and
# the picture's bitmaps for the Windows window (96 and 192 dots per inch)
# from player.svg. Run it after changing a drawing; it needs librsvg2-bin,
# icoutils and imagemagick.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" quorvane.svg -o "quorvane-$size.png"
done
icotool -c -o quorvane.ico quorvane-16.png quorvane-32.png quorvane-48.png -r quorvane-256.png

# 256 colours, uncompressed: what Windows loads into a bitmap section.
for dpi in 96 192; do
  scale=$((dpi / 96))
  rsvg-convert -w $((102 * scale)) -h $((138 * scale)) player.svg |
    convert png:- -background '#D8E4F8' -flatten -colors 256 -type Palette -compress None \
      "BMP3:player-${dpi}dpi.bmp"
done
