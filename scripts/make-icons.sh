#!/usr/bin/env bash
# Renders the icon's PNG sizes from dist/icons/yomu.svg with rsvg-convert
# (Debian package librsvg2-bin). The PNGs are committed; run this after
# changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"
for size in 64 128; do
  rsvg-convert --width "$size" --height "$size" --output "yomu-$size.png" yomu.svg
done
