#!/usr/bin/env bash
# Draws Trevalo's standard sample picture with ImageMagick: a 3060 x 425 24-bit bitmap of grey
# ramp, ink-colour bars, fine line pairs and a ruler, so that a feed step shows as a break in the
# lines between two copies. The result is committed; run again only to change the picture.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=install/Trevalo/Settings/Sample.bmp
WIDTH=3060
HEIGHT=425
mkdir -p "$(dirname "$OUT")"

CYAN='#00a0e0'; MAGENTA_INK='#d0217e'; YELLOW='#f0c000'; BLACK_INK='#303030'

# Ink bars, 60 pixels each, rows 110 to 219.
bars=""
colours=("$CYAN" "$MAGENTA_INK" "$YELLOW" "$BLACK_INK")
for ((x = 0, i = 0; x < WIDTH; x += 60, i++)); do
  bars+=" fill ${colours[i % 4]} rectangle $x,110 $((x + 59)),219"
done

# Line pairs of widening pitch, rows 230 to 309: 1, 2, 3 and 4 pixels, each over a quarter.
lines="fill black"
quarter=$((WIDTH / 4))
for p in 1 2 3 4; do
  start=$(((p - 1) * quarter))
  for ((x = start; x < start + quarter; x += 2 * p)); do
    lines+=" rectangle $x,230 $((x + p - 1)),309"
  done
done

# Ruler along the bottom: a tick every 10 pixels, longer every 50 and 100.
ruler="fill black rectangle 0,415 $((WIDTH - 1)),416"
for ((x = 0; x < WIDTH; x += 10)); do
  if ((x % 100 == 0)); then top=340; elif ((x % 50 == 0)); then top=370; else top=395; fi
  ruler+=" rectangle $x,$top $((x + 1)),414"
done

# Grey ramp from black to white along the top 100 rows.
convert -size "${WIDTH}x${HEIGHT}" xc:white \
  \( -size "${WIDTH}x100" -define gradient:direction=East gradient:'#000000'-'#ffffff' \) \
  -geometry +0+0 -composite \
  -draw "$bars" -draw "$lines" -draw "$ruler" \
  -alpha off -type TrueColor -depth 8 "BMP3:$OUT"
echo "$OUT: $(identify -format '%wx%h %[bit-depth]-bit %[type]' "$OUT")"
