#!/usr/bin/env bash
# Renders the application icon's PNG sizes from desktop/icons/lyrabox.svg (needs
# rsvg-convert from librsvg2-bin). The PNGs are kept in the tree, so building does not
# need this; run it again after changing the drawing.
set -euo pipefail
icons=$(cd "$(dirname "$0")/../desktop/icons" && pwd)
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$icons/lyrabox.svg" -o "$icons/lyrabox-$size.png"
done
