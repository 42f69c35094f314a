#!/usr/bin/env bash
# Draws the programs' bitmaps and icons with ImageMagick: simple abstract print-head and
# ink-drop pictures. The results are committed; run again only to change the artwork.
set -euo pipefail
cd "$(dirname "$0")/.."
ART=programs/common/art
mkdir -p "$ART"

# Resource bitmaps: 24-bit, uncompressed, as the resource compiler reads them.
save_bmp() {  # save_bmp OUT convert-args...
  local out=$1; shift
  convert "$@" -alpha off -type TrueColor -depth 8 "BMP3:$out"
}

CYAN='#00a0e0'; MAGENTA_INK='#d0217e'; YELLOW='#f0c000'; BLACK_INK='#303030'
KEY='#ff00ff'  # transparent colour of strips

# drop CX CY R: an ink drop pointing up, as -draw primitives
drop() {
  local cx=$1 cy=$2 r=$3
  echo "circle $cx,$cy $((cx + r)),$cy polygon $((cx - r)),$((cy - r / 3)) $cx,$((cy - 2 * r - r / 2)) $((cx + r)),$((cy - r / 3))"
}

# --- header 600 x 70: light band, print head with four drops low on the right -------------
# The head sits below y 32 so that a page selector over the right half (up to y 30) lies on
# plain band.
save_bmp "$ART/header.bmp" \
  -size 70x600 gradient:'#ffffff'-'#d6e6f4' -rotate -90 \
  -fill '#b8c4d0' -draw "rectangle 430,37 598,38" \
  -fill '#8a96a3' -draw "roundrectangle 462,33 578,45 4,4" \
  -fill '#5d6873' -draw "rectangle 470,45 570,48" \
  -fill "$CYAN" -draw "$(drop 482 58 3)" \
  -fill "$MAGENTA_INK" -draw "$(drop 506 62 3)" \
  -fill "$YELLOW" -draw "$(drop 530 57 3)" \
  -fill "$BLACK_INK" -draw "$(drop 554 61 3)" \
  -fill '#3c78b4' -draw "rectangle 0,66 599,69"

# --- page icons: ten 34 x 34 cells on the transparent colour ---------------------------------
cells=()
cell() {  # cell COLOUR DRAW...
  local colour=$1; shift
  local file; file=$(mktemp --suffix=.png)
  convert -size 34x34 "xc:$KEY" +antialias -fill "$colour" \
    -draw "${CELL_SHAPE:-roundrectangle 1,1 32,32 6,6}" -fill white "$@" "$file"
  cells+=("$file")
}
# Trevalo's pages 1 to 3: its title starts 24 pixels right of the icon's corner, so these keep
# to the cell's left 23 columns.
narrow_cell() { CELL_SHAPE="roundrectangle 1,5 22,28 5,5" cell "$@"; }
cell '#607080' -draw "rectangle 7,12 26,22" -draw "rectangle 11,6 22,12" -draw "rectangle 11,22 22,28"
narrow_cell '#3c8c50' -draw "circle 8,17 8,12" -draw "rectangle 8,12 17,22"
narrow_cell "$CYAN" -draw "$(drop 11 21 5)"
narrow_cell '#3c78b4' -draw "rectangle 5,10 7,15" -draw "rectangle 10,10 12,15" \
  -draw "rectangle 15,10 17,15" -draw "rectangle 7,19 9,24" -draw "rectangle 12,19 14,24" \
  -draw "rectangle 17,19 19,24"
cell '#8c5ab4' -draw "circle 17,17 17,8"
cell '#b45a5a' -draw "rectangle 8,8 26,26"
cell '#5ab4aa' -draw "polygon 17,6 28,28 6,28"
cell "$MAGENTA_INK" -draw "rectangle 10,10 24,24" -draw "rectangle 6,12 8,14" -draw "rectangle 6,20 8,22" \
  -draw "rectangle 26,12 28,14" -draw "rectangle 26,20 28,22" -draw "rectangle 12,6 14,8" \
  -draw "rectangle 20,6 22,8" -draw "rectangle 12,26 14,28" -draw "rectangle 20,26 22,28"
cell '#a0a040' -draw "rectangle 8,15 26,19" -draw "rectangle 15,8 19,26"
cell '#707070' -draw "circle 11,17 11,14" -draw "circle 17,17 17,14" -draw "circle 23,17 23,14"
save_bmp "$ART/page_icons.bmp" "${cells[@]}" +append
rm -f "${cells[@]}"

# --- busy picture: two 32 x 32 frames of a drop leaving the head ----------------------------
frame() {  # frame OUT DROP_Y
  convert -size 32x32 "xc:$KEY" +antialias -fill '#8a96a3' -draw "rectangle 4,2 27,9" \
    -fill '#5d6873' -draw "rectangle 8,9 23,11" -fill "$CYAN" -draw "$(drop 16 "$2" 4)" "$1"
}
f0=$(mktemp --suffix=.png); f1=$(mktemp --suffix=.png)
frame "$f0" 19; frame "$f1" 26
save_bmp "$ART/busy.bmp" "$f0" "$f1" +append
rm -f "$f0" "$f1"

# --- button pictures 32 x 32 on the button face ------------------------------------------------
FACE='#f0f0f0'
save_bmp "$ART/nozzle_check.bmp" -size 32x32 "xc:$FACE" \
  -fill "$CYAN" -draw "rectangle 3,4 5,12" -draw "rectangle 9,6 11,14" \
  -fill "$MAGENTA_INK" -draw "rectangle 15,4 17,12" -draw "rectangle 21,6 23,14" \
  -fill "$YELLOW" -draw "rectangle 3,18 5,26" -draw "rectangle 9,20 11,28" \
  -fill "$BLACK_INK" -draw "rectangle 15,18 17,26" -draw "rectangle 21,20 23,28" \
  -fill '#8a96a3' -draw "rectangle 27,2 29,29"
save_bmp "$ART/deep_cleaning.bmp" -size 32x32 "xc:$FACE" \
  -fill '#8a96a3' -draw "roundrectangle 4,3 27,11 3,3" \
  -fill "$CYAN" -draw "$(drop 10 25 4)" -fill "$BLACK_INK" -draw "$(drop 21 27 4)" \
  -stroke '#3c78b4' -strokewidth 2 -fill none -draw "arc 2,6 30,30 200,340"

# --- Trevalo's guide items: 39 x 39 pictures on white -----------------------------------------
save_bmp "$ART/guide_adjustment.bmp" -size 39x39 xc:white \
  -fill '#3c8c50' -draw "rectangle 6,4 32,34" -fill white -draw "rectangle 9,7 29,31" \
  -fill '#3c8c50' -draw "rectangle 12,10 26,12" -draw "rectangle 12,16 26,18" \
  -draw "rectangle 12,22 26,24" -fill '#b45a5a' -draw "polygon 33,12 38,19 33,26"
save_bmp "$ART/guide_cleaning.bmp" -size 39x39 xc:white \
  -fill '#8a96a3' -draw "roundrectangle 5,4 33,14 3,3" -fill '#5d6873' -draw "rectangle 9,14 29,17" \
  -fill "$CYAN" -draw "$(drop 12 30 4)" -draw "$(drop 26 30 4)" -fill "$YELLOW" -draw "$(drop 19 34 3)"
save_bmp "$ART/guide_nozzle_check.bmp" -size 39x39 xc:white \
  -fill "$CYAN" -draw "rectangle 5,5 8,16" -draw "rectangle 12,8 15,19" \
  -fill "$MAGENTA_INK" -draw "rectangle 19,5 22,16" -draw "rectangle 26,8 29,19" \
  -fill "$YELLOW" -draw "rectangle 5,22 8,33" -draw "rectangle 12,25 15,36" \
  -fill "$BLACK_INK" -draw "rectangle 19,22 22,33" -draw "rectangle 26,25 29,36"

# --- icon strip: twelve 16 x 16 images on the transparent colour ------------------------------
strip=()
for i in $(seq 0 11); do
  f=$(mktemp --suffix=.png)
  hue=$((i * 30))
  convert -size 16x16 "xc:$KEY" +antialias -fill "hsl($hue,60%,45%)" \
    -draw "roundrectangle 1,1 14,14 3,3" -fill white -draw "rectangle 5,$((3 + i % 6)) 10,$((8 + i % 6))" "$f"
  strip+=("$f")
done
save_bmp "$ART/icon_strip.bmp" "${strip[@]}" +append
rm -f "${strip[@]}"

# --- per program: About picture 128 x 128 and icon 16/32/48 ----------------------------------
program_art() {  # program_art NAME ACCENT
  local name=$1 accent=$2
  save_bmp "$ART/${name}_about.bmp" -size 128x128 xc:white \
    -fill none -stroke "$accent" -strokewidth 6 -draw "circle 64,64 64,8" -stroke none \
    -fill '#8a96a3' -draw "roundrectangle 30,30 98,50 6,6" \
    -fill '#5d6873' -draw "rectangle 38,50 90,55" \
    -fill "$CYAN" -draw "$(drop 44 74 5)" -fill "$MAGENTA_INK" -draw "$(drop 57 88 5)" \
    -fill "$YELLOW" -draw "$(drop 71 70 5)" -fill "$BLACK_INK" -draw "$(drop 84 84 5)"
  local png; png=$(mktemp --suffix=.png)
  convert -size 48x48 xc:none -fill "$accent" -draw "roundrectangle 1,1 46,46 9,9" \
    -fill white -draw "$(drop 24 32 10)" "$png"
  convert "$png" -define icon:auto-resize=48,32,16 "$ART/${name}.ico"
  rm -f "$png"
}
program_art kestrune '#1a8fd0'
program_art sunnabar '#c83c78'
program_art trevalo '#d89a00'

echo "artwork written to $ART"
