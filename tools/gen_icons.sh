#!/usr/bin/env bash
# Renders the program's icon from its one drawing (resources/icons/hicolor/scalable/apps/
# pivex.svg) into the PNG sizes of the hicolor theme. The PNGs are committed; run this again
# after changing the drawing. Needs rsvg-convert (librsvg2-bin, installed by `make deps`).
set -euo pipefail
cd "$(dirname "$0")/../resources/icons/hicolor"
for size in 16 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" --format png scalable/apps/pivex.svg \
        --output "${size}x${size}/apps/pivex.png"
done
