#!/usr/bin/env bash
# Draws the program's bitmap resources from these lines, as uncompressed BMP3 files that every
# supported system loads: the progress marker (156) and its finished form (157), the header
# strip (158), the notice shown on Windows NT 4 in place of the Rapid Setup buttons (161), and
# the pointer next to the start button (163) with its mask (164).
# Usage: draw_bitmaps.sh OUTDIR
#
# Where they are drawn: the marker steps 5 pixels a second along y 415 (and along y 434 while a
# resumed run waits), so it is one 5 x 4 segment; the finished form covers the whole line at
# (0,415). The header strip sits at (200,15) under three lines of white text on black, so it is
# black where the text goes. The pointer blinks at (240/255,420), below and left of the start
# button, and points up and right at it; its mask is black where the arrow is and white
# elsewhere, and the arrow picture is black where the mask is white.
set -euo pipefail
out=${1:?usage: draw_bitmaps.sh OUTDIR}
# ImageMagick's own convert; /usr/local/bin may hold a stand-in without drawing.
convert=/usr/bin/convert
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
plain=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -x "$convert" ] || { echo "draw_bitmaps: $convert (ImageMagick) is missing" >&2; exit 1; }
for f in "$bold" "$plain"; do
    [ -r "$f" ] || { echo "draw_bitmaps: $f (fonts-dejavu-core) is missing" >&2; exit 1; }
done
mkdir -p "$out"

# 156: one lit segment with a dark gap on its right, so the markers read as an LED bar.
# segment TOP MIDDLE BOTTOM: sets seg to the convert arguments of one segment.
segment() {
    seg=(-size 5x4 xc:black -fill "$1" -draw 'rectangle 0,0 3,0' -fill "$2"
         -draw 'rectangle 0,1 3,2' -fill "$3" -draw 'rectangle 0,3 3,3')
}
segment '#b8f0ff' '#38c0f8' '#1a70b8'
"$convert" "${seg[@]}" -type TrueColor "BMP3:$out/progress.bmp"

# 157: the whole track in green: the row is done.
segment '#b8ffc8' '#3ad06a' '#168a3a'
"$convert" \( "${seg[@]}" -write mpr:seg +delete \) -size 640x4 tile:mpr:seg \
    -type TrueColor "BMP3:$out/progress_done.bmp"

# 158: black under the text, turning navy to the right, with circuit traces at the right end
# and a blue rim along the bottom.
"$convert" -size 440x50 xc:black \
    \( -size 50x190 gradient:'#000000-#0c2e66' -rotate -90 \) -geometry +250+0 -composite \
    \( -size 1x440 gradient:'#000000-#3c8cf0' -rotate -90 \) -geometry +0+49 -composite \
    \( -size 1x440 gradient:'#000000-#163c78' -rotate -90 \) -geometry +0+0 -composite \
    -fill none -stroke '#2a64b8' -strokewidth 1 \
    -draw 'polyline 318,12 352,12 364,22 439,22' \
    -draw 'polyline 344,37 378,37 388,29 439,29' \
    -draw 'polyline 372,6 404,6 412,14 439,14' \
    -stroke '#5aa8ff' -fill '#0c2e66' \
    -draw 'circle 318,12 320,12 circle 344,37 346,37 circle 372,6 374,6' \
    -stroke none -fill '#3c8cf0' -draw 'rectangle 414,33 434,45' \
    -fill '#0c2e66' -draw 'rectangle 416,35 432,43' \
    -alpha off -type TrueColor "BMP3:$out/header.bmp"

# 161: a dark card with an amber rim and a warning sign; its corners are black like the work
# area around it.
"$convert" -size 159x73 xc:black \
    -fill '#262c38' -stroke '#e0a030' -strokewidth 1 -draw 'roundrectangle 0.5,0.5 157.5,71.5 13,13' \
    -stroke none -fill '#f0b030' -draw 'polygon 17,5 29,25 5,25' \
    -fill '#262c38' -draw 'rectangle 16,11 18,19 rectangle 16,21 18,23' \
    -font "$bold" -pointsize 10 -fill '#ffd060' -annotate +36+18 'Windows NT 4.0' \
    -font "$plain" -pointsize 9 -fill '#e8ecf4' \
    -annotate +8+37 'Rapid Setup is not available.' \
    -annotate +8+50 'Please install the drivers' \
    -annotate +8+63 'one by one.' \
    -alpha off -type TrueColor "BMP3:$out/nt4_notice.bmp"

# 163 and 164: a yellow arrow pointing up and right, and its mask.
"$convert" \( -size 52x35 xc:none -fill '#ffd21e' -stroke '#5a2a00' -strokewidth 1.5 \
        -draw 'translate 5,30 rotate -32 polygon 0,-4.5 29,-4.5 29,-12 50,0 29,12 29,4.5 0,4.5' \
        -stroke none -fill 'rgba(255,255,255,0.45)' \
        -draw 'translate 5,30 rotate -32 polygon 2,-3 30,-3 30,-8 44,-1 2,-1' \) \
    -write mpr:arrow +delete \
    \( mpr:arrow -alpha extract -threshold 50% -write mpr:cut +delete \) \
    \( mpr:arrow -background black -alpha remove -alpha off mpr:cut \
       -compose Multiply -composite +compose -type TrueColor -write "BMP3:$out/pointer.bmp" +delete \) \
    mpr:cut -negate -type TrueColor "BMP3:$out/pointer_mask.bmp"
