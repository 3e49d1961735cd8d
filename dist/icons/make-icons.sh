#!/bin/sh
# Renders the PNG icons from the SVG beside this script (needs rsvg-convert,
# Debian package librsvg2-bin). The PNGs are committed, so building the game
# never needs this; run it again after changing the SVG.
set -eu
cd "$(dirname "$0")"
for size in 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" -o "org.quadrovolt.Quadrovolt-$size.png" org.quadrovolt.Quadrovolt.svg
done
