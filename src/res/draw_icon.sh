#!/usr/bin/env bash
# Draws the program icon (resource 137) from these lines: a CD with a "T" on a navy
# tile, at 32x32 and 16x16, in 16 colours, so every supported system can show it.
# Usage: draw_icon.sh OUTPUT.ico
set -euo pipefail
out=${1:?usage: draw_icon.sh OUTPUT.ico}
# ImageMagick's own convert; /usr/local/bin may hold a stand-in without drawing.
convert=/usr/bin/convert
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[ -x "$convert" ] || { echo "draw_icon: $convert (ImageMagick) is missing" >&2; exit 1; }
[ -r "$font" ] || { echo "draw_icon: $font (fonts-dejavu-core) is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 32x32: a navy tile, a silver CD with its hole, a yellow "T" in front.
"$convert" -size 32x32 xc:none \
    -fill '#000080' -draw 'roundrectangle 0,0 31,31 5,5' \
    -fill '#C0C0C0' -draw 'circle 16,16 16,3' \
    -fill '#000080' -draw 'circle 16,16 16,13' \
    -font "$font" -pointsize 22 -fill '#FFFF00' -stroke '#000000' -strokewidth 1 \
    -gravity center -annotate +0+1 'T' \
    -background none -alpha on -colors 15 "$work/icon32.png"

# 16x16: the tile and the letter only; a CD would be a blur at this size.
"$convert" -size 16x16 xc:none \
    -fill '#000080' -draw 'roundrectangle 0,0 15,15 3,3' \
    -font "$font" -pointsize 13 -fill '#FFFF00' \
    -gravity center -annotate +0+0 'T' \
    -background none -alpha on -colors 15 "$work/icon16.png"

# The mask of an icon is one bit a pixel: edge pixels are either in or out.
"$convert" "$work/icon32.png" "$work/icon16.png" -channel A -threshold 50% +channel \
    -type PaletteAlpha -colors 16 "$out"
