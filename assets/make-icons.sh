#!/usr/bin/env bash
# Renders the icon's PNG sizes and the Windows .ico from quorvane.svg. Run it
# after changing the drawing; it needs librsvg2-bin and icoutils.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" quorvane.svg -o "quorvane-$size.png"
done
icotool -c -o quorvane.ico quorvane-16.png quorvane-32.png quorvane-48.png -r quorvane-256.png
