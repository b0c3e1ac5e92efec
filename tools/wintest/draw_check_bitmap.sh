#!/usr/bin/env bash
# Writes the bitmap resource of surface_check.exe: a 5x3 BMP3 file at 24 bits per pixel, its
# top row red and the two rows below it green, byte by byte (no image tool needed).
# Usage: draw_check_bitmap.sh OUTPUT.bmp
set -euo pipefail
out=${1:?usage: draw_check_bitmap.sh OUTPUT.bmp}

# le32 N, le16 N: N as little-endian bytes, written as printf escapes.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
    $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }

width=5 height=3
row_bytes=$(((width * 24 + 31) / 32 * 4))
data=$((row_bytes * height))

# One row: every pixel as blue, green, red, then zeros up to a multiple of 4 bytes.
row() {
    local i
    for ((i = 0; i < width; i++)); do printf '%s' "$1"; done
    for ((i = width * 3; i < row_bytes; i++)); do printf '\\x00'; done
}

escapes=$(
    # BITMAPFILEHEADER, then BITMAPINFOHEADER (no compression, no colour table).
    printf 'BM%s%s%s' "$(le32 $((54 + data)))" "$(le32 0)" "$(le32 54)"
    printf '%s%s%s%s%s' "$(le32 40)" "$(le32 $width)" "$(le32 $height)" "$(le16 1)" "$(le16 24)"
    printf '%s%s%s%s%s%s' "$(le32 0)" "$(le32 $data)" "$(le32 2835)" "$(le32 2835)" \
        "$(le32 0)" "$(le32 0)"
    # Rows bottom-up: two green, then the red top row.
    row '\x00\xff\x00'
    row '\x00\xff\x00'
    row '\x00\x00\xff'
)
printf '%b' "$escapes" >"$out"
