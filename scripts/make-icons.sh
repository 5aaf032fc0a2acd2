#!/usr/bin/env bash
# Draws the PNG sizes of the program's icon from packaging/icons/tonalvane.svg into
# packaging/icons/<N>x<N>/tonalvane.png. Run it again after changing the SVG and commit the
# pictures: building and installing then need no drawing tool.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v rsvg-convert >/dev/null 2>&1; then
  echo "make-icons: rsvg-convert is missing (Debian package librsvg2-bin; scripts/install-deps.sh installs it)" >&2
  exit 1
fi
for size in 16 24 32 48 64 128 256; do
  mkdir -p "packaging/icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" packaging/icons/tonalvane.svg \
    -o "packaging/icons/${size}x${size}/tonalvane.png"
done
echo "make-icons: drew $(ls packaging/icons/*/tonalvane.png | wc -l) sizes"
