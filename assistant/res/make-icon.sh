#!/usr/bin/env bash
# Draws the application icon (a blue rounded tile with a white download arrow over a bar)
# and writes app.ico with 48, 32, 24 and 16 pixel images at 32 bits per pixel.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
    -fill '#007BCE' -draw 'roundrectangle 8,8 247,247 48,48' \
    -fill '#FCF2AD' -draw 'polygon 128,200 56,112 100,112 100,40 156,40 156,112 200,112' \
    -fill white -draw 'roundrectangle 48,212 207,230 8,8' \
    "$tmp/tile.png"
for s in 48 32 24 16; do
    convert "$tmp/tile.png" -resize ${s}x${s} -define png:color-type=6 "$tmp/$s.png"
done
convert "$tmp/48.png" "$tmp/32.png" "$tmp/24.png" "$tmp/16.png" app.ico
